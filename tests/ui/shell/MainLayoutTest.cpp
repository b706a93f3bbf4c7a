// The main window's three views: compact as the two check boxes choose, wide with the options, wide with
// the beacon panel.
#include "ui/ProgramRig.h"

#include <tuple>

using namespace tarvel;
using tarvel::test::ProgramRig;

TEST(MainLayout, CompactViewFollowsTheCheckBoxesAndWaitsForX) {
    for (const auto& [a, b, vfoATop, vfoBTop, buttonsTop, height] :
         {std::tuple{true, true, 16, 216, 280, 374}, std::tuple{false, false, 16, 216, 280, 374},
          std::tuple{true, false, 16, -1, 216, 320}, std::tuple{false, true, -1, 16, 80, 170}}) {
        SCOPED_TRACE(std::to_string(a) + std::to_string(b));
        ProgramRig rig;
        rig.form->startUp();
        auto& m = rig.form->mainWindow();
        m.Options2.click();
        EXPECT_EQ(m.TForm1.width(), 590);
        EXPECT_TRUE(m.PnCh.visible());
        EXPECT_FALSE(m.Panel3.visible());
        // A tick is stored at once, but the view changes only with "X".
        m.ChBA.setChecked(a);
        m.ChBB.setChecked(b);
        m.ChBA.click();
        m.ChBA.click();
        EXPECT_NE(rig.ini().find(std::string("\r\nVA=") + (a ? "1" : "0") + "\r\n"), std::string::npos);
        if (b) {
            EXPECT_NE(rig.ini().find("\r\nVB=1\r\n"), std::string::npos);
        }
        EXPECT_EQ(m.TForm1.width(), 590);
        m.Button1.click();
        EXPECT_EQ(m.TForm1.width(), 332);
        EXPECT_EQ(m.TForm1.height(), height);
        EXPECT_EQ(m.PnBt.top(), buttonsTop);
        EXPECT_EQ(m.GroupBox2.visible(), vfoATop >= 0);
        EXPECT_EQ(m.GroupBox1.visible(), vfoBTop >= 0);
        if (vfoATop >= 0) {
            EXPECT_EQ(m.GroupBox2.top(), vfoATop);
        }
        if (vfoBTop >= 0) {
            EXPECT_EQ(m.GroupBox1.top(), vfoBTop);
        }
        EXPECT_FALSE(m.PnOption.visible());
    }
}

TEST(MainLayout, BeaconViewComesAfterThePortWasTriedAndAlsoWithoutIt) {
    ProgramRig rig;
    rig.lines.openSucceeds = false;
    rig.form->startUp();
    auto& m = rig.form->mainWindow();
    m.Options2.click();
    bool beaconShownWithTheMessage = true;
    rig.sink.onShow = [&](const std::string&) { beaconShownWithTheMessage = m.Panel3.visible(); };
    m.QRSSDFCW2.click();
    EXPECT_EQ(rig.sink.messages, std::vector<std::string>{"Unable to open /dev/ttyS0"});
    EXPECT_FALSE(beaconShownWithTheMessage);
    EXPECT_TRUE(m.Panel3.visible());
    EXPECT_FALSE(m.PnCh.visible());
    EXPECT_TRUE(m.PnOption.visible());
    EXPECT_TRUE(m.GroupBox1.visible());
    EXPECT_EQ(m.TForm1.width(), 590);
    EXPECT_EQ(m.TForm1.height(), 374);
    EXPECT_EQ(m.GroupBox1.top(), 216);
    EXPECT_EQ(m.PnBt.top(), 280);
}
