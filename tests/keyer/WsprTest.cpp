#include "keyer/Wspr.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvel::keyer::wspr {
namespace {

// Every message sequence in the table, symbol for symbol as the reference encoder made it.
TEST(Wspr, MatchesTheReferenceSymbols) {
    std::ifstream table(TARVEL_WSPR_SYMBOLS);
    ASSERT_TRUE(table) << TARVEL_WSPR_SYMBOLS;
    std::vector<std::pair<std::string, std::vector<std::string>>> sequences;
    for (std::string line; std::getline(table, line);) {
        if (line.starts_with("> "))
            sequences.push_back({line.substr(2), {}});
        else if (!line.starts_with("#") && !sequences.empty())
            sequences.back().second.push_back(line.substr(line.find("| ") + 2));
    }
    ASSERT_GE(sequences.size(), 10u);
    for (const auto& [input, expected] : sequences) {
        SCOPED_TRACE(input);
        std::istringstream fields(input);
        std::string call, locator;
        int power = -1;
        fields >> call >> locator >> power;
        const Encoding encoding = encode(call, locator, power);
        EXPECT_EQ(encoding.refusal, "");
        ASSERT_EQ(encoding.messages.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            std::string symbols(encoding.messages[i].begin(), encoding.messages[i].end());
            for (char& s : symbols)
                s = static_cast<char>(s + '0');
            EXPECT_EQ(symbols, expected[i]) << "message " << i + 1;
        }
    }
    EXPECT_EQ(encode(" k1abc ", "\tfn42 ", 37).messages, encode("K1ABC", "FN42", 37).messages);
}

// Each problem is refused with a sentence naming it, and nothing is sent.
TEST(Wspr, RefusesWhatCannotBeSent) {
    const struct {
        const char *call, *locator;
        int power;
        const char* named;
    } cases[] = {{" ", "FN42", 37, "no callsign"},
                 {"K1ABCDE", "FN42", 37, "\"K1ABCDE\""},
                 {"KABC", "FN42", 37, "\"KABC\""},
                 {"K1A2", "FN42", 37, "\"K1A2\""},
                 {"K1\001ABC", "FN42", 37, "\"K1?ABC\""},
                 {"PJ4/K1ABC/P", "FN42", 37, "more than one"},
                 {"VP2E/K1ABC", "FN42", 37, "prefix \"VP2E\""},
                 {"PJ4/K1ABCDE", "FN42", 37, "\"K1ABCDE\""},
                 {"K1ABC/05", "FN42", 37, "received as \"/V\""},
                 {"K1ABC/MM", "FN42", 37, "suffix \"/MM\""},
                 {"K1ABC", "", 37, "no locator"},
                 {"K1ABC", "FN4", 37, "\"FN4\""},
                 {"K1ABC", "SN42", 37, "\"SN42\""},
                 {"K1ABC", "FN42AY", 37, "\"FN42AY\""},
                 {"K1ABC", "FN42", 38, "38 dBm"},
                 {"K1ABC", "FN42", -3, "-3 dBm"},
                 {"K1ABC", "FN42", 63, "63 dBm"}};
    for (const auto& c : cases) {
        const Encoding encoding = encode(c.call, c.locator, c.power);
        EXPECT_NE(encoding.refusal.find(c.named), std::string::npos) << c.call << ": " << encoding.refusal;
        EXPECT_TRUE(encoding.messages.empty()) << c.call;
    }
    int allowed = 0;
    for (int power = -10; power <= 70; ++power)
        allowed += validPower(power) ? 1 : 0;
    EXPECT_EQ(allowed, 19); // the table sends 0 to 60 dBm, the cases refuse their neighbours
}

} // namespace
} // namespace tarvel::keyer::wspr
