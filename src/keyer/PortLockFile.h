#pragma once
// The lock file that the serial library keeps while a port is open ("LCK..ttyS0" in the system's lock
// folder, the owner's process id on its first line), found the way the library finds it: so that a dying
// program can remove its own, and a refused open can name the process that holds the port.
#include <string>
#include <sys/types.h>

namespace tarvel::keyer {

// The device that the serial library opens for a port name: the name itself when it is a path, else the
// name in /dev.
std::string portDevicePath(const std::string& portName);

// Where the port's lock file is or would be: in the first of the library's lock folders that can be read
// and either holds the file or takes new ones. "" when no folder will do.
std::string portLockFilePath(const std::string& portName);

// The process id on the lock file's first line (leading blanks allowed); 0 when the file cannot be read or
// holds none. Async-signal-safe: only open, read and close.
pid_t lockFileOwner(const char* path);

// Why another process's lock file keeps the port from being opened, for the operator: its path (the lock
// folder's real one) and process id, and whether that process still runs. "" when the port has no lock
// file, or it is this process's own.
std::string lockRefusal(const std::string& portName);

} // namespace tarvel::keyer
