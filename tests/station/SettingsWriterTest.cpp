// The settings writer on a frequency plan of its own: what the plan tells reaches the file under its key,
// and nothing reaches it before a writer is connected (as in the unattended beacon).
#include "station/SettingsWriter.h"

#include "mock/Files.h"
#include "platform/Failure.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace tarvel;

TEST(SettingsWriter, WritesWhatThePlanTellsOnlyOnceConnectedAndRaisesARefusedWrite) {
    std::filesystem::remove("writer.ini");
    synth::ToneChannel vfoA, vfoB;
    freqplan::FrequencyPlan plan{vfoA, vfoB};
    plan.setVfoAFactor(8);
    plan.setVfoB(135700);
    EXPECT_FALSE(std::filesystem::exists("writer.ini"));

    settings::IniFile ini{"writer.ini"};
    station::writeChangesOf(ini, plan);
    // The file keeps the radio group's numbers, "no choice" too.
    plan.setVfoAWaveform(synth::WaveformKind::None);
    plan.setVfoBOffset(-5);
    plan.setVfoB(137000);
    EXPECT_EQ(mock::readFile("writer.ini"), "[Param]\r\nTA=-1\r\nFp=-5\r\nfrrx=137000\r\n");

    // A file the system refuses fails the operation that told the value, which the operator then sees.
    settings::IniFile refused{"no-such-folder/writer.ini"};
    station::writeChangesOf(refused, plan);
    EXPECT_THROW(plan.setVfoAOffset(1), platform::Failure);
}
