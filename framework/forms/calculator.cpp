#include "framework/forms/calculator.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
#include "framework/output/report_format.h"
#include "framework/app/registration.h"
#include "framework/forms/control_table.h"
#include "framework/forms/evaluate.h"
#include "platform/messagebox.h"

using platform::ControlSpec;

namespace {

// The result field has no hint of its own: it clears the status bar.
constexpr HintEntry kEvalHints[] = {
    {TEvalForm::kExpression, 7184, "Enter the expression"},
    {TEvalForm::kDegrees, 7185, "Set evaluator to work in degrees"},
    {TEvalForm::kRadians, 7186, "Set evaluator to work in radians"},
};

}  // namespace

// ---- the calculator pattern -------------------------------------------------

CalculatorRecord::CalculatorRecord(const std::vector<ControlSpec>& controls, std::vector<std::uint8_t> bytes)
    : controls_(&controls), bytes_(std::move(bytes))
{
}

CalculatorRecord::Field CalculatorRecord::Find(int id) const
{
    Field field;
    for (const platform::TransferField& f : platform::TransferLayout(*controls_)) {
        if (f.id != id) continue;
        field.offset = f.offset;
        field.size = f.size;
        field.found = f.offset + f.size <= bytes_.size();
        break;
    }
    return field;
}

std::string CalculatorRecord::Text(int id) const
{
    const Field f = Find(id);
    return f.found ? transfer::GetText(bytes_, f.offset, f.size) : std::string();
}

void CalculatorRecord::SetText(int id, std::string_view text)
{
    const Field f = Find(id);
    if (f.found) transfer::SetText(bytes_, f.offset, f.size, text);
}

double CalculatorRecord::Number(int id) const { return LeadingNumber(Text(id)); }

long CalculatorRecord::Integer(int id) const
{
    const std::string text = Text(id);
    return std::strtol(text.c_str(), nullptr, 10);
}

bool CalculatorRecord::On(int id) const
{
    const Field f = Find(id);
    return f.found && transfer::GetWord(bytes_, f.offset) != 0;
}

void CalculatorRecord::SetOn(int id, bool on)
{
    const Field f = Find(id);
    if (f.found) transfer::SetWord(bytes_, f.offset, on ? 1 : 0);
}

namespace {

const orbiscope::CalculatorInfo& InfoOf(int command)
{
    static const orbiscope::CalculatorInfo none{0, "", 0, 0, 0, {}};
    const orbiscope::CalculatorInfo* info = orbiscope::FindCalculatorInfo(command);
    return info ? *info : none;
}

bool AllZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

TCalculatorForm::TCalculatorForm(QWidget* parent, int command, const std::string& caption,
                                 std::vector<ControlSpec> controls)
    : TForm(parent, InfoOf(command).dialog, caption, std::move(controls)), command_(command),
      storedRecord_(InfoOf(command).storedRecord)
{
    SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(ResourceId()); });
}

void TCalculatorForm::SetupWindow()
{
    TOrbiscope* app = App();
    std::uint8_t* buffer = TransferBuffer();
    if (app && buffer) {
        const auto stored = app->FormRecord(storedRecord_);
        const std::size_t n = std::min(stored.size(), platform::TransferSize(Controls()));
        if (!AllZero(stored)) std::memcpy(buffer, stored.data(), n);
    }
    TForm::SetupWindow();
}

CalculatorRecord TCalculatorForm::ReadRecord() const { return CalculatorRecord(Controls(), ReadControls()); }

void TCalculatorForm::WriteRecord(const CalculatorRecord& record) { WriteControls(record.Bytes()); }

bool TCalculatorForm::CheckFields(const CalculatorRecord& record, std::span<const CalculatorCheck> checks)
{
    for (const CalculatorCheck& c : checks)
        if (!CheckField(c.label, record.Text(c.id), c.type, c.minimum, c.maximum, c.unit)) return false;
    return true;
}

void TCalculatorForm::Warn(std::string_view text, std::string_view caption)
{
    platform::MessageBox(this, text, caption, platform::MB_ICONEXCLAMATION);
}

bool TCalculatorForm::CanClose()
{
    CalculatorRecord record = ReadRecord();
    if (Calculate(record)) WriteRecord(record);
    return false;
}

void TCalculatorForm::CmCancel()
{
    if (UnstorableText() == 0) {
        const std::vector<std::uint8_t> values = ReadControls();
        TOrbiscope* app = App();
        const std::span<std::uint8_t> stored = app ? app->FormRecord(storedRecord_) : std::span<std::uint8_t>();
        if (std::uint8_t* buffer = TransferBuffer()) std::memcpy(buffer, values.data(), values.size());
        if (!stored.empty()) std::memcpy(stored.data(), values.data(), std::min(stored.size(), values.size()));
    }
    CloseWindow(platform::IDCANCEL);
}

