#include "keyer/PortLockFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace tarvel::keyer {
namespace {

// The serial library's lock folders, in the order it tries them.
constexpr const char* kLockFolders[] = {"/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
                                        "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

} // namespace

std::string portDevicePath(const std::string& portName) {
    if (portName.starts_with('/') || portName.starts_with("./") || portName.starts_with("../"))
        return portName;
    return "/dev/" + portName;
}

std::string portLockFilePath(const std::string& portName) {
    if (portName.empty())
        return {};
    // The library's short name of the port: its device path without "/dev/".
    const std::string device = portDevicePath(portName);
    std::string name = device.starts_with("/dev/") ? device.substr(5) : device;
    std::replace(name.begin(), name.end(), '/', '_');
    for (const char* folder : kLockFolders) {
        const std::string path = std::string(folder) + "/LCK.." + name;
        if (::access(folder, R_OK) == 0 && (::access(path.c_str(), F_OK) == 0 || ::access(folder, W_OK) == 0))
            return path;
    }
    return {};
}

pid_t lockFileOwner(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return 0;
    char text[24];
    const ssize_t length = ::read(fd, text, sizeof text);
    ::close(fd);
    ssize_t at = 0;
    while (at < length && text[at] == ' ')
        ++at;
    long owner = 0;
    for (; at < length && text[at] >= '0' && text[at] <= '9' && owner < 100'000'000; ++at)
        owner = owner * 10 + (text[at] - '0');
    return static_cast<pid_t>(owner);
}

std::string lockRefusal(const std::string& portName) {
    const std::string path = portLockFilePath(portName);
    if (path.empty())
        return {};
    const pid_t owner = lockFileOwner(path.c_str());
    if (owner <= 0 || owner == ::getpid())
        return {};
    std::error_code unresolved;
    const std::filesystem::path file(path);
    const std::filesystem::path folder = std::filesystem::canonical(file.parent_path(), unresolved);
    const std::string shown = unresolved ? path : (folder / file.filename()).string();
    const bool running = ::kill(owner, 0) == 0 || errno == EPERM;
    const std::string process = "process " + std::to_string(owner);
    if (running)
        return "the port is in use by " + process + " (lock file " + shown + ")";
    return "the lock file " + shown + " is left from " + process +
           ", which no longer runs; only its owner or root can remove it";
}

} // namespace tarvel::keyer
