#include "platform/Failure.h"
#include "platform/Locale.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Memo.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/SpinField.h"

#include <gtest/gtest.h>

using namespace tarvel::ui::controls;
using tarvel::platform::Failure;

TEST(SpinField, ReadsTextAsIntegerOrMinimumWithoutClamping) {
    SpinField f("f", 100, 2100000000, 1, 480000);
    EXPECT_EQ(f.value(), 480000);
    for (const char* text : {"", "abc", "12x", "1.5", "99999999999"}) {
        f.setText(text);
        EXPECT_EQ(f.value(), 100) << text;
    }
    f.setText("50"); // below the range: read as typed until focus leaves
    EXPECT_EQ(f.value(), 50);
    f.setText("-7");
    EXPECT_EQ(f.value(), -7);
}

TEST(SpinField, SettingClampsExceptWhenMinimumEqualsMaximum) {
    SpinField f("f", -100, 100, 5, 0);
    f.setValue(150);
    EXPECT_EQ(f.text(), "100");
    f.setValue(-1000);
    EXPECT_EQ(f.text(), "-100");

    SpinField unbounded("u", 0, 0, 1, 0);
    unbounded.setValue(123456);
    EXPECT_EQ(unbounded.text(), "123456");
    unbounded.setText("2147483647");
    unbounded.stepUp(); // wraps like the 32-bit value, no undefined behaviour
    EXPECT_EQ(unbounded.text(), "-2147483648");
}

TEST(SpinField, StepsByIncrementAndClampsAtLimits) {
    SpinField f("f", -100, 100, 5, 95);
    f.stepUp();
    EXPECT_EQ(f.value(), 100);
    f.stepUp();
    EXPECT_EQ(f.value(), 100);
    f.setText("garbage"); // counts as the minimum
    f.stepUp();
    EXPECT_EQ(f.value(), -95);
    f.setValue(-100);
    f.stepDown();
    EXPECT_EQ(f.value(), -100);
}

TEST(SpinField, FocusOutClampsOnlyOutOfRangeValues) {
    SpinField f("f", 16, 64, 16, 64);
    int changes = 0;
    f.onChange = [&] { ++changes; };
    f.setText("20");
    f.focusOut();
    EXPECT_EQ(f.text(), "20");
    f.setText("200");
    f.focusOut();
    EXPECT_EQ(f.text(), "64");
    f.setText("3");
    f.focusOut();
    EXPECT_EQ(f.text(), "16");
    EXPECT_EQ(changes, 5);
}

TEST(SpinField, AcceptsOnlyNumberCharacters) {
    tarvel::platform::setDecimalSeparator(',');
    for (char c : std::string("0123456789+-,"))
        EXPECT_TRUE(SpinField::acceptsChar(c)) << c;
    for (char c : std::string("a .e"))
        EXPECT_FALSE(SpinField::acceptsChar(c)) << c;
    tarvel::platform::setDecimalSeparator(std::nullopt);
}

TEST(TextField, ChangeHandlerRunsInsideSetterOnlyForDifferentText) {
    TextField f("f", "16");
    std::vector<std::string> seen;
    f.onChange = [&] { seen.push_back(f.text()); };
    f.setText("16");
    f.setText("17");
    f.setText("17");
    f.setText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"17", ""}));
}

TEST(TextField, UpperCaseFieldCapitalisesLatinAndCyrillic) {
    TextField f("f");
    f.setUpperCase(true);
    // "abc" then Cyrillic а, я, ё in Windows-1251.
    EXPECT_EQ(f.typed("abc\xE0\xFF\xB8 1?"), "ABC\xC0\xDF\xA8 1?");
    f.setUpperCase(false);
    EXPECT_EQ(f.typed("abc"), "abc");
}

