// TProgressDialog: the window a long batch shows while it works through its
// items.  The batch's loop goes on while it is up (it is not run modally),
// yet it alone takes clicks and keys: its parent, the form that started the
// batch, and every other window are blocked until it goes, so that nothing
// can be closed or started under the run while its Cancel stays usable.  It
// keeps the program alive by pumping waiting messages at each step.
#pragma once

#include <string>

#include "platform/dialog.h"

class TProgressDialog : public platform::Dialog {
public:
    static constexpr int kResourceId = 23001;
    static constexpr int kTextId = 23002;
    static constexpr int kGaugeId = 23003;

    // The formats take integers: the text format the current and the end
    // value ("Processing %d of %d"), the gauge format the percentage ("%d%%").
    TProgressDialog(QWidget* parent, double endValue, double startValue, const char* caption, const char* textFormat,
                    const char* gaugeFormat, int resourceId = kResourceId, void* module = nullptr);
    ~TProgressDialog() override;

    // Shows the dialog, in front of its parent, without waiting (the batch's
    // loop goes on).
    void Create();
    void SetupWindow() override;
    void SetPercent(double value);
    // Closes the window: the other windows take input again.
    void Destroy();
    // Whether the window is still up (false once the user cancelled it).
    bool IsOpen() const { return open_; }

    int Percent() const { return percent_; }
    std::string Text() const;
    std::string GaugeText() const;

    void OnButton(int id) override;

protected:
    void done(int result) override;

private:
    double end_;
    double start_;
    std::string textFormat_;
    std::string gaugeFormat_;
    int percent_ = 0;
    bool open_ = false;
};

namespace orbiscope {

// The percentage done: (value - start) x 100.5 / (end - start), truncated and
// at most 100; 100 when the end is not above the start, 0 below the start.
int ProgressPercent(double value, double start, double end);

// printf-like formatting of integer fields only ("%d", "%5d", "%%"); any
// other conversion is written as it stands, so no format text can read
// arguments that are not there.
std::string FormatIntegers(const std::string& format, std::initializer_list<long long> values);

}  // namespace orbiscope
