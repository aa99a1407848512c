#include "framework/forms/calculator.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

#include "framework/app/mdiclient.h"
#include "framework/app/orbiscope.h"
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

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

}  // namespace

TEvalEntry::TEvalEntry(TForm* parent, int id, int textLimit) : TMyEdit(parent, id, textLimit) { SetHints(kEvalHints); }
TEvalRadioButton::TEvalRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(kEvalHints); }

std::vector<ControlSpec> TEvalForm::ControlTable()
{
    using namespace controls;
    const int limit = int(kTextSize);
    return {
        Label("Expression", 10, 14, 80),
        Edit(kExpression, limit, 95, 12, 395),
        Label("Result =", 10, 46, 80),
        Edit(kResult, limit, 95, 44, 395),
        Group("Mode", 10, 76, 230, 50),
        Radio(kDegrees, "Degrees", 20, 96, 100, true),
        Radio(kRadians, "Radians", 130, 96, 100),
        Button(platform::IDOK, "OK", 10, 138),
        Button(platform::IDCANCEL, "Cancel", 100, 138),
        Button(platform::IDHELP, "Help", 190, 138),
        Button(kClear, "Clear", 280, 138),
    };
}

TEvalForm::TEvalForm(QWidget* parent) : TForm(parent, kResourceId, "Expression Evaluator", ControlTable())
{
    new TEvalEntry(this, kExpression, int(kTextSize));
    new TEvalEntry(this, kResult, int(kTextSize));
    new TEvalRadioButton(this, kDegrees);
    new TEvalRadioButton(this, kRadians);
    SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

void TEvalForm::SetupWindow()
{
    TOrbiscope* app = App();
    if (app && TransferBuffer()) {
        const auto stored = app->FormRecord(kStoredRecord);
        std::memcpy(TransferBuffer(), stored.data(), std::min(stored.size(), kTransferSize));
    }
    TForm::SetupWindow();
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
    char text[400];
    const locale_t previous = uselocale(CLocale());
    std::snprintf(text, sizeof text, fixed ? "%lf" : "%.6e", value);
    uselocale(previous);
    return text;
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

bool TEvalForm::CanClose()
{
    std::vector<std::uint8_t> own;
    std::uint8_t* buffer = TransferBuffer();
    if (!buffer) {
        own.assign(kTransferSize, 0);
        buffer = own.data();
        SetTransferBuffer(buffer, kTransferSize);
    }
    TransferData(platform::TransferDirection::Get);
    const std::span<std::uint8_t> v(buffer, kTransferSize);
    const std::string expression = transfer::GetText(v, kExpressionAt, kTextSize);
    if (!CheckField("Expression", expression, FieldType::Text, 0, 0, "")) return false;
    const bool degrees = transfer::GetWord(v, kDegreesAt) != 0;
    if (CheckExpression(expression, degrees)) {
        TEvaluate evaluate;
        const double value = evaluate.Evaluate(expression.c_str(), 1.0, 0, degrees ? 1 : 0);
        transfer::SetText(v, kResultAt, kTextSize, FormatEvaluatorResult(value));
        TransferData(platform::TransferDirection::Set);
    }
    if (!own.empty()) SetTransferBuffer(nullptr, 0);
    return false;
}

void TEvalForm::CmCancel()
{
    TransferData(platform::TransferDirection::Get);
    TOrbiscope* app = App();
    if (app && TransferBuffer()) {
        const auto stored = app->FormRecord(kStoredRecord);
        std::memcpy(stored.data(), TransferBuffer(), std::min(stored.size(), kTransferSize));
    }
    CloseWindow(platform::IDCANCEL);
}

void TEvalForm::CmClear()
{
    std::vector<std::uint8_t> zero(kTransferSize, 0);
    transfer::SetWord(zero, kDegreesAt, 1);
    if (std::uint8_t* buffer = TransferBuffer()) std::memcpy(buffer, zero.data(), kTransferSize);
    WriteControls(zero);
}

namespace calculator {

void RegisterExpressionCalculator()
{
    orbiscope::RegisterCalculator(TEvalForm::kCommand,
                                  [](TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size) {
                                      if (size < TEvalForm::kTransferSize) return;
                                      TEvalForm form(&client);
                                      form.SetTransferBuffer(buffer, size);
                                      form.Execute();
                                  });
}

}  // namespace calculator
