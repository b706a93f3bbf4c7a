#include "ui/controls/RadioGroup.h"
#include "ui/controls/ScrollBar.h"
#include "ui/controls/SpinField.h"
#include "ui/controls/TextField.h"
#include "ui/forms/CalibrateForm.h"
#include "ui/forms/HelpForm.h"
#include "ui/forms/KeypadForm.h"
#include "ui/forms/LogForm.h"
#include "ui/forms/MainForm.h"
#include "ui/forms/WsprForm.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace tarvel::ui::forms {
namespace {

using controls::Control;

bool isMenuItem(const Control* c) {
    return dynamic_cast<const controls::MenuItem*>(c) != nullptr;
}

bool overlaps(const Control& a, const Control& b) {
    return a.left() < b.left() + b.width() && b.left() < a.left() + a.width() &&
           a.top() < b.top() + b.height() && b.top() < a.top() + a.height();
}

// Pairs of siblings that overlap, "A/B"; a control in `exempt` may overlap anything, and with
// visibleOnly only controls visible at design count.
std::vector<std::string> overlappingSiblings(const Inventory& form, const std::set<std::string>& exempt,
                                             bool visibleOnly) {
    std::vector<std::string> pairs;
    const auto& all = form.all();
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j) {
            const Control& a = *all[i];
            const Control& b = *all[j];
            if (a.parent() != b.parent() || a.parent() == nullptr || isMenuItem(&a) || isMenuItem(&b))
                continue;
            if (exempt.count(a.name()) || exempt.count(b.name()))
                continue;
            if (visibleOnly && !(a.visible() && b.visible()))
                continue;
            if (overlaps(a, b))
                pairs.push_back(a.name() + "/" + b.name());
        }
    return pairs;
}

// Controls that leave their parent's bounds, by name.
std::vector<std::string> outsideTheirParents(const Inventory& form) {
    std::vector<std::string> names;
    for (const Control* c : form.all()) {
        const Control* p = c->parent();
        if (p == nullptr || isMenuItem(c))
            continue;
        if (c->left() < 0 || c->top() < 0 || c->width() < 0 || c->height() < 0 ||
            c->left() + c->width() > p->width() || c->top() + c->height() > p->height())
            names.push_back(c->name());
    }
    return names;
}

template <typename F> void forEachForm(F check) {
    MainForm main;
    LogForm log;
    KeypadForm keypad;
    HelpForm help;
    CalibrateForm calibrate;
    WsprForm wspr;
    for (const Inventory* form :
         std::initializer_list<const Inventory*>{&main, &log, &keypad, &help, &calibrate, &wspr})
        check(*form);
}

TEST(Forms, InventoriesAreWellFormed) {
    forEachForm([](const Inventory& form) {
        const Control& window = form.window();
        SCOPED_TRACE(window.name());
        ASSERT_FALSE(form.all().empty());
        EXPECT_EQ(window.parent(), nullptr);
        EXPECT_FALSE(window.accessibleName().empty() && window.caption().empty());
        EXPECT_EQ(form.find(window.name()), &window);
        // The window is not in the list: the view makes it apart from the widgets.
        std::set<std::string> names{window.name()};
        std::set<const Control*> seen{&window};
        for (const Control* c : form.all()) {
            EXPECT_FALSE(c->name().empty());
            EXPECT_TRUE(names.insert(c->name()).second) << "duplicate name " << c->name();
            EXPECT_TRUE(c->parent() != nullptr && seen.count(c->parent()))
                << c->name() << " before its parent";
            seen.insert(c);
            if (c->caption().empty()) {
                EXPECT_FALSE(c->accessibleName().empty())
                    << c->name() << " without caption or accessible name";
            }
            EXPECT_EQ(form.find(c->name()), c);
        }
        EXPECT_EQ(form.find("NoSuchControl"), nullptr);
    });
}

TEST(Forms, ControlsLieInsideTheirParentsExceptThoseHiddenOnPurpose) {
    MainForm main;
    EXPECT_EQ(outsideTheirParents(main), (std::vector<std::string>{"seRLev", "Panel2", "EdTX"}));
    // Those three are out of sight entirely, not merely clipped.
    EXPECT_GE(main.seRLev.left(), main.GroupBox2.width());
    EXPECT_GE(main.Panel2.top(), MainForm::kDesignHeight);
    EXPECT_GE(main.EdTX.top(), main.Panel2.top() + main.Panel2.height());
    EXPECT_EQ(main.Edit1.width(), 0);
    EXPECT_EQ(main.TForm1.clientWidth(), 582);
    EXPECT_EQ(main.TForm1.clientHeight(), 327);

    LogForm log;
    KeypadForm keypad;
    HelpForm help;
    EXPECT_TRUE(outsideTheirParents(log).empty());
    EXPECT_TRUE(outsideTheirParents(keypad).empty());
    EXPECT_TRUE(outsideTheirParents(help).empty());
}

