#include "log/ActivityLog.h"

#include "mock/Files.h"
#include "mock/VirtualTime.h"
#include "platform/Failure.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using tarvel::log::ActivityLog;
using tarvel::mock::VirtualTime;
using tarvel::platform::Failure;

namespace {

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string failureText(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& f) {
        return f.what();
    }
    return "(no failure)";
}

// Caps the size of files this process may write, so writes fail the way they do on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

class ActivityLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::current_path() / "logXXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        dir_ = name;
        file_ = dir_ / "vfolog.txt";
    }
    void TearDown() override { fs::remove_all(dir_); }

    // 1 February 2026, 0:00:00
    VirtualTime clock_{{2026, 2, 1, 0, 0, 0, 0}};
    fs::path dir_;
    fs::path file_;
};

TEST_F(ActivityLogTest, EveryLineKindIsAppendedByteExactAfterEarlierContent) {
    const std::string earlier = "earlier line\r\nsecond\r\n";
    writeFile(file_, earlier);
    ActivityLog log(file_.string(), clock_);

    log.writeHeaderLine();
    clock_.advance(1000);
    ASSERT_TRUE(log.writeStartRecord(" CW", "00:01:05", "CQ \"TEST\" \xC0\xDF", 137500, 25));
    clock_.advance(65000);
    ASSERT_TRUE(log.writeEndRecord());
    clock_.advance(10 * 3600 * 1000);
    ASSERT_TRUE(log.writeStopRecord());
    clock_.advance((13 * 3600 + 58 * 60 + 53) * 1000); // 23:59:59
    log.writeDayChangeLine();
    clock_.advance(1000);
    log.writeDayChangeLine();

    EXPECT_EQ(tarvel::mock::readFile(file_),
              earlier + "--- 01.02.2026---------------------------------0:00:00\r\n"
                        "Start : 0:00:01    CW   00:01:05   \"CQ \"TEST\" \xC0\xDF\" 137500,25\r\n"
                        "  End : 0:01:06\r\n"
                        " Stop : 10:01:06   ------  \r\n"
                        "    01.02.2026---------------------------------23:59:59\r\n"
                        "    02.02.2026---------------------------------0:00:00\r\n");
}

TEST_F(ActivityLogTest, EnsureFileCreatesAMissingFileEmptyAndKeepsAnExistingOne) {
    ActivityLog log(file_.string(), clock_);
    ASSERT_TRUE(log.ensureFile());
    ASSERT_TRUE(fs::exists(file_));
    EXPECT_EQ(fs::file_size(file_), 0u);

    writeFile(file_, "kept\r\nno final end");
    EXPECT_TRUE(log.ensureFile());
    EXPECT_EQ(tarvel::mock::readFile(file_), "kept\r\nno final end");
}

