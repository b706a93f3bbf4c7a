#include "settings/IniFile.h"

#include "platform/Failure.h"
#include "platform/Locale.h"

#include <climits>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tarvel::platform::Failure;
using tarvel::settings::IniFile;
using namespace std::string_literals;

namespace {

// Runs the rest of a test as an ordinary user, so that permissions bind even when the tests run as root;
// the test's folder is handed to that user first.
class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const fs::path& dir) {
        if (::geteuid() != 0)
            return;
        constexpr uid_t kNobody = 65534;
        EXPECT_EQ(::lchown(dir.c_str(), kNobody, kNobody), 0);
        for (const auto& entry : fs::directory_iterator(dir))
            EXPECT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
        active_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
        EXPECT_TRUE(active_);
    }
    ~AsOrdinaryUser() {
        if (active_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            ADD_FAILURE() << "root rights did not come back";
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool active_ = false;
};

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::current_path() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = (dir / "tarvel.ini").string();
    }
    void TearDown() override {
        tarvel::platform::setDecimalSeparator(std::nullopt);
        fs::permissions(dir, fs::perms::owner_all);
    }

    void put(const std::string& bytes) const { std::ofstream(path, std::ios::binary) << bytes; }
    std::string bytes() const {
        std::ostringstream out;
        out << std::ifstream(path, std::ios::binary).rdbuf();
        return out.str();
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    static void expectRefused(IniFile& ini) {
        try {
            ini.writeInteger("N", 16);
            FAIL() << "write to " << ini.path() << " was not refused";
        } catch (const Failure& failure) {
            EXPECT_EQ(std::string(failure.what()), "Unable to write to " + ini.path());
        }
    }

    fs::path dir;
    std::string path;
};

} // namespace

TEST_F(IniFileTest, MissingFileGivesDefaultsAndFirstWriteCreatesCrLfFile) {
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("N", 16), 16);
    EXPECT_EQ(ini.readReal("corr", 1.0), 1.0);
    EXPECT_EQ(ini.readText("TXT1", "DEFAULT"), "DEFAULT");
    EXPECT_FALSE(fs::exists(path));

    ini.writeInteger("iPr", 3);
    ini.writeText("TXT1", "CQ \xD0\xC0\xC4\xC8\xCE"); // Windows-1251 bytes go in unchanged
    ini.writeInteger("N", -5);
    ini.writeInteger("iPr", 1);
    EXPECT_EQ(bytes(), "[Param]\r\niPr=1\r\nTXT1=CQ \xD0\xC0\xC4\xC8\xCE\r\nN=-5\r\n");
    EXPECT_EQ(ini.readInteger("n", 0), -5);
    EXPECT_EQ(entries(), 1u); // no temporary file stays behind
}

TEST_F(IniFileTest, IntegerTextsDecimalHexadecimalAndGarbage) {
    const std::vector<std::pair<std::string, int>> cases = {{"16", 16},
                                                            {" +16 ", 16},
                                                            {"-2147483648", INT_MIN},
                                                            {"2147483647", INT_MAX},
                                                            {"0x10", 16},
                                                            {"0X1f", 31},
                                                            {"0x0000000010", 16},
                                                            {"'0x10'", 16},
                                                            {"0xFFFFFFFF", -1},
                                                            {"0x80000000", INT_MIN},
                                                            {"0x100000000", 7},
                                                            {"0x", 7},
                                                            {"0x-1", 7},
                                                            {"0xG", 7},
                                                            {"x10", 7},
                                                            {"", 7},
                                                            {"abc", 7},
                                                            {"12abc", 7},
                                                            {"1.5", 7},
                                                            {"2147483648", 7},
                                                            {"99999999999999999999999999", 7}};
    std::string file = "[Param]\n";
    for (std::size_t i = 0; i < cases.size(); ++i)
        file += "k" + std::to_string(i) + "=" + cases[i].first + "\n";
    put(file);
    IniFile ini(path);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(ini.readInteger("k" + std::to_string(i), 7), cases[i].second) << cases[i].first;
}

