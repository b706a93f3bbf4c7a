#include "settings/IniFile.h"

#include "platform/Failure.h"
#include "platform/Locale.h"
#include "platform/SafeFile.h"
#include "settings/IniDocument.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvel::settings {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a delayed write error, so a writer must see it.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

enum class ReadResult { Ok, Missing, Failed };

// Reads a whole regular file; anything else at the name (a FIFO, a foreign link) counts as unreadable.
ReadResult readWholeFile(const std::string& path, std::string& text, struct stat* info = nullptr) {
    const int opened = platform::openFile(path, platform::FileAccess::Read);
    if (opened < 0)
        return opened == -ENOENT ? ReadResult::Missing : ReadResult::Failed;
    FileDescriptor fd(opened);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return ReadResult::Failed;
    text.clear();
    text.reserve(static_cast<std::size_t>(st.st_size));
    if (platform::readAll(fd.get(), text) != 0)
        return ReadResult::Failed;
    if (info)
        *info = st;
    return ReadResult::Ok;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

enum class Replaced { Done, FolderRefused, Failed };

// Puts text at target through a temporary file in the same directory and a rename, so a failure at
// any step (disk full, no permission) leaves the old file complete. original: the replaced file's
// status, whose permissions and owner the new file takes; nullptr when the file is new.
Replaced replaceFile(const std::string& target, std::string_view text, const struct stat* original) {
    const std::string directory = directoryOf(target);
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    static unsigned counter = 0;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary =
            directory + "/." + name + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        // 0666 lets the umask decide the permissions of a new file, as for any file the program makes.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno == EACCES || errno == EPERM ? Replaced::FolderRefused : Replaced::Failed;
    }
    if (fd < 0)
        return Replaced::Failed;
    FileDescriptor file(fd);
    bool ok = true;
    if (original) {
        ok = ::fchmod(file.get(), original->st_mode & 07777) == 0;
        if (ok && (original->st_uid != ::geteuid() || original->st_gid != ::getegid()))
            (void)!::fchown(file.get(), original->st_uid, original->st_gid); // only root may; best effort
    }
    // fsync before the rename: after a power cut the file is the old or the new one, never empty.
    ok = ok && platform::writeAll(file.get(), text) == 0 && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temporary.c_str());
    return ok ? Replaced::Done : Replaced::Failed;
}

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        return text.substr(1, text.size() - 2);
    return text;
}

std::optional<int> parseHex(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(d);
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    // A 32-bit pattern: the upper half of the range reads as negative numbers.
    return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

} // namespace

IniFile::IniFile(std::string path, Access access) : path_(std::move(path)), access_(access) {}

std::optional<std::string> IniFile::rawValue(std::string_view key) const {
    std::string text;
    if (readWholeFile(path_, text) != ReadResult::Ok)
        return std::nullopt;
    return IniDocument(std::move(text), kSection).value(key);
}

IniSnapshot IniFile::snapshot() const {
    std::string text;
    if (readWholeFile(path_, text) != ReadResult::Ok)
        return IniSnapshot(std::nullopt);
    return IniSnapshot(IniDocument(std::move(text), kSection));
}

std::optional<std::string> IniSnapshot::rawValue(std::string_view key) const {
    return document_ ? document_->value(key) : std::nullopt;
}

std::optional<std::string> IniReader::fetch(std::string_view key) const {
    const auto value = rawValue(key);
    if (!value)
        return std::nullopt;
    return std::string(unquoted(*value).substr(0, kMaxTextLength));
}

int IniReader::readInteger(std::string_view key, int defaultValue) const {
    const auto text = fetch(key);
    if (!text)
        return defaultValue;
    const std::string_view t(*text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X'))
        return parseHex(t.substr(2)).value_or(defaultValue);
    return platform::parseInteger(t).value_or(defaultValue);
}

double IniReader::readReal(std::string_view key, double defaultValue) const {
    const auto text = fetch(key);
    if (!text || text->empty())
        return defaultValue;
    return platform::parseDecimal(*text).value_or(defaultValue);
}

std::string IniReader::readText(std::string_view key, std::string_view defaultValue) const {
    return fetch(key).value_or(std::string(defaultValue));
}

void IniFile::writeInteger(std::string_view key, int value) {
    store(key, std::to_string(value));
}

void IniFile::writeReal(std::string_view key, double value) {
    store(key, platform::formatGeneral(value));
}

void IniFile::writeText(std::string_view key, std::string_view value) {
    store(key, value);
}

void IniFile::store(std::string_view key, std::string_view value) {
    if (!IniDocument::isPlainKey(key))
        throw std::invalid_argument("settings key is not a plain name: " + std::string(key));
    if (access_ == Access::ReadOnly)
        return;
    const platform::Failure refused("Unable to write to " + path_);
    // A symbolic link to the settings file stays a link: the file it points to is the one replaced.
    std::string target;
    if (platform::resolveLinks(path_, target) != 0)
        throw refused;

    std::string text;
    struct stat info {};
    const ReadResult read = readWholeFile(target, text, &info);
    // A file that exists but cannot be read must not be replaced by one holding only this key.
    if (read == ReadResult::Failed)
        throw refused;
    const bool exists = read == ReadResult::Ok;
    IniDocument document(text, kSection);
    document.set(key, value);
    if (!exists) {
        if (replaceFile(target, document.text(), nullptr) != Replaced::Done)
            throw refused;
        return;
    }
    // The file already holds this value: there is nothing to write, so nothing to refuse either.
    if (document.text() == text)
        return;

    // The rename would bypass a read-only file's own permission; ask the file itself.
    FileDescriptor file(platform::openFile(target, platform::FileAccess::Write));
    if (!file.valid())
        throw refused;
    switch (replaceFile(target, document.text(), &info)) {
    case Replaced::Done:
        return;
    case Replaced::FolderRefused:
        // A folder that takes no new files around a file that may be written: the file is written over,
        // which also keeps its owner, permissions and hard links.
        if (platform::rewriteInPlace(file.get(), document.text()) != 0 || !file.close())
            throw refused;
        return;
    case Replaced::Failed:
        throw refused;
    }
}

} // namespace tarvel::settings