TEST(Forms, SiblingsDoNotOverlap) {
    MainForm main;
    EXPECT_EQ(overlappingSiblings(main, {}, true), std::vector<std::string>{});
    // Hidden parts must fit too once shown (options view, Alt+X panel, step buttons), except the pop-ups,
    // which open over other controls, the beacon panel, which takes the options panel's place, and the
    // red PTT label, which takes the grey one's place.
    const std::set<std::string> replacing{"PnPort",     "PnPrioritet", "PnBuffer", "PnAudio", "Pnid",
                                          "GrBoxAbout", "PnBtdfcw",    "Panel3",   "Label33", "Panel2"};
    EXPECT_EQ(overlappingSiblings(main, replacing, false), std::vector<std::string>{});
    EXPECT_EQ(
        overlappingSiblings(
            main, {"PnPort", "PnPrioritet", "PnBuffer", "PnAudio", "Pnid", "GrBoxAbout", "PnBtdfcw"}, false),
        (std::vector<std::string>{"PnCh/Panel3", "Label32/Label33"}));

    KeypadForm keypad;
    // Bt9..Bt14 sit on the window over the full-size panel that holds Bt1..Bt8.
    EXPECT_EQ(overlappingSiblings(keypad, {"PnKn"}, false), std::vector<std::string>{});
    LogForm log;
    HelpForm help;
    EXPECT_EQ(overlappingSiblings(log, {}, false), std::vector<std::string>{});
    EXPECT_EQ(overlappingSiblings(help, {}, false), std::vector<std::string>{});
}

TEST(Forms, DesignGeometryOfTheMainAreas) {
    MainForm f;
    auto bounds = [](const Control& c) { return std::vector<int>{c.left(), c.top(), c.width(), c.height()}; };
    EXPECT_EQ(bounds(f.GroupBox2), (std::vector<int>{10, 16, 305, 193}));
    EXPECT_EQ(bounds(f.GroupBox1), (std::vector<int>{10, 216, 305, 57}));
    EXPECT_EQ(bounds(f.PnBt), (std::vector<int>{10, 280, 305, 41}));
    EXPECT_EQ(bounds(f.PnCh), (std::vector<int>{328, 22, 249, 300}));
    EXPECT_EQ(f.PnOption.parent(), &f.PnCh);
    EXPECT_EQ(f.GroupBox4.parent(), &f.PnCh);
    EXPECT_EQ(f.PnBtdfcw.parent(), &f.Panel3);
    EXPECT_EQ(f.Panel1.parent(), &f.GroupBox2);
}

