// Shared by the fuzz entry points of the batch forms: the input is the text
// file a batch form reads.  The form is filled with valid values of its own,
// confirmed once and cancelled after that; the report goes to a file of the
// harness's folder when the run asks for one.  A form whose own fields pass
// closes on its first OK whatever the file holds, so a second call of the
// driver is a fault.
#pragma once

#include <ctime>
#include <functional>

#include "fuzz/window_support.h"
#include "platform/dialog.h"
#include "platform/filedialog.h"
#include "platform/services.h"
#include "pointing/sun/solar_form_layout.h"
#include "pointing/sun/sun_registration.h"

namespace fuzzsupport {

struct BatchForm {
    int resourceId;
    int command;
    int fileControl;        // the edit of the input file's name
    const char* inputName;  // the input's file name in the harness's folder
};

// Fills the form's other fields.
using BatchFormFiller = std::function<void(platform::Dialog&)>;

inline void RunBatchForm(const BatchForm& form, const std::uint8_t* data, std::size_t size,
                         const BatchFormFiller& fill)
{
    // Tuesday 5 March 2024, 12:00 UTC: the magnetic model's date and the
    // report's date line stay the same from one input to the next.
    static constexpr std::time_t kFixedClock = 1709640000;
    static const bool registered = [] {
        WindowHarness::Get();
        platform::SetClockOverride([] { return kFixedClock; });
        orbiscope::RegisterSunWindows();
        return true;
    }();
    (void)registered;
    WindowHarness& harness = WindowHarness::Get();
    const std::filesystem::path input = harness.Input(data, size, form.inputName);
    if (input.empty()) return;
    const std::filesystem::path report = harness.File("report");
    int calls = 0;
    platform::SetDialogDriver(form.resourceId, [&](platform::Dialog& d) {
        if (++calls > 1) return platform::IDCANCEL;
        d.SetControlText(form.fileControl, input.string());
        fill(d);
        return platform::IDOK;
    });
    platform::QueueFileDialogAnswer({{report.string()}});
    harness.Dispatch(form.command);
    FUZZ_CHECK(calls == 1);
    platform::ClearFileDialogAnswers();
    std::error_code ec;
    std::filesystem::remove(report, ec);
}

// The options of a solar-outage batch form picked by a number (the input's
// length), so that every layout and search step gets inputs: the layout from
// the number modulo 3, then the resolution, the season group, the beamwidth
// and the time output from its next bits.
inline void SetSolarBatchOptions(platform::Dialog& d, std::size_t pick)
{
    using namespace solarform;
    const int layout = static_cast<int>(pick % 3);
    const std::size_t bits = pick / 3;
    const auto choose = [&d](int on, int off) {
        d.SetCheck(on, 1);
        d.SetCheck(off, 0);
    };
    const int layouts[] = {kVertical, kHorizontal, kHtml};
    for (int i = 0; i < 3; ++i) d.SetCheck(layouts[i], i == layout ? 1 : 0);
    if (bits & 1) choose(kSecond, kMinute);
    else choose(kMinute, kSecond);
    if (bits & 2) choose(kLate, kEarly);
    else choose(kEarly, kLate);
    if (bits & 4) choose(kWide, kStandard);
    else choose(kStandard, kWide);
    if (bits & 8) choose(kGmt, kLocal);
    else choose(kLocal, kGmt);
}

}  // namespace fuzzsupport