void TCalculatorForm::CmClear()
{
    CalculatorRecord record(Controls(), std::vector<std::uint8_t>(platform::TransferSize(Controls()), 0));
    ClearDefaults(record);
    if (std::uint8_t* buffer = TransferBuffer()) std::memcpy(buffer, record.Bytes().data(), record.Bytes().size());
    WriteRecord(record);
}

void RegisterCalculatorForm(int command, CalculatorFactory make)
{
    orbiscope::RegisterCalculator(command, [make](TOrbiscopeMDIClient& client, std::uint8_t* buffer,
                                                  std::size_t size) {
        const std::unique_ptr<TCalculatorForm> form = make(&client);
        if (!form || size < platform::TransferSize(form->Controls())) return;
        form->SetTransferBuffer(buffer, size);
        form->Execute();
    });
}

std::vector<ControlSpec> CalculatorButtons(int y)
{
    using namespace controls;
    return {
        Button(platform::IDOK, "OK", 10, y),
        Button(platform::IDCANCEL, "Cancel", 100, y),
        Button(platform::IDHELP, "Help", 190, y),
        Button(TCalculatorForm::kClear, "Clear", 280, y),
    };
}

// ---- the expression calculator ------------------------------------------------

TEvalEntry::TEvalEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) { SetHints(kEvalHints); }
TEvalRadioButton::TEvalRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(kEvalHints); }

std::vector<ControlSpec> TEvalForm::ControlTable()
{
    using namespace controls;
    const int limit = int(kTextSize);
    std::vector<ControlSpec> table = {
        Label("Expression", 10, 14, 80),
        Edit(kExpression, limit, 95, 12, 395),
        Label("Result =", 10, 46, 80),
        Edit(kResult, limit, 95, 44, 395),
        Group("Mode", 10, 76, 230, 50),
        Radio(kDegrees, "Degrees", 20, 96, 100, true),
        Radio(kRadians, "Radians", 130, 96, 100),
    };
    for (ControlSpec& b : CalculatorButtons(138)) table.push_back(std::move(b));
    return table;
}

TEvalForm::TEvalForm(QWidget* parent) : TCalculatorForm(parent, kCommand, "Expression Evaluator", ControlTable())
{
    new TEvalEntry(this, kExpression, int(kTextSize));
    new TEvalEntry(this, kResult, int(kTextSize));
    new TEvalRadioButton(this, kDegrees);
    new TEvalRadioButton(this, kRadians);
}

std::string EvaluatorErrorText(int code)
{
    const char* format = "Error %d: expression syntax";
    switch (code) {
    case 2: format = "Error %d: invalid character"; break;
    case 3: format = "Error %d: invalid symbol or function name"; break;
    case 4: format = "Error %d: bracket missing"; break;
    case 9: format = "Error %d: divide by zero"; break;
    case 10: format = "Error %d: log domain"; break;
    case 11: format = "Error %d: magnitude of function argument"; break;
    case 12: format = "Error %d: square root of a negative number"; break;
    default: break;
    }
    char text[96];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

std::string FormatEvaluatorResult(double value)
{
    const double magnitude = std::fabs(value);
    const bool fixed = magnitude >= 1e-6 && magnitude <= 1e6;
    // As the reports print: "-0" evaluates to a zero without its sign.
    return fixed ? ReportFormat("%lf", value) : ReportFormat("%.6e", value);
}

bool TEvalForm::CheckExpression(const std::string& text, bool degrees)
{
    TEvaluate evaluate;
    evaluate.Evaluate(text.c_str(), 1.0, 0, degrees ? 1 : 0);
    if (evaluate.ErrorCode() == 0) return true;
    platform::MessageBox(this, EvaluatorErrorText(evaluate.ErrorCode()), "Expression Evaluator",
                         platform::MB_ICONEXCLAMATION);
    return false;
}

bool TEvalForm::Calculate(CalculatorRecord& record)
{
    const std::string expression = record.Text(kExpression);
    if (!CheckField("Expression", expression, FieldType::Text, 0, 0, "")) return false;
    const bool degrees = record.On(kDegrees);
    if (!CheckExpression(expression, degrees)) return false;
    TEvaluate evaluate;
    const double value = evaluate.Evaluate(expression.c_str(), 1.0, 0, degrees ? 1 : 0);
    record.SetText(kResult, FormatEvaluatorResult(value));
    return true;
}

namespace calculator {

void RegisterExpressionCalculator() { RegisterCalculatorForm<TEvalForm>(TEvalForm::kCommand); }

}  // namespace calculator
