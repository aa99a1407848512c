// The expression calculator (Calculate > Expression Evaluator): the user types
// an expression, chooses degrees or radians, and reads the value in the result
// field; the dialog stays open for the next expression until Cancel, which
// keeps the last expression, result and mode among the stored dialog values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"

class TEvalEntry : public TMyEdit {
public:
    TEvalEntry(TForm* parent, int id, int textLimit);
};

class TEvalRadioButton : public TMyRadioButton {
public:
    TEvalRadioButton(TForm* parent, int id);
};

// Dialog 800.  Its 166-byte transfer buffer: expression[81] at 0, result[81]
// at 81, "Degrees" at 162, "Radians" at 164.  It is record 17 of the stored
// dialog values.
class TEvalForm : public TForm {
public:
    static constexpr int kResourceId = 800;
    static constexpr int kCommand = 6510;
    static constexpr int kStoredRecord = 17;
    static constexpr std::size_t kTransferSize = 166;
    enum ControlId : int { kExpression = 801, kResult = 804, kDegrees = 802, kRadians = 803, kClear = 120 };
    enum Offset : std::size_t { kExpressionAt = 0, kResultAt = 81, kDegreesAt = 162, kRadiansAt = 164 };
    static constexpr std::size_t kTextSize = 81;

    explicit TEvalForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    // The stored values into the transfer buffer and the controls.
    void SetupWindow() override;
    // Evaluates the expression into the result field; never closes.
    bool CanClose() override;
    // False, with the message of the evaluator's code, when the text fails.
    bool CheckExpression(const std::string& text, bool degrees);
    void CmCancel();
    void CmClear();
    // Escape and the close box are Cancel too: the values are kept.
    void reject() override { CmCancel(); }
};

// The message of an evaluator error code ("Error 9: divide by zero").
std::string EvaluatorErrorText(int code);
// The result field's text: "%lf" for magnitudes from 1e-6 to 1e6, else "%.6e".
std::string FormatEvaluatorResult(double value);

namespace calculator {
// Binds command 6510 of the client to the dialog.
void RegisterExpressionCalculator();
}  // namespace calculator
