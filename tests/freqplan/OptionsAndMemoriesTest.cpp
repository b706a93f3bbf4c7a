#include "FreqplanRig.h"

using namespace tarvel;
using tarvel::mock::readFile;
using tarvel::test::FreqplanRig;

TEST(Memories, StoreTheTunedValuesAndRecallFromTheFileAcrossARestart) {
    std::string path;
    {
        FreqplanRig rig;
        path = rig.ini.path();
        rig.plan.setVfoA(137600, 25);
        rig.act([&] { rig.plan.setVfoAFactor(0); });
        rig.act([&] { rig.plan.setVfoA(140000, 0); }); // fails: the memory keeps what was tuned
        rig.memories.store(1);
        rig.memories.store(11);
        rig.memories.store(19);
        EXPECT_EQ(rig.memories.coarse(1), 137600);
        EXPECT_EQ(rig.memories.fine(11), 25);
        const std::string file = readFile(path);
        EXPECT_NE(file.find("freq1=137600\r\n01x1=25\r\n"), std::string::npos);
        EXPECT_NE(file.find("freq11=137600\r\n01x11=25\r\n"), std::string::npos);
        EXPECT_EQ(file.find("freq19"), std::string::npos);
    }
    FreqplanRig next(path); // a later run: fine copies start at 0, a recall reads the file
    next.memories.loadCoarse(1, 137600);
    EXPECT_EQ(next.memories.fine(1), 0);
    const freqplan::Memory m = next.memories.recalled(1);
    EXPECT_EQ(m.coarseHz, 137600);
    EXPECT_EQ(m.fineCentiHz, 25);
    EXPECT_EQ(next.memories.recalled(3).coarseHz, 0); // never stored
    EXPECT_EQ(next.memories.coarse(7), 0);
}

TEST(Options, TuningRangeAndCompactChoicesAreStored) {
    FreqplanRig rig;
    rig.options.setTuningRange(137600, 137800);
    rig.options.setCompactVfoB(true);
    rig.options.setCompactVfoA(false);
    EXPECT_EQ(readFile(rig.ini.path()), "[Param]\r\nMinF=137600\r\nMaxF=137800\r\nVB=1\r\nVA=0\r\n");

    // A stored range is taken when it can be tuned in: none, a low maximum or inverted limits are not.
    EXPECT_FALSE(rig.options.restoreTuningRange(0, 0));
    EXPECT_FALSE(rig.options.restoreTuningRange(10000, 22000));
    EXPECT_FALSE(rig.options.restoreTuningRange(600000, 500000));
    EXPECT_TRUE(rig.options.restoreTuningRange(30000, 50000));
    EXPECT_EQ(rig.options.maxHz(), 50000);
}
