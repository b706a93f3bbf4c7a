#pragma once
// The VFO controls with their design values, wired to a frequency plan, options panel and memories over
// a settings file of the test's own.
#include "controls/CheckBox.h"
#include "controls/RadioButton.h"
#include "controls/RadioGroup.h"
#include "controls/ScrollBar.h"
#include "controls/Simple.h"
#include "controls/SpinField.h"
#include "freqplan/FrequencyPlan.h"
#include "freqplan/Memories.h"
#include "freqplan/OptionsPanel.h"
#include "mock/Files.h"
#include "mock/RecordingMessageSink.h"
#include "platform/Failure.h"
#include "platform/Locale.h"
#include "platform/MessageSink.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace tarvel::test {

using namespace tarvel::controls;
using mock::readFile;

inline std::string testIniPath() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name() + ".ini";
    std::filesystem::remove(name);
    return name;
}

struct FreqplanRig {
    // A later run over the same settings file is a second rig on the first one's path.
    explicit FreqplanRig(std::string iniPath = testIniPath()) : ini(std::move(iniPath)) {
        GroupBox2.setBounds(10, 16, 305, 193);
        GroupBox1.setBounds(10, 216, 305, 57);
        PnBt.setBounds(10, 280, 305, 41);
    }

    Form TForm1{"TForm1", "Tarvel 1.2"};
    Form TForm3{"TForm3"};
    GroupBox GroupBox2{"GroupBox2", "VFO A"}, GroupBox1{"GroupBox1", "VFO B"},
        GroupBox4{"GroupBox4", "VFO B"};
    Panel PnBt{"PnBt"}, PnCh{"PnCh"}, PnOption{"PnOption", "VFO A"}, Panel3{"Panel3"},
        Panel1{"Panel1", "Panel1"};
    Panel PnAcol{"PnAcol"}, PnBcol{"PnBcol"};
    SpinField seRfreq{"seRfreq", 100, 2100000000, 1, 480000};
    SpinField fineRfr{"fineRfr", -100, 100, 5, 0};
    ScrollBar RFreqScrollBar1{"RFreqScrollBar1", 100000, 550000, 480000, 100, 1000};
    TextField EdFpA{"EdFpA", "0"}, EdKdel{"EdKdel", "16"};
    RadioGroup rgR{"rgR", "", {"Off", "Sine", "Squre"}, 0};
    ScrollBar LevRScrollBar1{"LevRScrollBar1", 0, 32000, 22000, 500, 2000};
    SpinField seRLev{"seRLev", 0, 32767, 200, 20000};
    Label Label9{"Label9"}, LbFoutrx{"LbFoutrx"};
    SpinField seLfreq{"seLfreq", 30000, 20000000, 10, 135700};
    RadioSet steps;
    RadioButton RBt1{"RBt1", "", steps}, RBt10{"RBt10", "", steps}, RBt100{"RBt100", "", steps},
        RBt1k{"RBt1k", "", steps};
    TextField EdFp{"EdFp", "500000"}, EdRxKdel{"EdRxKdel", "32"};
    RadioGroup rgL{"rgL", "", {"Off", "Sine", "Squre"}, 0};
    ScrollBar LevLScrollBar1{"LevLScrollBar1", 0, 32000, 22000, 500, 2000};
    SpinField seLLev{"seLLev", 0, 32767, 200, 20000};
    TextField Edit2{"Edit2", "1,00000000"};
    CheckBox ChBA{"ChBA", "VFO A"}, ChBB{"ChBB", "VFO B"};
    TextField EdminF{"EdminF", "137600"}, EdmaxF{"EdmaxF", "137800"}, Edit1{"Edit1", "Ed1"};
    Button BtF1{"BtF1"}, BtF2{"BtF2"}, BtF3{"BtF3"}, BtF4{"BtF4"};
    Button BtF1w{"BtF1w", "F1"}, BtF2w{"BtF2w", "F2"}, BtF3w{"BtF3w", "F3"}, BtF4w{"BtF4w", "F4"};
    std::array<std::unique_ptr<Button>, 14> keypad = makeKeypad();

    synth::ToneChannel vfoA, vfoB;
    settings::IniFile ini;
    mock::RecordingMessageSink sink;

    freqplan::FrequencyPlan plan{{seRfreq,        fineRfr, RFreqScrollBar1, EdFpA,  EdKdel,   rgR,
                                  LevRScrollBar1, seRLev,  Label9,          PnAcol, seLfreq,  RBt1,
                                  RBt10,          RBt100,  RBt1k,           EdFp,   EdRxKdel, rgL,
                                  LevLScrollBar1, seLLev,  LbFoutrx,        PnBcol, Edit2},
                                 vfoA,
                                 vfoB,
                                 ini};
    freqplan::OptionsPanel options{{Panel1, ChBA, ChBB, EdminF, EdmaxF, RFreqScrollBar1}, ini};
    freqplan::Memories memories{{seRfreq,
                                 fineRfr,
                                 Edit1,
                                 {&BtF1, &BtF2, &BtF3, &BtF4},
                                 {&BtF1w, &BtF2w, &BtF3w, &BtF4w},
                                 TForm3,
                                 keypadPointers()},
                                plan,
                                ini};

    // An operator action: a failure goes to the message box, as the window's event loop would show it.
    void act(const std::function<void()>& f) { platform::runGuarded(sink, f); }

    static std::array<std::unique_ptr<Button>, 14> makeKeypad() {
        std::array<std::unique_ptr<Button>, 14> b;
        for (int j = 0; j < 14; ++j)
            b[j] = std::make_unique<Button>("Bt" + std::to_string(j + 1), std::to_string(j + 1));
        return b;
    }
    std::array<Button*, 14> keypadPointers() {
        std::array<Button*, 14> p{};
        for (int j = 0; j < 14; ++j)
            p[j] = keypad[j].get();
        return p;
    }
};

} // namespace tarvel::test
