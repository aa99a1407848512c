#include "framework/output/progress.h"

#include <QProgressBar>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/services.h"

namespace {

std::vector<platform::ControlSpec> ProgressControls()
{
    using platform::ControlKind;
    std::vector<platform::ControlSpec> c;
    c.push_back({ControlKind::Static, TProgressDialog::kTextId, "", 12, 12, 296, 20});
    c.push_back({ControlKind::Gauge, TProgressDialog::kGaugeId, "", 12, 38, 296, 22});
    c.push_back({ControlKind::PushButton, platform::IDCANCEL, "Cancel", 120, 72, 80, 26});
    return c;
}

// The integer part of a value, kept within the range of the text fields.
long long WholePart(double v)
{
    if (!std::isfinite(v)) return 0;
    constexpr double limit = 9.0e15;
    return static_cast<long long>(std::trunc(std::clamp(v, -limit, limit)));
}

}  // namespace

namespace orbiscope {

int ProgressPercent(double value, double start, double end)
{
    if (!(end > start)) return 100;  // no span: the batch is as good as done
    const double p = (value - start) * 100.5 / (end - start);
    if (!(p >= 0.0)) return 0;  // below the start (or not a number)
    if (p > 100.0) return 100;
    return static_cast<int>(p);
}

std::string FormatIntegers(const std::string& format, std::initializer_list<long long> values)
{
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // %[flags][width](d|i|ld|li)
        std::size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ 0#", format[j])) ++j;
        while (j < format.size() && format[j] >= '0' && format[j] <= '9' && j - i < 6) ++j;
        if (j < format.size() && format[j] == 'l') ++j;
        if (j < format.size() && (format[j] == 'd' || format[j] == 'i') && next != values.end()) {
            std::string conversion = format.substr(i, j - i);
            if (!conversion.empty() && conversion.back() == 'l') conversion.pop_back();
            conversion += "lld";
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, conversion.c_str(), *next++);
            out += buffer;
            i = j;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace orbiscope

TProgressDialog::TProgressDialog(QWidget* parent, double endValue, double startValue, const char* caption,
                                 const char* textFormat, const char* gaugeFormat, int resourceId, void* /*module*/)
    // A child window of the form that runs the batch (usually modal itself),
    // so that the form's modality does not block it.  Made modal in turn
    // instead of disabling its parent: a disabled parent would disable this
    // child window and its Cancel button too.
    : platform::Dialog(parent, resourceId, caption ? caption : "Progress", ProgressControls()),
      end_(endValue),
      start_(startValue),
      textFormat_(textFormat ? textFormat : ""),
      gaugeFormat_(gaugeFormat ? gaugeFormat : "")
{
    setWindowFlag(Qt::Dialog);
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
    if (auto* gauge = qobject_cast<QProgressBar*>(Control(kGaugeId))) gauge->setTextVisible(true);
}

TProgressDialog::~TProgressDialog() { Destroy(); }

void TProgressDialog::Create()
{
    if (open_) return;
    SetupWindow();
    show();
    activateWindow();
    open_ = true;
}

void TProgressDialog::SetupWindow()
{
    platform::Dialog::SetupWindow();
    SetPercent(start_);
}

void TProgressDialog::SetPercent(double value)
{
    percent_ = orbiscope::ProgressPercent(value, start_, end_);
    if (auto* gauge = qobject_cast<QProgressBar*>(Control(kGaugeId))) {
        gauge->setValue(percent_);
        gauge->setFormat(QString::fromLatin1(orbiscope::FormatIntegers(gaugeFormat_, {percent_}).c_str()));
    }
    std::string text = orbiscope::FormatIntegers(textFormat_, {WholePart(value), WholePart(end_)});
    if (text.size() > 255) text.resize(255);
    SetControlText(kTextId, text);
    platform::PumpWaitingMessages();
}

std::string TProgressDialog::Text() const { return GetControlText(kTextId); }

std::string TProgressDialog::GaugeText() const
{
    auto* gauge = qobject_cast<QProgressBar*>(Control(kGaugeId));
    return gauge ? gauge->text().toLatin1().toStdString() : std::string();
}

void TProgressDialog::OnButton(int id)
{
    if (id == platform::IDCANCEL) Destroy();
    else platform::Dialog::OnButton(id);
}

void TProgressDialog::done(int result)
{
    // The window's close box ends it like Cancel.
    QDialog::done(result);
    Destroy();
}

void TProgressDialog::Destroy()
{
    open_ = false;
    if (isVisible()) hide();
}
