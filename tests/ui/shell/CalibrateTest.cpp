// "Setup › Calibrate" on the whole program, with a recording device whose sample clock runs 37.5 ppm fast.
#include "platform/Locale.h"
#include "settings/Keys.h"
#include "ui/ProgramRig.h"

#include <QAbstractButton>
#include <QAction>
#include <QTest>

using namespace tarvel;
using tarvel::test::ProgramRig;

TEST(Calibrate, MeasuresWhileTheTonePlaysAndApplyStoresAFactorThatMeasuringAgainKeeps) {
    ProgramRig rig({}, true);
    const std::string point(1, platform::decimalSeparator());
    rig.audio->sampleClock = true;
    rig.audio->clockPpm = 37.5;
    rig.form->startUp();
    ui::forms::CalibrateForm& w = rig.form->calibrateWindow();
    rig.windows->mainWindow().action("Calibrate1")->trigger();
    EXPECT_TRUE(rig.windows->calibrateWindow().isVisible());
    EXPECT_EQ(w.LbCalState.caption(), "Not playing: press Start to measure");
    EXPECT_FALSE(w.BtCalApply.enabled());

    const auto playFor = [&](std::size_t buffers) {
        const std::size_t until = rig.audio->submitCount() + buffers;
        ASSERT_TRUE(rig.audio->waitUntil([&] { return rig.audio->submits.size() >= until; }));
        rig.time.advance(1000); // the status tick
    };
    QTest::mouseClick(rig.windows->mainWindow().widgetAs<QAbstractButton>("btnPlay"), Qt::LeftButton);
    playFor(400);
    EXPECT_EQ(w.LbCalState.caption(), "Measuring while the tone plays");
    EXPECT_EQ(w.LbCalDeviceValue.caption(), "default");
    EXPECT_EQ(w.LbCalOffsetValue.caption(), "+37" + point + "50 ppm");
    EXPECT_EQ(w.LbCalSystemClockValue.caption(), "synchronised (estimated error 16 us)");
    const std::string proposed = w.LbCalCorrectionValue.caption();

    QTest::mouseClick(rig.windows->calibrateWindow().widgetAs<QAbstractButton>("BtCalApply"), Qt::LeftButton);
    const settings::IniFile stored(rig.iniPath());
    EXPECT_NEAR(stored.read(settings::keys::correction), 1 / (1 + 37.5e-6), 1e-9);
    EXPECT_EQ(rig.form->mainWindow().Edit2.text(),
              platform::formatGeneral(rig.form->plan().factors().correction));
    EXPECT_NEAR(stored.read(settings::keys::correctionCancelsPpm), 37.5, 0.005);
    // The card's clock is as it was: measuring on proposes the factor now in force.
    playFor(100);
    EXPECT_EQ(w.LbCalCorrectionValue.caption(), proposed);
    EXPECT_TRUE(rig.sink.messages.empty());
}
