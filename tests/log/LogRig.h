#pragma once
// A logbook over a fresh "vfolog.txt" and settings file in the working directory, one second before
// midnight.
#include "log/Logbook.h"
#include "mock/VirtualTime.h"
#include "station/SettingsWriter.h"

#include <filesystem>

namespace tarvel::test {

struct LogRig {
    LogRig() {
        std::filesystem::remove("log.ini");
        std::filesystem::remove("vfolog.txt");
        file.ensureFile();
        station::writeChangesOf(ini, logbook);
    }
    mock::VirtualTime time{{2026, 12, 7, 23, 59, 59, 0}};
    log::ActivityLog file{"vfolog.txt", time};
    settings::IniFile ini{"log.ini"};
    log::Logbook logbook{file};
};

} // namespace tarvel::test
