#include "platform/Locale.h"
#include "ui/ProgramRig.h"

using namespace tarvel;
using tarvel::test::ProgramRig;

namespace {

std::string keyLine(const std::string& ini, const std::string& key) {
    const auto at = ini.find("\r\n" + key + "=");
    if (at == std::string::npos)
        return "<missing>";
    const auto begin = at + 2;
    return ini.substr(begin, ini.find("\r\n", begin) - begin);
}

} // namespace

TEST(Startup, FirstStartWithoutSettingsEndsWithTheDefaults) {
    platform::setDecimalSeparator('.');
    ProgramRig rig;
    rig.form->startUp();
    auto& m = rig.form->mainWindow();
    EXPECT_EQ(m.seRfreq.value(), 100000);
    EXPECT_EQ(m.seLfreq.value(), 30000);
    EXPECT_EQ(m.rgR.itemIndex(), 0);
    EXPECT_EQ(m.rgL.itemIndex(), 0);
    EXPECT_EQ(m.RgCom.itemIndex(), 0);
    EXPECT_EQ(m.RgRTS.itemIndex(), 0);
    EXPECT_EQ(m.EdKdel.text(), "16");
    EXPECT_EQ(m.EdRxKdel.text(), "32");
    EXPECT_EQ(m.EdFp.text(), "0");
    EXPECT_EQ(m.EdFpA.text(), "0");
    EXPECT_EQ(m.Edit2.text(), "1");
    EXPECT_EQ(m.SpinEdit1.value(), 64);
    EXPECT_EQ(rig.form->stream().bufferBytes(), 65536);
    const auto& custom = rig.form->presets().customMode();
    EXPECT_EQ(std::vector<int>({custom.dotSeconds, custom.dashFactor, custom.gapDivisor,
                                custom.letterGapFactor, custom.shiftCentiHz}),
              std::vector<int>({1, 1, 1, 1, 0}));
    EXPECT_EQ(m.Btdfcw60i.caption(), "qrss1");
    EXPECT_FALSE(rig.form->logbook().on());
    EXPECT_EQ(m.Log2.caption(), "Log Off");
    EXPECT_TRUE(m.RBPr3.checked());
    EXPECT_EQ(rig.priority.choices, std::vector<int>{3});
    for (auto* caption : {&m.BtF1, &m.BtF2, &m.BtF3, &m.BtF4})
        EXPECT_EQ(caption->caption(), "0");
    EXPECT_EQ(keyLine(rig.ini(), "iPr"), "iPr=3");
    EXPECT_EQ(rig.log(), ""); // the log file exists, empty
    EXPECT_TRUE(std::filesystem::exists("vfolog.txt"));
    // Both retunes ran: a store or Start right now saves what the window shows.
    EXPECT_EQ(rig.form->plan().tunedCoarseHz(), 100000);
    EXPECT_EQ(rig.form->vfoA().frequencyWord.load(), 100000LL * 4096 / 16);
    EXPECT_EQ(rig.form->vfoB().frequencyWord.load(), -30000LL * 4096 / 32);
    EXPECT_TRUE(m.TForm1.visible());
    EXPECT_EQ(m.TForm1.width(), 332);
    EXPECT_TRUE(rig.sink.messages.empty());
    platform::setDecimalSeparator(std::nullopt);
}

TEST(Startup, HandWrittenFileWithOddSpacingLowerCaseKeysAndHexLoads) {
    platform::setDecimalSeparator(',');
    ProgramRig rig(
        "; my station\r\n[Other]\r\nfreq=1\r\n[ Param ]\r\n  freq = 0x21988  \r\nN=0x10\r\nnrx = 8\r\n"
        "CORR=1,0005\r\nfp=  500000\r\nmaxf=137800\r\nMinF=137000\r\nTXT2=  \"cq test\"  \r\n"
        "ta=1\r\nlog=1\r\n");
    rig.form->startUp();
    auto& m = rig.form->mainWindow();
    EXPECT_EQ(m.seRfreq.value(), 137608); // 0x21988
    EXPECT_EQ(m.RFreqScrollBar1.minValue(), 137000);
    EXPECT_EQ(m.RFreqScrollBar1.maxValue(), 137800);
    EXPECT_EQ(m.EdminF.text(), "137000");
    EXPECT_EQ(rig.form->plan().factors().vfoAFactor, 16);
    EXPECT_EQ(rig.form->plan().factors().vfoBFactor, 8);
    // Equal to the field's design text, the offset changes no control but is still the one in use.
    EXPECT_EQ(rig.form->plan().factors().vfoBOffset, 500000);
    EXPECT_EQ(rig.form->mainWindow().LbFoutrx.caption(), "58779,375"); // (500000 − 30000) × 1,0005 / 8
    EXPECT_EQ(rig.form->plan().factors().correction, 1.0005);
    EXPECT_EQ(m.Edit2.text(), "1,0005");
    EXPECT_EQ(m.EdTX2.text(), "cq test");
    EXPECT_EQ(m.rgR.itemIndex(), 1);
    EXPECT_EQ(rig.form->vfoA().waveform.load(), 1);
    // Logging on: the header line was written during start-up.
    EXPECT_EQ(rig.log().rfind("--- 07.12.2026", 0), 0u);
    EXPECT_EQ(m.Log2.caption(), "Log  On");
    // Lines the program does not own are kept byte for byte.
    EXPECT_EQ(rig.ini().rfind("; my station\r\n[Other]\r\nfreq=1\r\n[ Param ]\r\n", 0), 0u);
    EXPECT_TRUE(rig.sink.messages.empty());
    platform::setDecimalSeparator(std::nullopt);
}

