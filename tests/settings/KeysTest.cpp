#include "settings/Keys.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>

using namespace tarvel::settings;

// The file matches key names without regard to case, so two entries that differ only in case, or a
// numbered key that meets a plain one ("freq" with 1 as "freq1"), would read and write one line.
TEST(Keys, EveryNameInTheFileBelongsToOneEntry) {
    std::map<std::string, int> owners;
    auto add = [&](std::string name, int entry) {
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        const auto [at, added] = owners.emplace(name, entry);
        EXPECT_TRUE(added || at->second == entry) << name;
    };
    int entry = 0;
    for (const auto& key : keys::all) {
        std::visit(
            [&](const auto* k) {
                if constexpr (requires { k->prefix; }) {
                    for (int n = k->first; n <= k->last; ++n)
                        add(k->name(n), entry);
                } else {
                    add(std::string(k->name), entry);
                }
            },
            key);
        ++entry;
    }
}
