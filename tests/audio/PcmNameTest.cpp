#include "audio/PcmName.h"

#include "settings/Keys.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace tarvel;

TEST(PcmName, CardsAndConfiguredDevicesArePlain) {
    for (const char* pcm : {"default", "pulse", "dmix", "null", "hw:0,0", "plughw:1", "plughw:CARD=PCH,DEV=0",
                            "sysdefault:CARD=Intel", "front:CARD=Device_1,DEV=0", "hw:CARD=NoSuchCard", ""})
        EXPECT_EQ(audio::whyNotPlainPcm(pcm), "") << pcm;
}

TEST(PcmName, WhatCouldWriteFilesOrRunCommandsIsRefusedWithItsReason) {
    const std::pair<const char*, const char*> refused[] = {
        {"file:FILE=\"|id > out.txt\",FORMAT=raw", "it holds a pipe to a command"},
        {"file:FILE=out.raw,FORMAT=raw", "the file plugin sends the sound to a file or another program"},
        {"file:out", "the file plugin sends the sound to a file or another program"},
        {"tee:default,out", "the tee plugin sends the sound to a file or another program"},
        {"plug:SLAVE=file", "it names the file plugin, which sends the sound to a file or another program"},
        {"plug:{type file file \"x\"}", "it holds an inline definition in braces"},
        {"plug:'hw:0'", "it holds quotes"},
        {"hw:0,0 ", "it holds the character \" \", which a plain name does not need"},
        {"hw:0/0", "it holds the character \"/\", which a plain name does not need"},
        {"hw:\x01", "it holds the character 0x01, which a plain name does not need"},
        {"hw:0,,0", "its argument \"\" is not a plain value"},
        {"hw:CARD=", "its argument \"CARD=\" is not a plain value"},
        {"hw:=0", "its argument \"=0\" has no plain key"},
        {":0", "it does not begin with a device name"},
    };
    for (const auto& [pcm, why] : refused)
        EXPECT_EQ(audio::whyNotPlainPcm(pcm), why) << pcm;
}

TEST(PcmName, RefusalNamesTheDeviceAndTheKeyThatAllowsItWhichIsOnlyRead) {
    const std::string path = "pcm-name.ini";
    const std::string allowing = "[Param]\r\nAudioDeviceAnyPcm=1\r\n";
    { std::ofstream(path, std::ios::binary) << "[Param]\r\nAudioDeviceAnyPcm=2\r\n"; }
    settings::IniFile ini(path);
    EXPECT_EQ(audio::pcmRefusal("hw:0,0", ini), "");
    EXPECT_EQ(audio::pcmRefusal("file:x", ini),
              "the audio device \"file:x\" is refused: the file plugin sends the sound to a file or another "
              "program. Add AudioDeviceAnyPcm=1 to the settings file pcm-name.ini to allow any device name.");
    { std::ofstream(path, std::ios::binary) << allowing; }
    EXPECT_EQ(audio::pcmRefusal("file:x", ini), "");
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), allowing);
    std::filesystem::remove(path);
}
