#include "audio/PcmName.h"

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