TEST(SpinField, ReentrantHandlerSeesNestedChangeAndTerminates) {
    // A handler that normalises its own field (as a carry does) runs again nested and the outer run
    // then sees the normalised value: no lost update, no endless recursion.
    SpinField fine("fine", -100, 100, 5, 0);
    SpinField coarse("coarse", 100, 2100000000, 1, 1000);
    std::vector<std::pair<int, int>> applied;
    fine.onChange = [&] {
        if (fine.value() == 100) {
            fine.setValue(0);
            coarse.setValue(coarse.value() + 1);
        }
        applied.emplace_back(coarse.value(), fine.value());
    };
    fine.setText("95");
    fine.stepUp();
    EXPECT_EQ(fine.value(), 0);
    EXPECT_EQ(coarse.value(), 1001);
    ASSERT_EQ(applied.size(), 3u);
    EXPECT_EQ(applied.back(), std::make_pair(1001, 0));
}

TEST(ScrollBar, PositionClampsAndHandlerRunsOnlyOnMove) {
    ScrollBar bar("bar", 100000, 550000, 480000, 100, 1000);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    bar.setPosition(480000);
    EXPECT_EQ(changes, 0);
    bar.setPosition(600000);
    EXPECT_EQ(bar.position(), 550000);
    bar.setPosition(700000);
    EXPECT_EQ(changes, 1);
    bar.setPosition(0);
    EXPECT_EQ(bar.position(), 100000);
    EXPECT_EQ(changes, 2);
}

TEST(ScrollBar, RangeChangeMovesPositionAndRefusesInvertedRange) {
    ScrollBar bar("bar", 100000, 550000, 480000, 100, 1000);
    std::vector<int> moves;
    bar.onChange = [&] { moves.push_back(bar.position()); };

    bar.setMax(137800);
    EXPECT_EQ(moves, std::vector<int>{137800});
    bar.setMin(137600);
    EXPECT_EQ(bar.minValue(), 137600);

    try {
        bar.setMax(100);
        FAIL() << "an inverted range was accepted";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), "Scrollbar property out of range");
    }
    EXPECT_THROW(bar.setMin(200000), Failure);
    EXPECT_EQ(bar.minValue(), 137600);
    EXPECT_EQ(bar.maxValue(), 137800);
    EXPECT_EQ(bar.position(), 137800);
    EXPECT_EQ(moves.size(), 1u);
}

TEST(ChoiceControls, ProgrammaticChangesRunClickHandlersOnce) {
    CheckBox box("ChBA", "VFO A");
    int boxClicks = 0;
    box.onClick = [&] { ++boxClicks; };
    box.setChecked(true);
    box.setChecked(true);
    box.click(); // the operator's click toggles
    EXPECT_FALSE(box.checked());
    EXPECT_EQ(boxClicks, 2);

    RadioGroup group("rgR", "", {"Off", "Sine", "Squre"}, 0);
    int groupClicks = 0;
    group.onClick = [&] { ++groupClicks; };
    group.setItemIndex(0);
    group.setItemIndex(2);
    group.setItemIndex(7);
    EXPECT_EQ(group.itemIndex(), 2);
    group.setItemIndex(-5);
    EXPECT_EQ(group.itemIndex(), -1);
    EXPECT_EQ(groupClicks, 2);

    RadioSet set;
    RadioButton a("a", "CW", set, true), b("b", "QRSS3", set);
    int aClicks = 0, bClicks = 0;
    a.onClick = [&] { ++aClicks; };
    b.onClick = [&] { ++bClicks; };
    b.click();
    EXPECT_TRUE(b.checked());
    EXPECT_FALSE(a.checked());
    b.setChecked(true);
    a.setChecked(true);
    EXPECT_FALSE(b.checked());
    EXPECT_EQ(aClicks, 1);
    EXPECT_EQ(bClicks, 1);
}

TEST(Memo, TraceKeepsTheNewestLinesAndSignalsOnlyReplacements) {
    tarvel::ui::controls::Memo memo("Memo1");
    memo.setMaxLines(3);
    const auto start = memo.generation();
    for (int i = 1; i <= 6; ++i)
        memo.addLine(std::to_string(i));
    EXPECT_EQ(memo.generation(), start); // appended only
    memo.addLine("7");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"5", "6", "7"}));
    EXPECT_NE(memo.generation(), start);
}
