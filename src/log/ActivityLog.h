#pragma once
// The activity log file: its five line kinds, each appended with the file opened and closed around it,
// plus the whole-file read and replace used by the log window. Called on the user-interface thread.
// The file is opened only as a regular file and through the user's own symbolic links (platform/SafeFile.h):
// anything else at the name fails as "I/O error <errno>: <path>" at once, without waiting.
#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace tarvel::log {

class ActivityLog {
public:
    static constexpr const char* kDefaultFileName = "vfolog.txt";
    // 33 hyphens between the date and the time of the header and day-change lines.
    static constexpr std::string_view kDashes = "---------------------------------";

    // The log in the working directory under its usual bare name.
    explicit ActivityLog(const platform::Clock& clock);
    ActivityLog(std::string path, const platform::Clock& clock);

    const std::string& path() const { return path_; }

    // Start-up: makes sure the file exists, creating it empty when missing and never shortening an
    // existing one. Never throws, since start-up must go on; false when the file can be neither opened
    // nor created (a read-only working directory, a folder or a FIFO of that name, a foreign link).
    bool ensureFile();

    // "--- " date dashes time. Throws platform::Failure("I/O error <errno>: <path>") when the line cannot be
    // written; the file is then left as it was.
    void writeHeaderLine();
    // Four blanks, date, dashes, time; failure as for the header line.
    void writeDayChangeLine();

    // The transmission records: false means the record was skipped (file left as it was) and nothing
    // is reported, so the keyer's own steps always go on.
    // All texts are Windows-1251 bytes; messageText is quoted as it is, inner quotes included.
    bool writeStartRecord(std::string_view modeCaption, std::string_view durationCaption,
                          std::string_view messageText, std::int32_t coarseHz, std::int32_t fine);
    bool writeEndRecord();  // "  End : " time
    bool writeStopRecord(); // " Stop : " time "   ------  "

    // Which file and how many of its bytes: lets the log window tell whether it shows the file as it is
    // without reading it.
    struct Extent {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        bool operator==(const Extent&) const = default;
    };
    // The last line written and where: the file as it was just before, and the line without its end.
    struct Appended {
        Extent before;
        std::string line;
        off_t bytes = 0; // with its line end
    };

    // The file's lines without their ends (CR LF, LF or CR); a final line end adds no empty line.
    // A missing or unreadable file gives an empty list. read, when given and the file was read: the
    // file and the bytes the lines come from, and whether those end with a line end.
    std::vector<std::string> readLines(Extent* read = nullptr, bool* endsWithLineEnd = nullptr) const;
    // The file as it stands, from its status alone; nothing when it cannot be had.
    std::optional<Extent> extent() const;
    // Set by each line written, cleared by each line that failed.
    const std::optional<Appended>& lastAppended() const { return lastAppended_; }

    // Replaces the content by the lines, each ending with CR LF. The new content is written beside the
    // file and moved over it, so a failure leaves the old content whole; the file keeps its permissions.
    // Throws platform::Failure("I/O error <errno>: <path>") on failure.
    void save(const std::vector<std::string>& lines);

private:
    std::string stampedLine(std::string_view lead) const;
    // Appends the whole line in one piece; 0 or the errno of the failing step.
    int append(const std::string& line);

    std::string path_;
    const platform::Clock& clock_;
    std::optional<Appended> lastAppended_;
};

} // namespace tarvel::log