TEST_F(IniFileTest, TextsAreTrimmedUnquotedAndCut) {
    const std::string huge(1 << 20, 'Z');
    put("[Param]\r\n"
        "a=   PLAIN TEXT   \r\n"
        "b=\"  KEEP BLANKS  \"\r\n"
        "c='SINGLE'\r\n"
        "d=\"MIXED'\r\n"
        "e=\"\r\n"
        "f=''\r\n"
        "g=" +
        huge +
        "\r\n"
        "h=\"" +
        huge +
        "\"\r\n"
        "i=AFTER\r\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readText("a", "x"), "PLAIN TEXT");
    EXPECT_EQ(ini.readText("b", "x"), "  KEEP BLANKS  ");
    EXPECT_EQ(ini.readText("c", "x"), "SINGLE");
    EXPECT_EQ(ini.readText("d", "x"), "\"MIXED'");
    EXPECT_EQ(ini.readText("e", "x"), "\"");
    EXPECT_EQ(ini.readText("f", "x"), "");
    EXPECT_EQ(ini.readText("g", "x"), std::string(2047, 'Z'));
    EXPECT_EQ(ini.readText("h", "x"), std::string(2047, 'Z'));
    EXPECT_EQ(ini.readText("i", "x"), "AFTER");
    EXPECT_EQ(ini.readInteger("g", 5), 5);
}

TEST_F(IniFileTest, SnapshotReadsAsTheFileDidWhenTaken) {
    const IniFile ini(path);
    EXPECT_EQ(ini.snapshot().readInteger("n", 7), 7); // no file yet
    put("[Other]\nn=1\n[Param]\nn=0x10\nt=' QUOTED '\n");
    const auto snapshot = ini.snapshot();
    put("[Param]\nn=2\n");
    EXPECT_EQ(snapshot.readInteger("n", 7), 16);
    EXPECT_EQ(snapshot.readText("t", "x"), " QUOTED ");
    EXPECT_EQ(snapshot.readText("missing", "x"), "x");
    EXPECT_EQ(ini.readInteger("n", 7), 2);
}

TEST_F(IniFileTest, CorrFollowsTheDecimalSeparator) {
    IniFile ini(path);
    tarvel::platform::setDecimalSeparator(',');
    ini.writeReal("corr", 1.0);
    EXPECT_EQ(bytes(), "[Param]\r\ncorr=1\r\n");
    ini.writeReal("corr", 1.000123456789012);
    EXPECT_EQ(bytes(), "[Param]\r\ncorr=1,00012345678901\r\n");
    EXPECT_DOUBLE_EQ(ini.readReal("corr", 1.0), 1.00012345678901);

    tarvel::platform::setDecimalSeparator('.');
    EXPECT_EQ(ini.readReal("corr", 1.0), 1.0); // the comma form does not convert here
    ini.writeReal("corr", 0.5);
    EXPECT_EQ(ini.readReal("corr", 1.0), 0.5);
    tarvel::platform::setDecimalSeparator(',');
    EXPECT_EQ(ini.readReal("corr", 1.0), 1.0);

    put("[Param]\r\ncorr=\r\nbad=1,2,3\r\n");
    EXPECT_EQ(ini.readReal("corr", 1.0), 1.0);
    EXPECT_EQ(ini.readReal("bad", 1.0), 1.0);
    EXPECT_EQ(ini.readReal("huge", 1.0), 1.0);
}

TEST_F(IniFileTest, WritesKeepForeignLinesByteForByte) {
    const std::string before = "\xEF\xBB\xBF[ Param ]\n"
                               "; keep me\n"
                               "  n =  16 \n"
                               "TXT1=\"OLD\"\n"
                               "\n"
                               "[Other]\n"
                               "N=1\r\n"
                               "junk\0line\n"s;
    put(before);
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("N", 0), 16);
    ini.writeInteger("N", 32);
    ini.writeText("TXT1", "NEW");
    ini.writeInteger("Dot", 2);
    EXPECT_EQ(bytes(), "\xEF\xBB\xBF[ Param ]\n"
                       "; keep me\n"
                       "n=32\r\n"
                       "TXT1=NEW\r\n"
                       "Dot=2\r\n"
                       "\n"
                       "[Other]\n"
                       "N=1\r\n"
                       "junk\0line\n"s);
}

TEST_F(IniFileTest, RefusedWritesThrowAndLeaveNothingBehind) {
    put("[Param]\r\nN=8\r\n");
    IniFile underFile(path + "/tarvel.ini"); // the parent is a regular file
    expectRefused(underFile);
    EXPECT_EQ(underFile.readInteger("N", 3), 3);

    IniFile directory(dir.string()); // the path names a directory
    expectRefused(directory);
    EXPECT_EQ(directory.readInteger("N", 3), 3);
    EXPECT_EQ(bytes(), "[Param]\r\nN=8\r\n");
    EXPECT_EQ(entries(), 1u);

    AsOrdinaryUser user(dir);
    IniFile readOnly(path);
    fs::permissions(path, fs::perms::owner_read);
    readOnly.writeInteger("N", 8); // what the file holds already: nothing to write, nothing refused
    expectRefused(readOnly);
    EXPECT_EQ(readOnly.readInteger("N", 3), 8);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(bytes(), "[Param]\r\nN=8\r\n");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(IniFileTest, FolderThatTakesNoNewFilesGetsTheFileWrittenInPlace) {
    put("[Param]\r\nN=8\r\nTXT1=A LONGER OLD TEXT\r\n");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, perms);
    const fs::path second = dir / "second.ini";
    fs::create_hard_link(path, second);

    AsOrdinaryUser user(dir);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    IniFile ini(path);
    ini.writeText("TXT1", "NEW"); // shorter than before: the old tail must go
    ini.writeInteger("N", 9);
    fs::permissions(dir, fs::perms::owner_all);

    EXPECT_EQ(bytes(), "[Param]\r\nN=9\r\nTXT1=NEW\r\n");
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_TRUE(fs::equivalent(path, second));
    EXPECT_EQ(fs::status(path).permissions(), perms);
    EXPECT_EQ(entries(), 2u);
}

TEST_F(IniFileTest, FifoAtThePathIsNeitherWaitedOnNorReplaced) {
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ::alarm(30); // an open that waits for a writer ends this program rather than hanging it
    IniFile ini(path);
    EXPECT_EQ(ini.readInteger("N", 16), 16);
    expectRefused(ini);
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(IniFileTest, ReplacementKeepsPermissionsAndSymbolicLink) {
    put("[Param]\r\nN=8\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = (dir / "link.ini").string();
    fs::create_symlink("tarvel.ini", link);

    IniFile ini(link);
    ini.writeInteger("N", 9);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(bytes(), "[Param]\r\nN=9\r\n");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), 2u);

    // A link that is not the user's own is not followed, for reading or writing.
    if (::lchown(link.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a link away";
    EXPECT_EQ(ini.readInteger("N", 3), 3);
    expectRefused(ini);
    EXPECT_EQ(bytes(), "[Param]\r\nN=9\r\n");
}
