// The calculators of the Calculate menu, and the first of them, the
// expression calculator.
//
// Every calculator is one modal dialog that computes in its close check: OK
// validates the inputs field by field, computes, writes the results into the
// result fields and keeps the dialog open for the next try.  Cancel (also
// Escape and the close box) stores the fields, results included, among the
// stored dialog values and closes; the next opening shows them again.  Clear
// empties every field.  TCalculatorForm holds that behaviour once; a
// calculator gives its control table, its field checks and its Calculate.
//
// The expression calculator (Calculate > Expression Evaluator): the user
// types an expression, chooses degrees or radians, and reads the value in the
// result field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"

// One input check of a calculator, in the order the calculator validates.
struct CalculatorCheck {
    int id;               // the edit's control id
    const char* label;    // the label the messages show
    FieldType type;
    double minimum;
    double maximum;
    const char* unit;
};

// A calculator's working record: its controls' values in transfer layout,
// read and written by control id.  An id the dialog does not transfer reads
// as empty (or 0) and is not written.
class CalculatorRecord {
public:
    CalculatorRecord(const std::vector<platform::ControlSpec>& controls, std::vector<std::uint8_t> bytes);

    std::string Text(int id) const;
    void SetText(int id, std::string_view text);
    // The leading number of the text, read as the C run-time reads it.
    double Number(int id) const;
    // The leading whole number of the text (integer fields).
    long Integer(int id) const;
    bool On(int id) const;
    void SetOn(int id, bool on);

    std::span<std::uint8_t> Bytes() { return bytes_; }
    std::span<const std::uint8_t> Bytes() const { return bytes_; }

private:
    struct Field {
        std::size_t offset = 0;
        std::size_t size = 0;
        bool found = false;
    };
    Field Find(int id) const;

    const std::vector<platform::ControlSpec>* controls_;
    std::vector<std::uint8_t> bytes_;
};

class TCalculatorForm : public TForm {
public:
    static constexpr int kClear = 120;

    // `command` is the calculator's menu command: its dialog id and its
    // stored record come from the Calculators() table.
    TCalculatorForm(QWidget* parent, int command, const std::string& caption,
                    std::vector<platform::ControlSpec> controls);

    int Command() const { return command_; }
    int StoredRecord() const { return storedRecord_; }

    // The stored record replaces the working record the menu prepared, then
    // shows in the controls.  A stored record that is all zero bytes was
    // never stored: the prepared record (with its presets) stays.
    void SetupWindow() override;
    // The compute step; never closes the dialog.
    bool CanClose() override;
    // Cancel (Escape and the close box too) keeps the values, all of them or
    // none: with a text the stored record cannot hold, the record stays as
    // it was, never its own text beside the other fields' typing.
    void CmCancel();
    void CmClear();

    CalculatorRecord ReadRecord() const;
    void WriteRecord(const CalculatorRecord& record);
    // The checks in order; the first failure is reported and ends them.
    bool CheckFields(const CalculatorRecord& record, std::span<const CalculatorCheck> checks);
    // A calculator's own message, owned by the dialog, with the warning icon.
    void Warn(std::string_view text, std::string_view caption);

protected:
    // Validates, computes and formats into the record; true when the record
    // is to be written back into the controls.
    virtual bool Calculate(CalculatorRecord& record) = 0;
    // What Clear sets on top of the zero record (radio buttons).
    virtual void ClearDefaults(CalculatorRecord& record) { (void)record; }

private:
    int command_;
    int storedRecord_;
};

// Registers a calculator on its menu command: the form is made with the
// client as parent and runs on the client's prepared buffer as its working
// record.
using CalculatorFactory = std::function<std::unique_ptr<TCalculatorForm>(QWidget* parent)>;
void RegisterCalculatorForm(int command, CalculatorFactory make);
template <class Form>
void RegisterCalculatorForm(int command)
{
    RegisterCalculatorForm(command, [](QWidget* parent) { return std::make_unique<Form>(parent); });
}

// The four buttons every calculator has (OK, Cancel, Help, Clear), in a row
// at height y.
std::vector<platform::ControlSpec> CalculatorButtons(int y);

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
class TEvalForm : public TCalculatorForm {
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

    // False, with the message of the evaluator's code, when the text fails.
    bool CheckExpression(const std::string& text, bool degrees);

protected:
    // Evaluates the expression into the result field.
    bool Calculate(CalculatorRecord& record) override;
    void ClearDefaults(CalculatorRecord& record) override { record.SetOn(kDegrees, true); }
};

// The message of an evaluator error code ("Error 9: divide by zero").
std::string EvaluatorErrorText(int code);
// The result field's text: "%lf" for magnitudes from 1e-6 to 1e6, else "%.6e".
std::string FormatEvaluatorResult(double value);

namespace calculator {
// Binds command 6510 of the client to the dialog.
void RegisterExpressionCalculator();
}  // namespace calculator
