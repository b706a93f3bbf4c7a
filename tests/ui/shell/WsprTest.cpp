// The WSPR window: refusals with nothing keyed, the stored values, a pass on its frame, and Stop TX.
#include "ui/ProgramRig.h"

using namespace tarvel;
using tarvel::test::ProgramRig;
using Line = mock::RecordingControlLines::Line;
using Op = mock::RecordingControlLines::Operation;

TEST(WsprWindow, RefusesBadMessagesStoresAcceptedOnesKeysOnTheFrameAndStopsAtStopTx) {
    ProgramRig rig;
    rig.form->startUp();
    auto& w = rig.form->wsprWindow();
    rig.form->mainWindow().Wspr1.click();
    EXPECT_TRUE(w.TFormWspr.visible());
    const auto tx = [&] { platform::runGuarded(rig.sink, [&] { w.BtWsprTx.click(); }); };

    w.EdWsprCall.setText("K1ABC");
    w.SpWsprTxPercent.setValue(100);
    for (auto [locator, power] : {std::pair{"FN4", "37"}, {"FN42", "36"}, {"FN42", "3x"}}) {
        w.EdWsprLocator.setText(locator);
        w.CbWsprPower.setText(power);
        tx();
    }
    ASSERT_EQ(rig.sink.messages.size(), 3u);
    for (const std::string& message : rig.sink.messages)
        EXPECT_TRUE(message.starts_with("WSPR: ")) << message;
    EXPECT_FALSE(rig.form->wsprBeacon().armed());
    rig.time.advance(300'000);
    EXPECT_TRUE(rig.lines.edges().empty());
    EXPECT_EQ(rig.ini().find("Wspr"), std::string::npos);

    w.CbWsprPower.setText("37");
    tx();
    ASSERT_EQ(rig.sink.messages.size(), 3u);
    const std::string ini = rig.ini();
    for (const char* line :
         {"WsprCall=K1ABC\r\n", "WsprLocator=FN42\r\n", "WsprPower=37\r\n", "WsprTxPercent=100\r\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line;
    const std::int64_t frame = *rig.form->wsprBeacon().nextFrameUtcMs();
    EXPECT_EQ(frame % 120'000, 0);
    const std::int64_t t = frame - rig.utcAtStartMs; // on virtual time
    EXPECT_GE(t - rig.time.nowMs(), 3000);
    rig.form->statusTimer().onTimeout();
    EXPECT_TRUE(w.LbWsprNextValue.caption().ends_with(":00 UTC"));

    // Closing the window leaves the schedule armed; the pass keys at second 1 of the frame, once, although
    // the loop was on, which it is again after the pass. With the tone off it queues its own moves.
    w.TFormWspr.hide();
    rig.form->transmission().setLoop(true);
    int moves = 0;
    rig.form->station().tone().vfoAMoveQueued.connect([&](std::int64_t, std::int64_t, bool) { ++moves; });
    rig.time.advance(t + 1000 + 700 - rig.time.nowMs());
    EXPECT_EQ(rig.lines.edges(), (std::vector<Op>{{Line::Dtr, true, t}, {Line::Rts, true, t + 1000}}));
    EXPECT_EQ(moves, 162);
    rig.form->statusTimer().onTimeout();
    EXPECT_TRUE(w.LbWsprSymbolValue.caption().starts_with("2 of 162: "));
    EXPECT_EQ(rig.form->mainWindow().Lbmode.caption(), "WSPR2");
    rig.time.advance(t + 115'000 - rig.time.nowMs());
    EXPECT_EQ(rig.lines.edges().size(), 4u);
    EXPECT_TRUE(rig.form->transmission().loop());
    rig.time.advance(t + 120'500 - rig.time.nowMs());
    EXPECT_EQ(rig.lines.edges().size(), 5u);

    // The beacon panel's Stop TX ends the pass and every later one.
    platform::runGuarded(rig.sink, [&] { rig.form->mainWindow().BtStopTX.click(); });
    EXPECT_FALSE(rig.form->wsprBeacon().armed());
    rig.time.advance(600'000);
    EXPECT_EQ(rig.lines.edges().size(), 6u);
    EXPECT_FALSE(rig.lines.rts || rig.lines.dtr);
    EXPECT_EQ(rig.sink.messages.size(), 3u);
}

// With the tone on, each frame's moves go ahead 3 s early; then the UTC clock is set forward by lateMs. A
// frame over 900 ms late is left out, one 900 ms late is sent; one that finds the operator's message on the
// air is left out too, and that message's start dropped the moves handed for the frame.
TEST(WsprWindow, LeavesOutFramesOver900MsLateOrBusy) {
    ProgramRig rig("[Param]\r\nWsprCall=K1ABC\r\nWsprLocator=FN42\r\nWsprPower=37\r\nWsprTxPercent=100\r\n");
    rig.form->startUp();
    rig.form->mainWindow().btnPlay.click();
    platform::runGuarded(rig.sink, [&] { rig.form->wsprWindow().BtWsprTx.click(); });
    int drops = 0;
    rig.form->station().tone().vfoAMovesDropped.connect([&] { ++drops; });
    for (const std::int64_t lateMs : {901, 900, 0}) {
        rig.time.advance(*rig.form->wsprBeacon().nextFrameUtcMs() - 3000 - rig.utcAtStartMs -
                         rig.time.nowMs());
        rig.utcAtStartMs += lateMs;
        const int before = drops;
        if (lateMs == 0)
            rig.form->transmission().sendMessage("PARIS PARIS");
        EXPECT_EQ(drops, before + (lateMs == 0));
        rig.time.advance(3000);
        EXPECT_EQ(rig.form->transmission().messageText() == "WSPR K1ABC FN42 37", lateMs == 900) << lateMs;
    }
    EXPECT_TRUE(rig.sink.messages.empty());
}
