#include "log/ActivityLog.h"

#include "platform/Failure.h"
#include "platform/Locale.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvel::log {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The operator sees failed file operations in the runtime's input/output error form, with the file's name.
platform::Failure ioFailure(int error, const std::string& path) {
    return platform::Failure("I/O error " + std::to_string(error) + ": " + path);
}

// On Linux the descriptor is released even when close is interrupted, so EINTR is no failure.
int closeChecked(int fd) {
    return ::close(fd) != 0 && errno != EINTR ? errno : 0;
}

// A fresh file beside target for the new content; the descriptor, or -errno.
int createTemp(const std::string& target, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            return -errno;
    }
    return -EEXIST;
}

// Rewriting in place is the last resort, for a folder that refuses new files but whose log is writable.
void saveInPlace(const std::string& target, std::string_view content, const std::string& shownPath) {
    const int fd = platform::openFile(target, platform::FileAccess::Write);
    if (fd < 0)
        throw ioFailure(-fd, shownPath);
    int err = platform::rewriteInPlace(fd, content);
    const int closeErr = closeChecked(fd);
    if (err == 0)
        err = closeErr;
    if (err != 0)
        throw ioFailure(err, shownPath);
}

} // namespace

ActivityLog::ActivityLog(const platform::Clock& clock) : ActivityLog(kDefaultFileName, clock) {}

ActivityLog::ActivityLog(std::string path, const platform::Clock& clock)
    : path_(std::move(path)), clock_(clock) {}

bool ActivityLog::ensureFile() {
    // Opening for appending with creation both makes a missing file and keeps an existing one whole,
    // whatever its read permission.
    int fd = platform::openFile(path_, platform::FileAccess::Append);
    // A file that is there but read-only still serves the log window.
    if (fd < 0)
        fd = platform::openFile(path_, platform::FileAccess::Read);
    if (fd < 0)
        return false;
    closeChecked(fd);
    return true;
}

std::string ActivityLog::stampedLine(std::string_view lead) const {
    // One reading for both fields, so a line written at midnight cannot mix two days.
    const platform::LocalTime now = clock_.now();
    std::string line(lead);
    line += platform::formatShortDate(now);
    line += kDashes;
    line += platform::formatLongTime(now);
    line += kLineEnd;
    return line;
}

int ActivityLog::append(const std::string& line) {
    lastAppended_.reset();
    const int fd = platform::openFile(path_, platform::FileAccess::Append);
    if (fd < 0)
        return -fd;
    struct stat st {};
    const off_t sizeBefore = ::fstat(fd, &st) == 0 ? st.st_size : -1;
    int err = platform::writeAll(fd, line);
    // A write cut short (full disk, size limit) must not leave half a line for the next one to join.
    if (err != 0 && sizeBefore >= 0 && ::ftruncate(fd, sizeBefore) != 0) {
        // Nothing more can be done; the write error is what the caller reports.
    }
    const int closeErr = closeChecked(fd);
    if (err == 0)
        err = closeErr;
    if (err == 0 && sizeBefore >= 0)
        lastAppended_ = Appended{{st.st_dev, st.st_ino, sizeBefore},
                                 line.substr(0, line.size() - kLineEnd.size()),
                                 static_cast<off_t>(line.size())};
    return err;
}

void ActivityLog::writeHeaderLine() {
    if (const int err = append(stampedLine("--- ")))
        throw ioFailure(err, path_);
}

void ActivityLog::writeDayChangeLine() {
    if (const int err = append(stampedLine("    ")))
        throw ioFailure(err, path_);
}

bool ActivityLog::writeStartRecord(std::string_view modeCaption, std::string_view durationCaption,
                                   std::string_view messageText, std::int32_t coarseHz, std::int32_t fine) {
    std::string line = "Start : ";
    line += platform::formatLongTime(clock_.now());
    line += "   ";
    line += modeCaption;
    line += "   ";
    line += durationCaption;
    line += "   \"";
    line += messageText;
    line += "\" ";
    line += std::to_string(coarseHz);
    line += ',';
    line += std::to_string(fine);
    line += kLineEnd;
    return append(line) == 0;
}

bool ActivityLog::writeEndRecord() {
    return append("  End : " + platform::formatLongTime(clock_.now()) + std::string(kLineEnd)) == 0;
}

bool ActivityLog::writeStopRecord() {
    return append(" Stop : " + platform::formatLongTime(clock_.now()) + "   ------  " +
                  std::string(kLineEnd)) == 0;
}

std::vector<std::string> ActivityLog::readLines(Extent* read, bool* endsWithLineEnd) const {
    std::vector<std::string> lines;
    const int fd = platform::openFile(path_, platform::FileAccess::Read);
    if (fd < 0)
        return lines;
    std::string content;
    struct stat st {};
    int err = ::fstat(fd, &st) != 0 ? errno : 0;
    if (err == 0) {
        content.reserve(static_cast<std::size_t>(st.st_size));
        err = platform::readAll(fd, content);
    }
    closeChecked(fd);
    if (err != 0)
        return lines; // a read error: show nothing rather than a part
    if (read)
        *read = {st.st_dev, st.st_ino, static_cast<off_t>(content.size())};
    if (endsWithLineEnd)
        *endsWithLineEnd = content.empty() || content.back() == '\r' || content.back() == '\n';

    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n')
            continue;
        lines.emplace_back(content, start, i - start);
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < content.size())
        lines.emplace_back(content, start, std::string::npos);
    return lines;
}

std::optional<ActivityLog::Extent> ActivityLog::extent() const {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0)
        return std::nullopt;
    return Extent{st.st_dev, st.st_ino, st.st_size};
}

void ActivityLog::save(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += kLineEnd;
    }

    // Through the user's own symbolic link to the file it names, so the link survives.
    std::string target;
    if (const int err = platform::resolveLinks(path_, target))
        throw ioFailure(err, path_);
    struct stat old {};
    const bool existed = ::lstat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        throw ioFailure(S_ISDIR(old.st_mode) ? EISDIR : ENXIO, path_);

    std::string tempPath;
    const int fd = createTemp(target, tempPath);
    if (fd < 0) {
        if ((fd == -EACCES || fd == -EPERM) && existed) {
            saveInPlace(target, content, path_);
            return;
        }
        throw ioFailure(-fd, path_);
    }

    int err = platform::writeAll(fd, content);
    if (err == 0 && existed) {
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            err = errno;
        // Only a privileged process may hand the file back to its owner; others keep their own.
        else if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        }
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    const int closeErr = closeChecked(fd);
    if (err == 0)
        err = closeErr;
    if (err == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(tempPath.c_str());
        throw ioFailure(err, path_);
    }
}

} // namespace tarvel::log