TEST(Forms, DesignValuesOtherCodeReliesOn) {
    MainForm f;
    auto spin = [](const controls::SpinField& s) {
        return std::vector<int>{s.minValue(), s.maxValue(), s.increment(), s.value()};
    };
    EXPECT_EQ(spin(f.seRfreq), (std::vector<int>{100, 2100000000, 1, 480000}));
    EXPECT_EQ(spin(f.fineRfr), (std::vector<int>{-100, 100, 5, 0}));
    EXPECT_EQ(spin(f.seLfreq), (std::vector<int>{30000, 20000000, 10, 135700}));
    EXPECT_EQ(spin(f.SpinEdit1), (std::vector<int>{16, 64, 16, 64}));
    EXPECT_EQ(spin(f.seRLev), (std::vector<int>{0, 32767, 200, 20000}));
    EXPECT_EQ(spin(f.seLLev), (std::vector<int>{0, 32767, 200, 20000}));
    EXPECT_EQ(spin(f.SpDot), (std::vector<int>{1, 3600, 1, 5}));
    EXPECT_EQ(spin(f.SpShift), (std::vector<int>{0, 200000, 10, 20}));
    auto bar = [](const controls::ScrollBar& b) {
        return std::vector<int>{b.minValue(), b.maxValue(), b.position(), b.smallChange(), b.largeChange()};
    };
    EXPECT_EQ(bar(f.RFreqScrollBar1), (std::vector<int>{100000, 550000, 480000, 100, 1000}));
    EXPECT_EQ(bar(f.LevRScrollBar1), (std::vector<int>{0, 32000, 22000, 500, 2000}));
    EXPECT_EQ(bar(f.LevLScrollBar1), (std::vector<int>{0, 32000, 22000, 500, 2000}));
    EXPECT_EQ(f.Edit2.text(), "1,00000000");
    EXPECT_EQ(f.EdFp.text(), "500000");
    EXPECT_EQ(f.EdFpA.text(), "0");
    EXPECT_EQ(f.EdKdel.text(), "16");
    EXPECT_EQ(f.EdRxKdel.text(), "32");
    EXPECT_EQ(f.EdminF.text(), "137600");
    EXPECT_EQ(f.EdmaxF.text(), "137800");
    EXPECT_EQ(f.Edit1.text(), "Ed1");
    EXPECT_EQ(f.rgR.items(), (std::vector<std::string>{"Off", "Sine", "Squre"}));
    EXPECT_EQ(f.rgR.itemIndex(), 0);
    EXPECT_EQ(f.rgL.itemIndex(), 0);
    EXPECT_EQ(f.RgCom.items(), (std::vector<std::string>{"Com1", "Com2"}));
    EXPECT_EQ(f.RgCom.itemIndex(), 1);
    EXPECT_EQ(f.RgRTS.items(), (std::vector<std::string>{"RTS", "DTR"}));
    EXPECT_EQ(f.EdPort1.accessibleName(), "Device for Com1");
    EXPECT_EQ(f.EdPort2.accessibleName(), "Device for Com2");
    EXPECT_EQ(f.Lbmode.caption(), "  CW");
    EXPECT_EQ(f.Btdfcw60i.caption(), "60+");
    EXPECT_EQ(f.Log2.caption(), "Log Off");
    EXPECT_EQ(f.Log1.caption(), "  Log  ");
    EXPECT_EQ(f.ID1.caption(), "   ID   ");
    EXPECT_EQ(f.QRSSDFCW2.caption(), "QRSS/DFCW");
    EXPECT_EQ(f.RBtCW.caption(), " CW");
    EXPECT_EQ(f.RBtQrss3.caption(), " QRSS3");
    EXPECT_EQ(f.BtF1w.hint(), ":=fr1");
    EXPECT_EQ(f.PnOption.hint(), "Left channel ");
    // Windows-1251 captions.
    EXPECT_EQ(f.LbFpA.caption(), "F\xEF\xF7 + -");
    EXPECT_EQ(f.LbAbout3.caption(), "\xF1 \xD4\xC0\xCF\xD7 \xE8 qrss/dfcw");
    EXPECT_EQ(f.LbLp.caption(), "Dot/N  -  \xCF\xE0\xF3\xE7\xE0 ");
    // Every design value lies inside its own range.
    for (const Control* c : f.all())
        if (auto s = dynamic_cast<const controls::SpinField*>(c)) {
            EXPECT_TRUE(s->value() >= s->minValue() && s->value() <= s->maxValue()) << s->name();
        }
}

TEST(Forms, MenuHangsUnderItsTopLevelItems) {
    MainForm f;
    std::vector<std::string> bar, setup;
    for (const Control* c : f.all()) {
        if (!isMenuItem(c))
            continue;
        if (c->parent() == &f.TForm1)
            bar.push_back(c->caption());
        else if (c->parent() == &f.Setup1)
            setup.push_back(c->name());
    }
    EXPECT_EQ(bar, (std::vector<std::string>{"Menu", "Setup", "  Log  ", "   ID   ", "QRSS/DFCW", "WSPR"}));
    EXPECT_EQ(setup, (std::vector<std::string>{"Options2", "P1", "P2", "Buffer1", "AudioDevice1", "Log2",
                                               "Calibrate1"}));
    EXPECT_EQ(f.Help1.parent(), &f.Menu1);
    EXPECT_EQ(f.About1.parent(), &f.Menu1);
}

TEST(Forms, DesignStateOfTheMainWindow) {
    MainForm f;
    std::vector<std::string> hidden;
    for (const Control* c : f.all())
        if (!c->visible())
            hidden.push_back(c->name());
    EXPECT_EQ(hidden, (std::vector<std::string>{"Panel1", "GroupBox4", "seLLev", "Panel3", "Label33", "BtTX",
                                                "PnBtdfcw", "PnPort", "PnPrioritet", "PnBuffer", "PnAudio",
                                                "Pnid", "GrBoxAbout"}));
    EXPECT_FALSE(f.btnStop.enabled());
    EXPECT_TRUE(f.btnPlay.enabled());
    // Start-up checks these; a design check would swallow the click that sets the step or the priority.
    for (const controls::RadioButton* b :
         {&f.RBt1, &f.RBt10, &f.RBt100, &f.RBt1k, &f.RBPr1, &f.RBPr2, &f.RBPr3})
        EXPECT_FALSE(b->checked()) << b->name();
    EXPECT_TRUE(f.RBtCW.checked());
    EXPECT_TRUE(f.RBtCWs.checked());
    for (const controls::TextField* t :
         {&f.EdTX1, &f.EdTX2, &f.EdTX3, &f.EdTX4, &f.Ed_id_Start, &f.Ed_id_End})
        EXPECT_TRUE(t->upperCase()) << t->name();
    EXPECT_FALSE(f.Edit2.upperCase());
    EXPECT_TRUE(f.styles.of(f.Lbmode).bold);
    EXPECT_EQ(f.styles.of(f.SpinEdit1).maxLength, 8);
    EXPECT_TRUE(f.styles.of(f.TForm1).fixedSize);
}

