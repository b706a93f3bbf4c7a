#pragma once
// The program's settings file: every key lives in section "Param"; each call opens the file, does its
// work and releases it, so the file never stays open, unless a snapshot holds what one read found.
// Called on the user-interface thread only.
#include "settings/IniDocument.h"
#include "settings/Key.h"

#include <optional>
#include <string>
#include <string_view>

namespace tarvel::settings {

// Reading the "Param" section of a settings file, by plain key name or through the key table
// (settings/Keys.h). Reads never fail: a missing file, key or unconvertible text yields defaultValue.
class IniReader {
public:
    virtual ~IniReader() = default;

    // Decimal, or hexadecimal after "0x" / "0X" (a 32-bit pattern: "0xFFFFFFFF" is -1).
    int readInteger(std::string_view key, int defaultValue) const;
    // Written with the locale's decimal separator, read with it.
    double readReal(std::string_view key, double defaultValue) const;
    // Windows-1251 bytes; blanks around and one pair of enclosing quotes removed, at most 2047 bytes.
    std::string readText(std::string_view key, std::string_view defaultValue) const;

    // The key's own spelling and type, and its absent value unless the caller passes what a control shows.
    std::int32_t read(const IntegerKey& key) const { return readInteger(key.name, key.absent); }
    std::int32_t read(const IntegerKey& key, std::int32_t absent) const {
        return readInteger(key.name, absent);
    }
    double read(const RealKey& key) const { return readReal(key.name, key.absent); }
    std::string read(const TextKey& key) const { return readText(key.name, key.absent); }
    std::string read(const TextKey& key, std::string_view absent) const { return readText(key.name, absent); }
    std::int32_t read(const IntegerKeyFamily& key, int number) const {
        return readInteger(key.name(number), key.absent);
    }
    std::int32_t read(const IntegerKeyFamily& key, int number, std::int32_t absent) const {
        return readInteger(key.name(number), absent);
    }
    std::string read(const TextKeyFamily& key, int number) const {
        return readText(key.name(number), key.absent);
    }

    static constexpr std::size_t kMaxTextLength = 2047;
    static constexpr const char* kSection = "Param";

protected:
    // The key's value as stored, quotes and all; nullopt when the file or the key is missing.
    virtual std::optional<std::string> rawValue(std::string_view key) const = 0;

private:
    std::optional<std::string> fetch(std::string_view key) const;
};

// The settings file as it was at one moment, read and parsed once: start-up reads every key from it.
class IniSnapshot : public IniReader {
public:
    explicit IniSnapshot(std::optional<IniDocument> document) : document_(std::move(document)) {}

protected:
    std::optional<std::string> rawValue(std::string_view key) const override;

private:
    std::optional<IniDocument> document_; // none: the file was missing or unreadable
};

class IniFile : public IniReader {
public:
    // A file opened for reading only takes every write without touching the file: the unattended beacon
    // reads the window's settings, which the window may be changing meanwhile, and never writes them.
    enum class Access { ReadWrite, ReadOnly };
    explicit IniFile(std::string path, Access access = Access::ReadWrite);

    const std::string& path() const { return path_; }

    // Every key as the file holds them now, from one read of the file.
    IniSnapshot snapshot() const;

    // A write the system refuses throws platform::Failure("Unable to write to <path>") and leaves the
    // file as it was; a write that would change nothing is not attempted, so it is never refused. In a
    // folder that takes no new files a writable file is written over in place. key is a plain name such
    // as "freq1".
    void writeInteger(std::string_view key, int value);
    void writeReal(std::string_view key, double value);
    void writeText(std::string_view key, std::string_view value);

    void write(const IntegerKey& key, std::int32_t value) { writeInteger(key.name, value); }
    void write(const RealKey& key, double value) { writeReal(key.name, value); }
    void write(const TextKey& key, std::string_view value) { writeText(key.name, value); }
    void write(const IntegerKeyFamily& key, int number, std::int32_t value) {
        writeInteger(key.name(number), value);
    }
    void write(const TextKeyFamily& key, int number, std::string_view value) {
        writeText(key.name(number), value);
    }

protected:
    // Each read opens the file, reads it and lets it go, so the file never stays open.
    std::optional<std::string> rawValue(std::string_view key) const override;

private:
    void store(std::string_view key, std::string_view value);

    std::string path_;
    Access access_;
};

} // namespace tarvel::settings
