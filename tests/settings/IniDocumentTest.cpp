#include "settings/IniDocument.h"

#include <gtest/gtest.h>

using tarvel::settings::IniDocument;
using namespace std::string_literals;

namespace {

IniDocument param(std::string text) {
    return IniDocument(std::move(text), "Param");
}

} // namespace

TEST(IniDocument, ReadsHandWrittenFileWithOtherSectionsAndOddSpacing) {
    const auto doc = param("; made by hand\n"
                           "[Other]\r\nN=99\r\n"
                           "  [ param ]  \n"
                           "   n   =  16  \r\n"
                           "; TXT1=commented\n"
                           "#TXT2=commented\n"
                           "no equals sign\n"
                           "N=17\n"
                           "Empty=\n"
                           "\t\n"
                           "[Tail]\n"
                           "Tail=1");
    EXPECT_EQ(doc.value("N"), "16"); // the first of two wins, in any letter case
    EXPECT_EQ(doc.value("EMPTY"), "");
    EXPECT_EQ(doc.value("TXT1"), std::nullopt);
    EXPECT_EQ(doc.value("TXT2"), std::nullopt);
    EXPECT_EQ(doc.value("no equals sign"), std::nullopt);
    EXPECT_EQ(doc.value("Tail"), std::nullopt);
}

TEST(IniDocument, RecognisesSectionBehindByteOrderMarkAndCutsValueAtNul) {
    const auto doc = param("\xEF\xBB\xBF[Param]\r\nTXT1= A\0B \r\nid=2\r\n"s);
    EXPECT_EQ(doc.value("TXT1"), "A");
    EXPECT_EQ(doc.value("id"), "2");
}

TEST(IniDocument, ReplacesKeyLineInPlaceKeepingEveryOtherByte) {
    const std::string head = "[Other]\nx = 1 \n\n[PARAM]\n  Freq = 5\n";
    const std::string tail = "; note\r\nN=16\n\n[Last]\r\nk=v";
    auto doc = param(head + "  fRRX =  30000\n" + tail);
    doc.set("frrx", "31000");
    EXPECT_EQ(doc.text(), head + "fRRX=31000\r\n" + tail);
}

TEST(IniDocument, AppendsNewKeyAfterLastKeyOfSection) {
    auto doc = param("[Param]\r\nN=16\r\n\r\n; about Other\r\n[Other]\r\nN=1\r\n");
    doc.set("Nrx", "32");
    EXPECT_EQ(doc.text(), "[Param]\r\nN=16\r\nNrx=32\r\n\r\n; about Other\r\n[Other]\r\nN=1\r\n");

    auto unterminated = param("[Param]\nN=16");
    unterminated.set("Fp", "0");
    EXPECT_EQ(unterminated.text(), "[Param]\nN=16\r\nFp=0\r\n");
}

TEST(IniDocument, CreatesSectionAtEndWhenMissing) {
    auto empty = param("");
    empty.set("iPr", "3");
    EXPECT_EQ(empty.text(), "[Param]\r\niPr=3\r\n");

    auto other = param("[Other]\r\nk=v");
    other.set("iPr", "3");
    EXPECT_EQ(other.text(), "[Other]\r\nk=v\r\n\r\n[Param]\r\niPr=3\r\n");
}

TEST(IniDocument, WrittenValueCannotBreakTheLineStructure) {
    auto doc = param("[Param]\r\nTXT2=B\r\n");
    doc.set("TXT1", "CQ\r\n[Other]\nX=1\0hidden"s);
    EXPECT_EQ(doc.text(), "[Param]\r\nTXT2=B\r\nTXT1=CQ  [Other] X=1\r\n");
    EXPECT_EQ(doc.value("TXT2"), "B");
}

TEST(IniDocument, RefusesKeysThatAreNotPlainNames) {
    for (const char* key : {"", " N", "N ", "a=b", "[Param]", ";x", "a\nb"})
        EXPECT_FALSE(IniDocument::isPlainKey(key)) << key;
    EXPECT_TRUE(IniDocument::isPlainKey("01x18"));
}
