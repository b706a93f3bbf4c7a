#include "platform/SafeFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvel::platform {
namespace {

constexpr int kMaxLinks = 40; // what the kernel follows before giving ELOOP

int notRegular(mode_t mode) {
    return S_ISDIR(mode) ? EISDIR : ENXIO;
}

bool sameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_uid == b.st_uid && a.st_mode == b.st_mode;
}

// Follows the links at the end of path while they are the user's own. found: the final name's lstat, when
// the name exists. 0 or the errno.
int follow(const std::string& path, std::string& target, struct stat& info, bool& found) {
    target = path;
    for (int hops = 0;; ++hops) {
        if (::lstat(target.c_str(), &info) != 0) {
            found = false;
            return errno == ENOENT ? 0 : errno;
        }
        found = true;
        if (!S_ISLNK(info.st_mode))
            return 0;
        if (hops == kMaxLinks)
            return ELOOP;
        if (info.st_uid != ::geteuid())
            return EACCES;
        char text[PATH_MAX];
        const ssize_t n = ::readlink(target.c_str(), text, sizeof text);
        if (n < 0)
            return errno;
        if (static_cast<std::size_t>(n) == sizeof text)
            return ENAMETOOLONG;
        // The link read must be the link checked: one swapped in between is looked at afresh.
        struct stat again {};
        if (::lstat(target.c_str(), &again) != 0 || !sameEntry(info, again))
            continue;
        const std::string_view destination(text, static_cast<std::size_t>(n));
        if (destination.empty())
            return ENOENT;
        if (destination.front() == '/') {
            target.assign(destination);
        } else {
            const std::size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1));
            target += destination;
        }
    }
}

} // namespace

int openFile(const std::string& path, FileAccess access) {
    std::string target;
    struct stat info {};
    bool found = false;
    if (const int err = follow(path, target, info, found))
        return -err;
    // Refused before opening: opening a device can already act on it.
    if (found && !S_ISREG(info.st_mode))
        return -notRegular(info.st_mode);
    if (!found && access != FileAccess::Append && access != FileAccess::Replace)
        return -ENOENT;

    // O_NOFOLLOW: what is opened is the name just checked, not a link put there since. O_NONBLOCK: a FIFO
    // put there since is opened without waiting for a partner, and refused below.
    int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    switch (access) {
    case FileAccess::Read:
        flags |= O_RDONLY;
        break;
    case FileAccess::Append:
        flags |= O_WRONLY | O_APPEND | O_CREAT;
        break;
    case FileAccess::Write:
        flags |= O_WRONLY;
        break;
    case FileAccess::Replace:
        // Not O_TRUNC: only a file found regular below is emptied.
        flags |= O_WRONLY | O_CREAT;
        break;
    }
    const int fd = ::open(target.c_str(), flags, 0666);
    if (fd < 0)
        return -errno;
    struct stat opened {};
    int err = ::fstat(fd, &opened) != 0 ? errno : S_ISREG(opened.st_mode) ? 0 : notRegular(opened.st_mode);
    // A regular file ignores O_NONBLOCK; it is cleared so the descriptor behaves as any other.
    if (err == 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        err = errno;
    if (err == 0 && access == FileAccess::Replace && ::ftruncate(fd, 0) != 0)
        err = errno;
    if (err != 0) {
        ::close(fd);
        return -err;
    }
    return fd;
}

int resolveLinks(const std::string& path, std::string& target) {
    struct stat info {};
    bool found = false;
    return follow(path, target, info, found);
}

int readAll(int fd, std::string& content) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
}

int writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

int rewriteInPlace(int fd, std::string_view content) {
    // Written over the old bytes and then cut to length: truncating first would leave the file empty
    // should the writing fail.
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int err = writeAll(fd, content))
        return err;
    if (::ftruncate(fd, static_cast<off_t>(content.size())) != 0)
        return errno;
    return ::fsync(fd) != 0 ? errno : 0;
}

} // namespace tarvel::platform
