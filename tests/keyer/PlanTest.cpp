// The keyer's plan without devices: the actions of every step of small sequences, as short words.
#include "keyer/Plan.h"

#include "keyer/TransmissionEstimate.h"
#include "keyer/WsprPass.h"

#include <cmath>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>
#include <variant>

namespace tarvel::keyer {
namespace {

const char* name(Element e) {
    const char* names[] = {"pause", "dot", "dash", "gap", "letter", "symbols", "end"};
    return names[static_cast<int>(e)];
}

std::string word(const Action& step) {
    return std::visit(
        [](const auto& a) -> std::string {
            using A = std::decay_t<decltype(a)>;
            using namespace action;
            if constexpr (std::is_same_v<A, Key>)
                return a.down ? "key+" : "key-";
            else if constexpr (std::is_same_v<A, SetDfcwShift>)
                return "shift" + std::to_string(a.centiHz);
            else if constexpr (std::is_same_v<A, RetuneVfoA>)
                return "retune";
            else if constexpr (std::is_same_v<A, ShiftVfoA>) {
                std::ostringstream out;
                out << "mv" << a.fromNs << ":" << std::setprecision(17) << a.rfOffsetHz;
                return out.str();
            } else if constexpr (std::is_same_v<A, Log>)
                return a.record == LogRecord::Start ? "start" : a.record == LogRecord::End ? "end" : "stop";
            else if constexpr (std::is_same_v<A, Show>)
                return name(a.element);
            else if constexpr (std::is_same_v<A, Pass>)
                return a.sending ? "pass+" : "pass-";
            else if constexpr (std::is_same_v<A, ClearSentText>)
                return "clear";
            else if constexpr (std::is_same_v<A, CharacterSent>)
                return std::string("'") + a.symbol + "'";
            else if constexpr (std::is_same_v<A, ShiftTraced>)
                return "df" + std::to_string(a.centiHz) + "@" + std::to_string(a.position);
            else if constexpr (std::is_same_v<A, SwitchValues>)
                return "tt" + std::to_string(a.values.dotMs);
            else if constexpr (std::is_same_v<A, IdentificationBegun>)
                return "id" + std::to_string(a.unitMs);
            else if constexpr (std::is_same_v<A, Wait>)
                return "wait" + std::to_string(a.ms);
            else if constexpr (std::is_same_v<A, EndTransmission>)
                return "off";
            else if constexpr (std::is_same_v<A, MessagesIdle>)
                return "idle";
            else
                return "restart";
        },
        step);
}

// Every step from the first symbol to the end, one line of words per step.
std::string walk(std::string_view sequence, const KeyingValues& values, const StepConditions& conditions) {
    const KeyerPlan plan(sequence);
    PlanState state{1, values, values, 0, values.dotMs};
    std::string out;
    do {
        for (const Action& a : plan.step(state, conditions))
            out += word(a) + " ";
        out.back() = '\n';
    } while (state.position != 1 && state.position <= plan.length());
    return out;
}

const KeyingValues kCw{};
const KeyingValues kDfcw3{3000, 1, 3, 2, 200, DfcwMode::Dfcw};

TEST(KeyerPlan, StepsOfSmallSequencesInEachMode) {
    const StepConditions message{{}, false, true, false};
    EXPECT_EQ(walk("<E*=", kCw, message), "clear pass+ start key- pause wait1000\n"
                                          "'E' wait1\n"
                                          "key+ dot df0@3 wait100\n"
                                          "key- letter df0@5 wait300 end pass- end off idle\n");
    // DFCW looks ahead at each gap: dots 2 Hz low, dashes on the frequency, VFO A retuned every time.
    EXPECT_EQ(walk("<A*,-=", kDfcw3, message), "clear pass+ start key- shift200 retune pause wait1000\n"
                                               "'A' wait1\n"
                                               "key+ dot df200@3 wait3000\n"
                                               "key- shift0 retune gap df0@5 wait1000\n"
                                               "key+ dash df0@5 wait3000\n"
                                               "key- retune letter df0@7 wait6000 end pass- end off idle\n");
    // By hand (no message) the end is only shown; with the loop on the pass starts again.
    EXPECT_EQ(walk("<*", kCw, {}),
              "clear pass+ start key- pause wait1000\nkey+ dot df0@2 wait100 end pass- idle\n");
    EXPECT_EQ(walk("<*", kCw, {{}, true, true, false}),
              "clear pass+ start key- pause wait1000\nkey+ dot df0@2 wait100 end pass- end restart\n");
}

TEST(KeyerPlan, FskcwHoldsTheKeyAndMovesVfoAAtEveryElementEdge) {
    const KeyingValues fskcw3{3000, 3, 1, 3, 200, DfcwMode::Fskcw};
    // Marks on VFO A, gaps 2 Hz below; the last gap drops key and PTT together.
    EXPECT_EQ(walk("<A*,-=", fskcw3, {{}, false, true, false}),
              "clear pass+ start key- pause wait1000\n"
              "'A' wait1\n"
              "key+ mv0:0 dot df0@3 wait3000\n"
              "mv0:-2 gap df200@5 wait3000\n"
              "key+ mv0:0 dash df0@5 wait9000\n"
              "key- letter df0@7 wait9000 end pass- end off idle\n");
    // The identification is keyed on and off on VFO A, and FSKCW comes back after it.
    IdSpeeds speeds;
    speeds.endCw = true;
    EXPECT_EQ(
        walk("<E*=#,*=^", fskcw3, {speeds, false, true, false}),
        "clear pass+ start key- pause wait1000\n'E' wait1\nkey+ mv0:0 dot df0@3 wait3000\n"
        "mv0:-2 letter df200@5 wait9000\n"
        "key- mv0:0 tt100 wait100 shift0 id100\n"
        "key- shift0 retune gap df0@7 wait100\nkey+ dot df0@7 wait100\nkey- retune letter df0@9 wait300\n"
        "tt3000 wait1000 end pass- end off idle\n");
}

TEST(KeyerPlan, WsprPassKeysOneCarrierOf162SymbolsOnExactInstants) {
    wspr::Symbols symbols{};
    for (std::size_t k = 0; k < symbols.size(); ++k)
        symbols[k] = static_cast<std::uint8_t>((k * 7 + k / 5) % 4);
    const std::string sequence = wsprpass::sequence(symbols);
    // Symbol k at k x 8192/12000 s to the nearest nanosecond from the first, (s - 1.5) x 12000/8192 Hz.
    std::string carrier = "clear pass+ start key- pause wait1000\nkey+ symbols ";
    for (std::size_t k = 0; k < symbols.size(); ++k)
        carrier += word(action::ShiftVfoA{std::llround(static_cast<long double>(k) * 8192e9L / 12000.0L),
                                          (symbols[k] - 1.5) * 12000.0 / 8192.0}) +
                   " ";
    EXPECT_EQ(walk(sequence, kCw, {{}, false, true, false}),
              carrier + "wait110592\nkey- wait0 end pass- end off idle\n");
    EXPECT_EQ(EstimateMilliseconds(sequence, kCw, {}), 111'592.0);
    // A symbol out of range is no pass: the chain stops at its marker.
    std::string bad = sequence;
    bad[100] = '4';
    PlanState at{2, kCw, kCw, 0, 100};
    EXPECT_TRUE(KeyerPlan(bad).step(at, {}).empty());
}

TEST(KeyerPlan, IdentificationSwitchesValuesAndCaretRestoresThem) {
    IdSpeeds speeds;
    speeds.endQrss3 = true;
    EXPECT_EQ(walk("<#,*=^", kCw, {speeds, false, true, false}), "clear pass+ start key- pause wait1000\n"
                                                                 "tt3000 wait3000 shift0 id3000\n"
                                                                 "key- shift0 retune gap df0@4 wait3000\n"
                                                                 "key+ dot df0@4 wait3000\n"
                                                                 "key- retune letter df0@6 wait9000\n"
                                                                 "tt100 wait1000 end pass- end off idle\n");
    // An unknown symbol stops the chain where it is.
    PlanState state{2, kCw, kCw, 0, 100};
    EXPECT_TRUE(KeyerPlan("<~").step(state, {}).empty());
    EXPECT_EQ(state.position, 2);
}

TEST(KeyerPlan, EstimateCountsTheValuesOfTheStartAndTheQrss3UnitWhenBothIdButtonsAreChecked) {
    IdSpeeds both;
    both.endCw = true;
    both.endQrss3 = true;
    // The keyer sends such an ID at the CW dot, the estimate counts it at QRSS3: 100 + 3000 + 3000 x 3.
    EXPECT_EQ(EstimateMilliseconds("<#*=^", kCw, both), 100.0 + 3000 + 9000);
    EXPECT_NE(walk("<#*=^", kCw, {both, false, false, false}).find("\ntt100 wait100 "), std::string::npos);
}

} // namespace
} // namespace tarvel::keyer
