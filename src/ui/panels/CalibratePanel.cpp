#include "ui/panels/CalibratePanel.h"

#include "platform/Cp1251.h"
#include "platform/Locale.h"
#include "settings/Keys.h"

#include <charconv>

namespace tarvel::ui::panels {
namespace {

// Fixed-point with the locale's decimal separator, as the window's other numbers.
std::string fixed(double value, int decimals, bool sign = false) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out(text, error == std::errc() ? end : text);
    for (char& c : out)
        if (c == '.')
            c = platform::decimalSeparator();
    if (sign && !out.starts_with('-'))
        out.insert(out.begin(), '+');
    return out;
}

std::string disciplineText(const platform::ClockDisciplineState& state) {
    if (!state.synchronised)
        return "not synchronised: the card is measured against the computer's own crystal";
    return "synchronised (estimated error " + std::to_string(state.estimatedErrorUs) + " us)";
}

} // namespace

CalibratePanel::CalibratePanel(forms::MainForm& form, forms::CalibrateForm& window,
                               audio::ClockMeasurement& measurement, const freqplan::FrequencyPlan& plan,
                               OptionsPanel& options, const platform::ClockDiscipline& discipline)
    : window_(window), measurement_(measurement), plan_(plan), options_(options), discipline_(discipline) {
    form.Calibrate1.onClick = [this] {
        window_.TFormCalibrate.show();
        tick();
    };
    window_.BtCalApply.onClick = [this] { apply(); };
    window_.BtCalClose.onClick = [this] { window_.TFormCalibrate.hide(); };
    window_.BtCalApply.setEnabled(false);
}

void CalibratePanel::tick() {
    measurement_.take();
    if (window_.TFormCalibrate.visible())
        showFigures();
}

void CalibratePanel::showFigures() {
    forms::CalibrateForm& w = window_;
    shown_ = measurement_.estimate();
    const audio::ClockEstimate& e = shown_;
    if (measurement_.playing())
        w.LbCalState.setCaption(e.valid ? "Measuring while the tone plays"
                                        : "Measuring: too early for an estimate");
    else
        w.LbCalState.setCaption(e.valid
                                    ? "Not playing: the figures are the last run's; press Start to measure "
                                      "again"
                                    : "Not playing: press Start to measure");
    const std::string& pcm = measurement_.device();
    w.LbCalDeviceValue.setCaption(pcm.empty() ? "-" : platform::utf8ToCp1251(pcm));
    w.LbCalKindValue.setCaption(pcm.empty()                 ? "-"
                                : audio::isHardwarePcm(pcm) ? "hardware (the driver stamps its position)"
                                                            : "sound server (its reported delay wanders)");
    w.LbCalOffsetValue.setCaption(e.valid ? fixed(e.offsetPpm, 2, true) + " ppm" : "-");
    w.LbCalUncertaintyValue.setCaption(
        e.valid ? platform::utf8ToCp1251("± ") + fixed(e.uncertaintyPpm, 2) + " ppm" : "-");
    w.LbCalTimeValue.setCaption(e.valid || e.seconds > 0 ? fixed(e.seconds, 0) + " s" : "-");
    w.LbCalSystemClockValue.setCaption(disciplineText(discipline_.state()));
    const audio::CancelledOffset& cancelled = measurement_.cancelled();
    const std::optional<double> factor = measurement_.proposedFactor(plan_.factors().correction, e);
    if (!cancelled.refusal.empty())
        w.LbCalCorrectionValue.setCaption("none: the stored " +
                                          std::string(settings::keys::correctionCancelsPpm.name) +
                                          " is not a usable offset (see the README)");
    else
        w.LbCalCorrectionValue.setCaption(factor ? fixed(*factor, 8) : "-");
    w.BtCalApply.setEnabled(factor.has_value());
}

void CalibratePanel::apply() {
    const std::optional<double> factor = measurement_.proposedFactor(plan_.factors().correction, shown_);
    if (!factor)
        return;
    const double before = plan_.factors().correction;
    // As the operator would type it: stored, and used from the next retune.
    options_.showCorrection(*factor);
    try {
        measurement_.applied(shown_.offsetPpm);
    } catch (...) {
        // A factor stored without the offset it cancels would be corrected again at the next measurement.
        options_.showCorrection(before);
        throw;
    }
    showFigures();
}

} // namespace tarvel::ui::panels
