#include "keyer/MessageCompiler.h"

#include "keyer/MorseTable.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace tarvel::keyer {
namespace {

// International and Russian Morse written down independently of the program's table, as dots and
// dashes; the program's code string is the echo character, the elements joined by "," and a closing "=".
std::string codeStringOf(unsigned char echo, const std::string& morse) {
    std::string s(1, static_cast<char>(echo));
    for (std::size_t i = 0; i < morse.size(); ++i) {
        if (i > 0)
            s += ',';
        s += morse[i] == '.' ? '*' : '-';
    }
    return s + '=';
}

const std::map<unsigned char, std::string> kInternational = {
    {'A', ".-"},     {'B', "-..."},  {'C', "-.-."},  {'D', "-.."},   {'E', "."},     {'F', "..-."},
    {'G', "--."},    {'H', "...."},  {'I', ".."},    {'J', ".---"},  {'K', "-.-"},   {'L', ".-.."},
    {'M', "--"},     {'N', "-."},    {'O', "---"},   {'P', ".--."},  {'Q', "--.-"},  {'R', ".-."},
    {'S', "..."},    {'T', "-"},     {'U', "..-"},   {'V', "...-"},  {'W', ".--"},   {'X', "-..-"},
    {'Y', "-.--"},   {'Z', "--.."},  {'0', "-----"}, {'1', ".----"}, {'2', "..---"}, {'3', "...--"},
    {'4', "....-"},  {'5', "....."}, {'6', "-...."}, {'7', "--..."}, {'8', "---.."}, {'9', "----."},
    {'?', "..--.."}, {'/', "-..-."},
};

// Windows-1251 capitals: 0xC0 is А ... 0xDF is Я; Ъ (0xDA) has no sign of its own here.
const std::map<unsigned char, std::string> kRussian = {
    {0xC0, ".-"},   {0xC1, "-..."}, {0xC2, ".--"},  {0xC3, "--."},  {0xC4, "-.."},   {0xC5, "."},
    {0xC6, "...-"}, {0xC7, "--.."}, {0xC8, ".."},   {0xC9, ".---"}, {0xCA, "-.-"},   {0xCB, ".-.."},
    {0xCC, "--"},   {0xCD, "-."},   {0xCE, "---"},  {0xCF, ".--."}, {0xD0, ".-."},   {0xD1, "..."},
    {0xD2, "-"},    {0xD3, "..-"},  {0xD4, "..-."}, {0xD5, "...."}, {0xD6, "-.-."},  {0xD7, "---."},
    {0xD8, "----"}, {0xD9, "--.-"}, {0xDB, "-.--"}, {0xDC, "-..-"}, {0xDD, "..-.."}, {0xDE, "..--"},
    {0xDF, ".-.-"},
};

TEST(MorseTable, LettersDigitsAndSignsMatchIndependentMorse) {
    for (const auto* table : {&kInternational, &kRussian})
        for (const auto& [code, morse] : *table) {
            const auto entry = MorseTable::lookup(code);
            ASSERT_TRUE(entry) << int(code);
            EXPECT_EQ(*entry, codeStringOf(code, morse)) << int(code);
        }
}

TEST(MorseTable, SpecialEntriesAndNothingElse) {
    // "@" is the end-of-message sign, not the International commercial at.
    const std::map<unsigned char, std::string> special = {{' ', " ="}, {'#', "#,"},   {'>', ">,"},
                                                          {'^', "^"},  {'a', "*,-="}, {'@', "@*,-,*,-,*="}};
    for (const auto& [code, s] : special)
        EXPECT_EQ(MorseTable::lookup(code).value_or("none"), s) << int(code);

    EXPECT_EQ(MorseTable::size(), 75u);
    EXPECT_EQ(kInternational.size() + kRussian.size() + special.size(), 75u);
    for (int code = 0; code < 256; ++code) {
        const auto c = static_cast<unsigned char>(code);
        const bool listed = kInternational.count(c) || kRussian.count(c) || special.count(c);
        EXPECT_EQ(MorseTable::lookup(c).has_value(), listed) << code;
    }
}

TEST(CompileMessage, Examples) {
    const struct {
        std::string message, sequence;
    } cases[] = {
        {"", "<"},
        {"E", "<E*="},
        {"E E", "<E*= =E*="},
        {"SOS?", "<S*,*,*=O-,-,-=S*,*,*=?*,*,-,-,*,*="},
        {"\xCC\xC8\xD0", "<\xCC-,-=\xC8*,*=\xD0*,-,*="}, // МИР
        {"\xDA\xA8!<b", "<"},                            // Ъ, Ё, "!", "<", lowercase b
        {"aE", "<*,-=E*="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompileMessage(c.message), c.sequence) << c.message;
}

TEST(CompileMessage, TraceHasOneLinePerCharacterAndFlagsUnknownOnes) {
    std::vector<std::string> trace;
    EXPECT_EQ(CompileMessage("A\xDA\xC0", &trace), "<A*,-=\xC0*,-=");
    const std::vector<std::string> expected = {"\" \"65", "\" \"218",
                                               "\xFD\xF2\xEE \xF7\xF2\xEE-\xF2\xEE"
                                               "218",
                                               "\" \"192"};
    EXPECT_EQ(trace, expected);
}

TEST(CompileMessage, IdentificationFramesTheMessage) {
    const std::string text = WrapWithIdentification("E T", true, "K", true, "K");
    EXPECT_EQ(text, ">K^E T#K^");
    EXPECT_EQ(CompileMessage(text), "<>,K-,*,-=^E*= =T-=#,K-,*,-=^");

    // An empty end identification still closes with its markers.
    EXPECT_EQ(CompileMessage(WrapWithIdentification("E", false, "K", true, "")), "<E*=#,^");
    EXPECT_EQ(WrapWithIdentification("E", false, "K", false, "K"), "E");
}

} // namespace
} // namespace tarvel::keyer
