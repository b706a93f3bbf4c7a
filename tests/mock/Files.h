#pragma once
// Reading back what the program wrote: a whole file as its bytes, empty when it is missing.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tarvel::mock {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace tarvel::mock
