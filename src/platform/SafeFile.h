#pragma once
// How the program opens its own files (the activity log, the help text, the settings): only regular files,
// never waiting on whatever else sits at the name, and through symbolic links only when they are the
// user's own, so a link planted in a shared folder cannot send the program's writes elsewhere.
#include <string>
#include <string_view>

namespace tarvel::platform {

enum class FileAccess {
    Read,    // an existing file, for reading
    Append,  // writes go to the end; a missing file is created empty (0666 less the umask)
    Write,   // an existing file, for writing from its start; nothing is cut off by the open
    Replace, // for writing from its start, created as Append creates it or emptied once found a regular file
};

// A symbolic link that is not the running user's own (effective user id) is refused with EACCES, as the
// kernel refuses it in shared folders; a folder gives EISDIR and any other file that is not a regular one
// (FIFO, device, socket) ENXIO, without waiting for a partner or a device. Links are followed at the last
// part of the path only; the folders on the way are taken as the system finds them.

// The descriptor (close-on-exec, blocking) or -errno.
int openFile(const std::string& path, FileAccess access);

// The name the path leads to after its links, for replacing the file beside itself; 0 or the errno of
// the refusal (EACCES for a foreign link, ELOOP for too many links).
int resolveLinks(const std::string& path, std::string& target);

// Reads from the descriptor to its end; 0 or the errno.
int readAll(int fd, std::string& content);

// Writes every byte at the descriptor's position, going on after interruptions and short writes; 0 or
// the errno.
int writeAll(int fd, std::string_view data);

// Puts content in place of the file's whole content through its descriptor, with no moment at which
// the file is empty, and flushes it to the disk; the file keeps its owner, permissions and hard links.
// 0 or the errno; a failure can leave part of the new content over the old.
int rewriteInPlace(int fd, std::string_view content);

} // namespace tarvel::platform