TEST(Startup, EverySettingSurvivesARestart) {
    platform::setDecimalSeparator('.');
    std::string settings;
    {
        ProgramRig rig;
        rig.form->startUp();
        auto& m = rig.form->mainWindow();
        m.Options2.click();
        m.Edit2.setText("1.25");
        m.EdKdel.setText("8");
        m.EdRxKdel.setText("64");
        m.EdFp.setText("455000");
        m.EdFpA.setText("1000");
        m.EdminF.setText("136000");
        m.EdmaxF.setText("138000");
        m.Button2.click();
        m.seRfreq.setValue(137555);
        m.fineRfr.setValue(35);
        m.seLfreq.setValue(136000);
        m.ChBA.click();
        m.rgR.setItemIndex(2);
        m.rgL.setItemIndex(1);
        m.SpinEdit1.setValue(32);
        m.Button8.click();
        m.BtF3w.click();
        m.RgCom.setItemIndex(1);
        m.RgRTS.setItemIndex(1);
        m.EdPort2.setText("/dev/ttyUSB0");
        m.Button7.click();
        m.EdTX1.setText("VVV DE TEST");
        m.SpDot.setValue(12);
        m.SpShift.setValue(0);
        m.Button9.click();
        m.ChStart.setChecked(true);
        m.Ed_id_Start.setText("TEST");
        m.RBtQrss3s.click();
        m.RBtQrss3.click();
        m.BtPNid.click();
        m.RBPr2.click();
        m.BtPrioritet.click();
        m.Log2.click();
        m.PnTX1.click(); // a transmission stores the four messages
        m.BtStopTX.click();
        m.btnPlay.click(); // saves the VFO A frequency
        m.btnStop.click();
        EXPECT_TRUE(rig.sink.messages.empty());
        settings = rig.ini();
        ASSERT_EQ(rig.form->plan().tunedCoarseHz(), 137555);
    }
    ProgramRig next(settings);
    next.form->startUp();
    auto& m = next.form->mainWindow();
    EXPECT_EQ(next.form->plan().factors().correction, 1.25);
    EXPECT_EQ(next.form->plan().factors().vfoAFactor, 8);
    EXPECT_EQ(next.form->plan().factors().vfoBFactor, 64);
    EXPECT_EQ(next.form->plan().factors().vfoBOffset, 455000);
    EXPECT_EQ(next.form->plan().factors().vfoAOffset, 1000);
    EXPECT_EQ(m.RFreqScrollBar1.minValue(), 136000);
    EXPECT_EQ(m.RFreqScrollBar1.maxValue(), 138000);
    EXPECT_EQ(m.seRfreq.value(), 137555); // inside the stored range, not pulled into the design range
    EXPECT_EQ(m.fineRfr.value(), 35);
    EXPECT_EQ(m.seLfreq.value(), 136000);
    EXPECT_TRUE(m.ChBA.checked());
    EXPECT_FALSE(m.ChBB.checked());
    EXPECT_EQ(m.TForm1.height(), 320); // the stored compact layout: VFO A only
    EXPECT_FALSE(m.GroupBox1.visible());
    EXPECT_EQ(m.rgR.itemIndex(), 2);
    EXPECT_EQ(m.rgL.itemIndex(), 1);
    EXPECT_EQ(next.form->stream().bufferBytes(), 32768);
    EXPECT_EQ(m.BtF3.caption(), "137555");
    EXPECT_EQ(m.RgCom.itemIndex(), 1);
    EXPECT_EQ(m.RgRTS.itemIndex(), 1);
    EXPECT_EQ(m.EdPort2.text(), "/dev/ttyUSB0");
    EXPECT_EQ(m.EdTX1.text(), "VVV DE TEST");
    EXPECT_EQ(m.Btdfcw60i.caption(), "qrss12");
    EXPECT_EQ(m.Ed_id_Start.text(), "TEST");
    EXPECT_TRUE(m.RBtQrss3s.checked());
    EXPECT_TRUE(m.RBtQrss3.checked());
    EXPECT_TRUE(m.RBPr2.checked());
    EXPECT_EQ(next.priority.choices, std::vector<int>{2});
    EXPECT_TRUE(next.form->logbook().on());
    // Memory 3 comes back with its fine value.
    m.seRfreq.setValue(137000);
    m.BtF3.click();
    EXPECT_EQ(m.seRfreq.value(), 137555);
    EXPECT_EQ(m.fineRfr.value(), 35);
    EXPECT_TRUE(next.sink.messages.empty());
    platform::setDecimalSeparator(std::nullopt);
}

TEST(Startup, StoredRangesTheBarCannotTakeFallBackWithoutAMessage) {
    ProgramRig rig("[Param]\r\nMaxF=50000\r\nMinF=60000\r\nfreq=40000\r\n");
    rig.form->startUp();
    EXPECT_EQ(rig.form->mainWindow().RFreqScrollBar1.minValue(), 22000);
    EXPECT_EQ(rig.form->mainWindow().RFreqScrollBar1.maxValue(), 550000);
    EXPECT_EQ(rig.form->mainWindow().seRfreq.value(), 40000);
    EXPECT_TRUE(rig.sink.messages.empty());
}
