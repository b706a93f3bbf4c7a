#include "audio/PcmName.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace tarvel;

TEST(PcmName, PlainNamesPassAndWhatCouldWriteFilesOrRunCommandsIsRefusedWithItsReason) {
    for (const char* pcm :
         {"default", "pulse", "hw:0,0", "plughw:CARD=PCH,DEV=0", "sysdefault:CARD=Intel", ""})
        EXPECT_EQ(audio::whyNotPlainPcm(pcm), "") << pcm;
    const std::pair<const char*, const char*> refused[] = {
        {"file:FILE=\"|id > out.txt\",FORMAT=raw", "it holds a pipe to a command"},
        {"tee:default,out", "the tee plugin sends the sound to a file or another program"},
        {"plug:SLAVE=file", "it names the file plugin, which sends the sound to a file or another program"},
        {"plug:{type hw}", "it holds an inline definition in braces"},
        {"plug:'hw:0'", "it holds quotes"},
        {"hw:0/0", "it holds the character \"/\", which a plain name does not need"},
        {"hw:0,,0", "its argument \"\" is not a plain value"},
        {"hw:=0", "its argument \"=0\" has no plain key"},
    };
    for (const auto& [pcm, why] : refused)
        EXPECT_EQ(audio::whyNotPlainPcm(pcm), why) << pcm;
}

TEST(PcmName, RefusalNamesTheDeviceAndTheKeyThatAllowsIt) {
    std::ofstream("pcm-name.ini", std::ios::binary) << "[Param]\r\nAudioDeviceAnyPcm=2\r\n";
    settings::IniFile ini("pcm-name.ini");
    EXPECT_EQ(audio::pcmRefusal("file:x", ini),
              "the audio device \"file:x\" is refused: the file plugin sends the sound to a file or another "
              "program. Add AudioDeviceAnyPcm=1 to the settings file pcm-name.ini to allow any device name.");
    std::ofstream("pcm-name.ini", std::ios::binary) << "[Param]\r\nAudioDeviceAnyPcm=1\r\n";
    EXPECT_EQ(audio::pcmRefusal("file:x", ini), "");
}