TEST(Forms, RadioButtonsExcludeOnlyTheirOwnContainer) {
    MainForm f;
    f.RBtQrss3.setChecked(true);
    EXPECT_FALSE(f.RBtCW.checked());
    EXPECT_TRUE(f.RBtCWs.checked());
    f.RBt100.setChecked(true);
    f.RBPr2.setChecked(true);
    EXPECT_TRUE(f.RBt100.checked());
    f.RBt1k.setChecked(true);
    EXPECT_FALSE(f.RBt100.checked());
    EXPECT_TRUE(f.RBPr2.checked());
    EXPECT_TRUE(f.RBtQrss3.checked());
}

TEST(Forms, KeypadLayout) {
    KeypadForm k;
    EXPECT_EQ(k.TForm3.caption(), "");
    EXPECT_EQ(k.TForm3.width(), 319);
    EXPECT_EQ(k.TForm3.height(), 347);
    EXPECT_EQ(k.PnKn.color(), KeypadForm::kActiveCaption);
    for (int j = 1; j <= 14; ++j) {
        const controls::Button& b = *k.buttons[j - 1];
        SCOPED_TRACE(b.name());
        EXPECT_EQ(b.name(), "Bt" + std::to_string(j));
        EXPECT_EQ(b.caption(), std::to_string(j));
        EXPECT_EQ(b.width(), 129);
        EXPECT_EQ(b.height(), 33);
        EXPECT_TRUE(k.styles.of(b).bold);
        EXPECT_EQ(b.parent(), j <= 8 ? static_cast<const Control*>(&k.PnKn) : &k.TForm3);
        // Odd numbers in the left column, pairs on one row, rows top to bottom.
        const controls::Button& first = *k.buttons[0];
        EXPECT_EQ(b.left() == first.left(), j % 2 == 1);
        if (j % 2 == 0) {
            EXPECT_EQ(b.top(), k.buttons[j - 2]->top());
            EXPECT_GT(b.left(), k.buttons[j - 2]->left());
        } else if (j > 1) {
            EXPECT_GT(b.top(), k.buttons[j - 3]->top());
        }
    }
}

TEST(Forms, ResizeRules) {
    KeypadForm k;
    k.TForm3.setBounds(0, 0, 400, 500);
    k.resized();
    EXPECT_EQ(k.PnKn.width(), 400);
    EXPECT_EQ(k.PnKn.height(), 500);

    HelpForm h;
    EXPECT_EQ(h.TForm4.caption(), "Help");
    EXPECT_EQ(h.TForm4.clientWidth(), 875);
    EXPECT_EQ(h.TForm4.clientHeight(), 412);
    // The rule counts from the outer size, so the box nearly fills the client area.
    EXPECT_EQ(h.Memo1.width(), 875 + 8 - 12);
    EXPECT_EQ(h.Memo1.height(), 412 + 27 - 33);
    EXPECT_EQ(h.Memo1.scrollBars(), controls::MemoScrollBars::Both);
    h.TForm4.setBounds(0, 0, 10, 20);
    h.resized();
    EXPECT_EQ(h.Memo1.width(), 0);
    EXPECT_EQ(h.Memo1.height(), 0);

    LogForm l;
    EXPECT_EQ(l.TForm2.caption(), "Log");
    EXPECT_EQ(l.Save1.caption(), "Save");
    EXPECT_EQ(l.Save1.parent(), &l.TForm2);
    EXPECT_EQ(l.styles.of(l.Memo1).fontFamily, "Courier");
    EXPECT_EQ(l.Memo1.scrollBars(), controls::MemoScrollBars::Vertical);
    l.TForm2.setBounds(0, 0, 300, 200);
    l.resized();
    EXPECT_EQ(l.Memo1.width(), 270);
    EXPECT_EQ(l.Memo1.height(), 140);
}

} // namespace
} // namespace tarvel::ui::forms