TEST_F(ActivityLogTest, EnsureFileReportsFalseWithoutThrowingWhenNoFileCanBeHad) {
    fs::create_directory(file_);
    EXPECT_FALSE(ActivityLog(file_.string(), clock_).ensureFile());
    EXPECT_FALSE(ActivityLog((dir_ / "missing" / "vfolog.txt").string(), clock_).ensureFile());
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(ActivityLogTest, UnwritableLogSkipsRecordsSilentlyAndReportsHeaderAndDayChange) {
    fs::create_directory(file_); // a folder where the file should be
    ActivityLog inFolder(file_.string(), clock_);
    EXPECT_FALSE(inFolder.writeStartRecord(" CW", "00:00:10", "TEST", 1, 2));
    EXPECT_FALSE(inFolder.writeEndRecord());
    EXPECT_FALSE(inFolder.writeStopRecord());
    EXPECT_TRUE(fs::is_empty(file_));
    EXPECT_EQ(failureText([&] { inFolder.writeHeaderLine(); }), "I/O error 21: " + file_.string());
    EXPECT_EQ(failureText([&] { inFolder.writeDayChangeLine(); }), "I/O error 21: " + file_.string());

    const fs::path missing = dir_ / "missing" / "vfolog.txt";
    ActivityLog noFolder(missing.string(), clock_);
    EXPECT_FALSE(noFolder.writeEndRecord());
    EXPECT_EQ(failureText([&] { noFolder.writeHeaderLine(); }), "I/O error 2: " + missing.string());
    EXPECT_FALSE(fs::exists(missing.parent_path()));
}

TEST_F(ActivityLogTest, WriteCutShortLeavesTheFileAsItWas) {
    const std::string earlier = "0123456789\r\n";
    writeFile(file_, earlier);
    ActivityLog log(file_.string(), clock_);
    {
        // Room for part of a line only: the partial bytes must not stay behind.
        FileSizeLimit limit(earlier.size() + 10);
        EXPECT_EQ(failureText([&] { log.writeHeaderLine(); }), "I/O error 27: " + file_.string());
        EXPECT_FALSE(log.writeStartRecord(" CW", "00:00:10", "TEST", 137500, 0));
        EXPECT_FALSE(log.writeStopRecord());
    }
    EXPECT_EQ(tarvel::mock::readFile(file_), earlier);
    EXPECT_TRUE(log.writeEndRecord());
    EXPECT_EQ(tarvel::mock::readFile(file_), earlier + "  End : 0:00:00\r\n");
}

TEST_F(ActivityLogTest, ReadLinesSplitsOnEveryLineEnd) {
    ActivityLog log(file_.string(), clock_);
    EXPECT_TRUE(log.readLines().empty()); // missing file

    writeFile(file_, "");
    EXPECT_TRUE(log.readLines().empty());

    writeFile(file_, "a\r\nb\nc\rd");
    EXPECT_EQ(log.readLines(), (std::vector<std::string>{"a", "b", "c", "d"}));

    writeFile(file_, "a\r\n\r\n\xC0\r\r\n");
    EXPECT_EQ(log.readLines(), (std::vector<std::string>{"a", "", "\xC0", ""}));

    fs::remove(file_);
    fs::create_directory(file_);
    EXPECT_TRUE(log.readLines().empty());
}

TEST_F(ActivityLogTest, SaveReplacesTheContentExactlyAndKeepsPermissions) {
    writeFile(file_, "old content that is longer than the new one\r\n");
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ActivityLog log(file_.string(), clock_);

    // What the window holds after a refresh: the file's lines plus one empty line.
    log.save({"edited \"line\" \xC0", "", "last", ""});
    EXPECT_EQ(tarvel::mock::readFile(file_), "edited \"line\" \xC0\r\n\r\nlast\r\n\r\n");
    EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(log.readLines(), (std::vector<std::string>{"edited \"line\" \xC0", "", "last", ""}));

    // Later lines go after the saved ones.
    EXPECT_TRUE(log.writeEndRecord());
    EXPECT_EQ(log.readLines().back(), "  End : 0:00:00");

    log.save({});
    EXPECT_EQ(tarvel::mock::readFile(file_), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1); // no leftovers
}

TEST_F(ActivityLogTest, OnlyTheUsersOwnLinkIsFollowed) {
    const fs::path real = dir_ / "real.txt";
    writeFile(real, "old\r\n");
    fs::create_symlink(real, file_);
    ActivityLog log(file_.string(), clock_);
    log.save({"new"});
    EXPECT_TRUE(fs::is_symlink(file_));
    EXPECT_EQ(tarvel::mock::readFile(real), "new\r\n");

    // A link planted by someone else in a shared folder sends nothing anywhere.
    if (::lchown(file_.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a link away";
    EXPECT_FALSE(log.ensureFile());
    EXPECT_FALSE(log.writeEndRecord());
    EXPECT_EQ(failureText([&] { log.writeHeaderLine(); }), "I/O error 13: " + file_.string());
    EXPECT_TRUE(log.readLines().empty());
    EXPECT_EQ(failureText([&] { log.save({"planted"}); }), "I/O error 13: " + file_.string());
    EXPECT_EQ(tarvel::mock::readFile(real), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(file_));
}

TEST_F(ActivityLogTest, FifoAtTheNameFailsAtOnceInsteadOfWaiting) {
    ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
    ::alarm(30); // an open that waits for a partner ends this program rather than hanging it
    ActivityLog log(file_.string(), clock_);
    EXPECT_FALSE(log.ensureFile());
    EXPECT_FALSE(log.writeEndRecord());
    EXPECT_EQ(failureText([&] { log.writeDayChangeLine(); }), "I/O error 6: " + file_.string());
    EXPECT_TRUE(log.readLines().empty());
    EXPECT_EQ(failureText([&] { log.save({"x"}); }), "I/O error 6: " + file_.string());
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(file_));
}

TEST_F(ActivityLogTest, FailedSaveKeepsTheOldContent) {
    const std::string old = "old line\r\n";
    writeFile(file_, old);
    ActivityLog log(file_.string(), clock_);
    {
        FileSizeLimit limit(64);
        EXPECT_EQ(failureText([&] { log.save({std::string(100, 'x')}); }), "I/O error 27: " + file_.string());
    }
    EXPECT_EQ(tarvel::mock::readFile(file_), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    fs::remove(file_);
    fs::create_directory(file_);
    EXPECT_EQ(failureText([&] { log.save({"x"}); }), "I/O error 21: " + file_.string());
}

} // namespace
