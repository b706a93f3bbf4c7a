#pragma once
// The core station as the unattended beacon runs it: loaded from the window's settings file as the window's
// start-up leaves it, so a pass sends the same samples, edges and log lines as the window would; and the
// refusals of stored values a beacon must not send on. The settings file is only read.
#include "beacon/Options.h"
#include "station/Station.h"

#include <string>

namespace tarvel::beacon {

using station::Station;

// Values of the settings file that the window would not take as they stand (it would pull them into its
// controls' ranges), so the beacon would send on another frequency than the window shows.
// The mode label of a WSPR-2 beacon, as the log quotes it.
inline constexpr const char* kWsprLabel = "WSPR2";

struct SettingsProblem {
    std::string message; // empty: none
};

// Loads the station and tunes both VFOs as the window's start-up does. Returns why the stored frequencies
// cannot be used, or an empty message.
SettingsProblem restore(Station& station);

// Why the restored settings give no reference a transmitter could use, or an empty text: a correction
// that is no finite positive number, VFO A's waveform off, its tone (also where the mode's DFCW shift
// moves it) at or above half the sample rate, or a port choice that names no port. After chooseMode.
std::string unusableReference(Station& station);

// The keying mode: a preset row of keyer::Presets, or keyer::Presets::kNoRow for the stored custom mode.
void chooseMode(Station& station, int presetRow);
// The options' mode: a row, the custom mode, FSKCW or WSPR-2, with the shift of --shift.
void chooseMode(Station& station, const Options& options);
// Whether the stored identifications are sent around each pass.
void sendIdentification(Station& station, bool atStart, bool atEnd);

// The activity log as the window's start-up leaves it: the file exists, with the header line when logging
// is on.
void startLog(Station& station);
// Opens the chosen port; throws platform::Failure("Unable to open <port>").
void openPort(Station& station);

} // namespace tarvel::beacon
