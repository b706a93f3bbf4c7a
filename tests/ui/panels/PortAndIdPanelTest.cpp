// The port panel (one open attempt, line choice, manual PTT, stored keys) and the identification panel.
#include "ui/panels/KeyerPanelsRig.h"

#include <gtest/gtest.h>

using namespace tarvel;
using namespace tarvel::test;

TEST(PortPanel, FailedOpenIsReportedOnceAndTheKeyerStillRunsWithoutLines) {
    KeyerPanelsRig rig;
    rig.lines.openSucceeds = false;
    rig.main.RgCom.setItemIndex(1);
    rig.act([&] { rig.main.OpenPort.click(); });
    rig.act([&] { rig.portPanel.openPort(); });
    EXPECT_EQ(rig.lines.openAttempts, std::vector<std::string>{"/dev/ttyS1"});
    EXPECT_EQ(rig.fp.sink.messages, std::vector<std::string>{"Unable to open /dev/ttyS1"});

    rig.send("E");
    rig.runToIdle();
    EXPECT_TRUE(rig.lines.operations.empty());
    EXPECT_EQ(rig.main.Lbo.caption(), "END");
    EXPECT_EQ(rig.time.nowMs(), 1401);
}

TEST(PortPanel, OpensTheDeviceNamedOnThePanelOnlyOnce) {
    KeyerPanelsRig rig;
    rig.port.setNames("/dev/ttyUSB0", "/dev/ttyS1");
    rig.portPanel.showPortNames();
    EXPECT_EQ(rig.main.EdPort1.text(), "/dev/ttyUSB0");
    EXPECT_EQ(rig.main.EdPort2.text(), "/dev/ttyS1");
    rig.act([&] { rig.portPanel.openPort(); });
    rig.main.EdPort1.setText("/dev/ttyS3");
    rig.main.RgCom.setItemIndex(1);
    rig.act([&] { rig.portPanel.openPort(); });
    EXPECT_EQ(rig.lines.openAttempts, std::vector<std::string>{"/dev/ttyUSB0"});
    EXPECT_TRUE(rig.port.transmitter().isOpen());
    EXPECT_TRUE(rig.fp.sink.messages.empty());
}

TEST(PortPanel, LineChoiceSwappedMidTransmissionAppliesFromTheNextOperation) {
    KeyerPanelsRig rig;
    rig.act([&] { rig.portPanel.openPort(); });
    rig.send("EE");
    rig.runUntil(1050); // inside the first dot, keyed on RTS
    rig.main.P1.click();
    EXPECT_TRUE(rig.main.PnPort.visible());
    rig.main.RgRTS.setItemIndex(1);
    rig.act([&] { rig.main.Button7.click(); });
    EXPECT_EQ(rig.port.keyLineChoice, keyer::KeyLine::Dtr);
    rig.runToIdle();
    // RTS, set as the key under the old choice, stays on until the PTT release now clears it; the first
    // key off under the new choice drops DTR, which was the PTT.
    const std::vector<Edge> expected{dtr(true, 0),    rts(true, 1001),  dtr(false, 1101),
                                     dtr(true, 1402), dtr(false, 1502), rts(false, 1502)};
    EXPECT_EQ(rig.lines.edges(), expected);
}

TEST(PortPanel, OkHidesThePanelAndWritesItsKeysInOrder) {
    KeyerPanelsRig rig;
    rig.main.P1.click();
    rig.main.RgCom.setItemIndex(1);
    rig.main.RgRTS.setItemIndex(1);
    // The device is picked from the ports present as the list opens; the field and the file get its path.
    rig.serialPorts.devices = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "FT232R USB UART, FTDI"}};
    rig.main.EdPort1.dropDown();
    ASSERT_EQ(rig.main.EdPort1.entries().size(), 2u);
    EXPECT_EQ(rig.main.EdPort1.entries()[0].shown, "/dev/ttyS0");
    EXPECT_EQ(rig.main.EdPort1.entries()[1].shown, "/dev/ttyUSB0 \x97 FT232R USB UART, FTDI");
    rig.main.EdPort1.pick(1);
    EXPECT_EQ(rig.main.EdPort1.text(), "/dev/ttyUSB0");
    rig.act([&] { rig.main.Button7.click(); });
    EXPECT_FALSE(rig.main.PnPort.visible());
    EXPECT_EQ(rig.port.portChoice, keyer::ComPort::Com2);
    EXPECT_EQ(readFile(rig.fp.ini.path()),
              "[Param]\r\niCom=1\r\niRTS=1\r\nPort1=/dev/ttyUSB0\r\nPort2=/dev/ttyS1\r\n");

    // Start-up shows the loaded choices.
    rig.port.portChoice = keyer::ComPort::Com1;
    rig.port.keyLineChoice = keyer::KeyLine::Rts;
    rig.portPanel.showChoices();
    EXPECT_EQ(rig.main.RgCom.itemIndex(), 0);
    EXPECT_EQ(rig.main.RgRTS.itemIndex(), 0);
}

TEST(PortPanel, ManualPttLabelsSwitchThePttLineAndEachOther) {
    KeyerPanelsRig rig;
    rig.act([&] { rig.portPanel.openPort(); });
    rig.main.Label32.click();
    EXPECT_TRUE(rig.lines.dtr);
    EXPECT_FALSE(rig.lines.rts);
    EXPECT_FALSE(rig.main.Label32.visible());
    EXPECT_TRUE(rig.main.Label33.visible());
    rig.main.Label33.click();
    EXPECT_FALSE(rig.lines.dtr);
    EXPECT_TRUE(rig.main.Label32.visible());
    EXPECT_FALSE(rig.main.Label33.visible());
}

TEST(IdPanel, RadioClicksSetTheSpeedsAndOkWritesTheFourKeysInOrder) {
    KeyerPanelsRig rig;
    rig.main.ID1.click();
    EXPECT_TRUE(rig.main.Pnid.visible());
    rig.main.RBtQrss3s.click();
    rig.main.RBtCW.click(); // already checked: nothing runs, id keeps its loaded 0
    rig.main.Ed_id_Start.setText("DL0AB");
    rig.main.Ed_id_End.setText("\xD0\xC0"); // РА
    rig.act([&] { rig.main.BtPNid.click(); });
    EXPECT_FALSE(rig.main.Pnid.visible());
    EXPECT_EQ(readFile(rig.fp.ini.path()), "[Param]\r\nid=0\r\nIDStart=DL0AB\r\nIDEnd=\xD0\xC0\r\nids=2\r\n");
    rig.main.RBtQrss3.click();
    rig.main.RBtCW.click();
    EXPECT_EQ(rig.transmission.identification().endSpeedSetting, 1);
}

TEST(IdPanel, LoadedSpeedsCheckTheirButtonsAndOtherValuesKeepTheDesignChoice) {
    KeyerPanelsRig rig;
    rig.transmission.identification().endSpeedSetting = 2;
    rig.transmission.identification().startSpeedSetting = 7;
    rig.idPanel.checkLoadedSpeeds();
    EXPECT_TRUE(rig.main.RBtQrss3.checked());
    EXPECT_FALSE(rig.main.RBtCW.checked());
    EXPECT_TRUE(rig.main.RBtCWs.checked());
    EXPECT_EQ(rig.transmission.identification().startSpeedSetting, 7);

    KeyerPanelsRig other;
    other.transmission.identification().endSpeedSetting = 0;
    other.transmission.identification().startSpeedSetting = 2;
    other.idPanel.checkLoadedSpeeds();
    EXPECT_TRUE(other.main.RBtCW.checked());
    EXPECT_TRUE(other.main.RBtQrss3s.checked());
}
