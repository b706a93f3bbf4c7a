#include "platform/Cp1251.h"

#include <QString>
#include <gtest/gtest.h>

namespace tarvel::platform {
namespace {

TEST(Cp1251, EveryDefinedByteSurvivesTheRoundTripThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp1251ToUtf8(byte);
        EXPECT_TRUE(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).isValidUtf16()) << b;
        EXPECT_EQ(utf8ToCp1251(utf8), byte) << "byte " << b;
    }
}

TEST(Cp1251, MapsLandmarkBytesToTheirCharacters) {
    EXPECT_EQ(cp1251ToUtf8("\xC0\xDF\xE0\xFF"), "АЯая");
    EXPECT_EQ(cp1251ToUtf8("\xA8\xB8"), "Ёё");
    EXPECT_EQ(cp1251ToUtf8("\xB9\x88\x96"), "№€–");
    EXPECT_EQ(cp1251ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(cp1251ToUtf8("\x98"), "\uFFFD"); // the one undefined byte
    EXPECT_EQ(utf8ToCp1251("\uFFFD"), "");
}

// Left out rather than turned into '?', which a message field would key as the Morse question mark.
TEST(Cp1251, CharactersOutsideTheCodePageAreLeftOut) {
    EXPECT_EQ(utf8ToCp1251("a日b"), "ab");
    EXPECT_EQ(utf8ToCp1251("x\U0001F600y"), "xy");
    EXPECT_EQ(utf8ToCp1251("CQ é?"), "CQ ?");
}

TEST(Cp1251, InvalidUtf8CostsOneQuestionMarkPerBadByteAndResynchronises) {
    EXPECT_EQ(utf8ToCp1251("\x80"
                           "A"),
              "?A"); // stray continuation byte
    EXPECT_EQ(utf8ToCp1251("\xFF"
                           "A"),
              "?A");                        // never a lead byte
    EXPECT_EQ(utf8ToCp1251("A\xD0"), "A?"); // cut at the end
    EXPECT_EQ(utf8ToCp1251("\xE2\x82"
                           "A"),
              "??A"); // cut in the middle
    EXPECT_EQ(utf8ToCp1251("\xD0"
                           "Б"),
              "?\xC1");                                  // lead byte followed by a new character
    EXPECT_EQ(utf8ToCp1251("\xC1\x81"), "??");           // overlong 'A'
    EXPECT_EQ(utf8ToCp1251("\xC0\xBC"), "??");           // overlong '<'
    EXPECT_EQ(utf8ToCp1251("\xE0\x81\x81"), "???");      // overlong 'A' in three bytes
    EXPECT_EQ(utf8ToCp1251("\xED\xA0\x80"), "???");      // a surrogate
    EXPECT_EQ(utf8ToCp1251("\xF4\x90\x80\x80"), "????"); // beyond U+10FFFF
}

TEST(Cp1251, UpperCasesLatinAndCyrillicLetters) {
    EXPECT_EQ(cp1251ToUpper("abc xyz 09?@"), "ABC XYZ 09?@");
    EXPECT_EQ(utf8ToCp1251("АБВЁЯ"), cp1251ToUpper(utf8ToCp1251("абвёя")));
    EXPECT_EQ(cp1251ToUpper(utf8ToCp1251("ЖЁ")), utf8ToCp1251("ЖЁ"));
}

// Qt's case mapping is an independent reference: every byte upper-cases as Unicode says, unless the
// upper-case letter has no Windows-1251 code (then the byte stays as it is).
TEST(Cp1251, UpperCaseAgreesWithUnicodeForEveryByte) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x98)
            continue;
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = cp1251ToUtf8(byte);
        const QString upper = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).toUpper();
        const QByteArray upperUtf8 = upper.toUtf8();
        const std::string expected = utf8ToCp1251(upperUtf8.toStdString());
        if (expected.size() == 1)
            EXPECT_EQ(cp1251ToUpper(byte), expected) << "byte " << b;
        else
            EXPECT_EQ(cp1251ToUpper(byte), byte) << "byte " << b;
    }
}

} // namespace
} // namespace tarvel::platform
