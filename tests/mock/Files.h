#pragma once
// The files a test works with: a scratch settings file of its own, and reading back what the program
// wrote.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace tarvel::mock {

// A settings file named after the running test, removed first so that each run starts without one.
inline std::string scratchSettingsPath() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name() + ".ini";
    std::filesystem::remove(name);
    return name;
}

// A whole file as its bytes, empty when it is missing.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tarvel::mock
