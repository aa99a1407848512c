// The expression calculator: the result field's two formats, the messages of
// the evaluator's codes, and the dialog run from the Calculate menu with its
// stored record.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <cmath>
#include <limits>

#include "framework/forms/calculator.h"
#include "tests/framework/app/gui_support.h"

namespace {

using F = TEvalForm;

TEST(EvalResultText, FixedBetweenAMillionthAndAMillionElseExponent)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {5.0, "5.000000"},
        {1000000.0, "1000000.000000"},
        {1000001.0, "1.000001e+06"},
        {0.000001, "0.000001"},
        {0.0000009, "9.000000e-07"},
        {0.0, "0.000000e+00"},
        {-0.0, "0.000000e+00"},  // "-0" evaluates to a zero without its sign
        {-0.5, "-0.500000"},
        {-2.5e9, "-2.500000e+09"},
        {0.4999999864914768, "0.500000"},
        {-0.9880316240928618, "-0.988032"},
        {std::numeric_limits<double>::infinity(), "inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatEvaluatorResult(c.value), c.text) << c.value;
    EXPECT_NE(FormatEvaluatorResult(std::nan("")).find("nan"), std::string::npos);
}

TEST(EvalErrorText, EachCodeHasItsWords)
{
    struct Case { int code; const char* text; };
    const Case cases[] = {
        {1, "Error 1: expression syntax"},
        {2, "Error 2: invalid character"},
        {3, "Error 3: invalid symbol or function name"},
        {4, "Error 4: bracket missing"},
        {6, "Error 6: expression syntax"},
        {8, "Error 8: expression syntax"},
        {9, "Error 9: divide by zero"},
        {10, "Error 10: log domain"},
        {11, "Error 11: magnitude of function argument"},
        {12, "Error 12: square root of a negative number"},
    };
    for (const Case& c : cases) EXPECT_EQ(EvaluatorErrorText(c.code), c.text);
}

class CalculatorTest : public ::testing::Test {
protected:
    CalculatorTest() { calculator::RegisterExpressionCalculator(); }
    ~CalculatorTest() override { platform::ClearDialogDrivers(); }

    // Runs Calculate > Expression Evaluator; `script` sees the dialog before
    // each press of `buttons` (the last press is Cancel, which closes it).
    void Run(std::vector<int> buttons, std::function<void(platform::Dialog&, int)> script = {})
    {
        auto index = std::make_shared<int>(0);
        platform::SetDialogDriver(F::kResourceId, [buttons, script, index](platform::Dialog& d) {
            const int i = (*index)++;
            if (script) script(d, i);
            return i < int(buttons.size()) ? buttons[std::size_t(i)] : 0;
        });
        f.app->Client()->CmCalculator(F::kCommand);
    }
    std::string Stored(std::size_t offset, std::size_t size)
    {
        return transfer::GetText(f.app->FormRecord(F::kStoredRecord), offset, size);
    }

    testsupport::AppFixture f;
    testsupport::HelpRecorder help;
};

TEST_F(CalculatorTest, TransferBufferIs166BytesAndTheDegreesWordIsSeeded)
{
    const auto table = F::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 166u);
    EXPECT_EQ(platform::TransferOffset(table, F::kExpression), 0);
    EXPECT_EQ(platform::TransferOffset(table, F::kResult), 81);
    EXPECT_EQ(platform::TransferOffset(table, F::kDegrees), 162);
    EXPECT_EQ(platform::TransferOffset(table, F::kRadians), 164);
    EXPECT_EQ(transfer::GetWord(f.app->FormRecord(F::kStoredRecord), 162), 1);
}

// OK shows the result or the fault and keeps the dialog open for the next
// expression.  The result formats and the words of each code are the
// tables' above; here the angle buttons count, and a fault found before
// parsing, one while parsing and one while calculating each reach the box.
TEST_F(CalculatorTest, OkShowsTheResultOrTheFaultAndTheDialogStaysOpen)
{
    struct Case { const char* expression; bool degrees; const char* result, *caption, *box; };
    const char* kEvaluator = "Expression Evaluator";
    const Case cases[] = {
        {"2+3", true, "5.000000", nullptr, nullptr},
        {"SIN(30)", true, "0.500000", nullptr, nullptr},
        {"SIN(30)", false, "-0.988032", nullptr, nullptr},
        {"1000001", true, "1.000001e+06", nullptr, nullptr},
        {"acos(0.5)", true, "60.000002", nullptr, nullptr},
        {"3,5", true, "before", kEvaluator, "Error 2: invalid character"},
        {"COS", true, "before", kEvaluator, "Error 1: expression syntax"},
        {"1/0", true, "before", kEvaluator, "Error 9: divide by zero"},
        {"", true, "before", "Empty Field Error", "Expression"},
        {"a~b", true, "before", "Invalid Character Error", "Expression"},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        std::string result;
        int calls = 0;
        Run({platform::IDOK, platform::IDCANCEL}, [&](platform::Dialog& d, int step) {
            ++calls;
            if (step == 0) {
                d.SetControlText(F::kExpression, c.expression);
                d.SetControlText(F::kResult, "before");
                d.SetCheck(c.degrees ? F::kDegrees : F::kRadians, 1);
            } else {
                result = d.GetControlText(F::kResult);
            }
        });
        EXPECT_EQ(result, c.result) << c.expression;
        EXPECT_EQ(calls, 2) << c.expression;
        EXPECT_EQ(f.messages.Shown(), (c.box ? testsupport::Boxes{{c.caption, c.box}} : testsupport::Boxes{})) << c.expression;
        for (const auto& box : f.messages.calls) EXPECT_EQ(box.Icon(), platform::MB_ICONEXCLAMATION) << c.expression;
    }
}

TEST_F(CalculatorTest, CancelKeepsTheLastExpressionForNextTime)
{
    Run({platform::IDOK, platform::IDCANCEL}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            d.SetControlText(F::kExpression, "2*3");
            d.SetCheck(F::kRadians, 1);
        }
    });
    EXPECT_EQ(Stored(F::kExpressionAt, F::kTextSize), "2*3");
    EXPECT_EQ(Stored(F::kResultAt, F::kTextSize), "6.000000");
    EXPECT_EQ(transfer::GetWord(f.app->FormRecord(F::kStoredRecord), F::kDegreesAt), 0);
    EXPECT_EQ(transfer::GetWord(f.app->FormRecord(F::kStoredRecord), F::kRadiansAt), 1);

    std::vector<std::string> shown;
    int radians = -1;
    Run({platform::IDCANCEL}, [&](platform::Dialog& d, int) {
        shown = {d.GetControlText(F::kExpression), d.GetControlText(F::kResult)};
        radians = d.GetCheck(F::kRadians);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"2*3", "6.000000"}));
    EXPECT_EQ(radians, 1);

    // An expression no record can hold is not kept, nor the mode typed beside
    // it: the last record stays whole.
    Run({platform::IDCANCEL}, [&](platform::Dialog& d, int) {
        qobject_cast<QLineEdit*>(d.Control(F::kExpression))->setText(QString::fromUtf8("\u221A2"));
        d.SetCheck(F::kDegrees, 1);
    });
    EXPECT_EQ(Stored(F::kExpressionAt, F::kTextSize), "2*3");
    EXPECT_EQ(transfer::GetWord(f.app->FormRecord(F::kStoredRecord), F::kRadiansAt), 1);
}

TEST_F(CalculatorTest, EscapeKeepsTheValuesAsCancelDoes)
{
    std::uint8_t buffer[F::kTransferSize] = {};
    TEvalForm form(f.app->Client());
    form.SetTransferBuffer(buffer, sizeof buffer);
    form.SetupWindow();
    form.SetControlText(F::kExpression, "7-1");
    form.reject();
    EXPECT_TRUE(form.Closed());
    EXPECT_EQ(form.Result(), platform::IDCANCEL);
    EXPECT_EQ(Stored(F::kExpressionAt, F::kTextSize), "7-1");
}

TEST_F(CalculatorTest, ClearEmptiesBothFieldsAndSelectsDegrees)
{
    std::vector<std::string> after;
    int degrees = -1, radiansState = -1;
    Run({F::kClear, platform::IDHELP, platform::IDCANCEL}, [&](platform::Dialog& d, int step) {
        if (step == 0) {
            d.SetControlText(F::kExpression, "1+1");
            d.SetControlText(F::kResult, "2.000000");
            d.SetCheck(F::kRadians, 1);
        } else if (step == 1) {
            after = {d.GetControlText(F::kExpression), d.GetControlText(F::kResult)};
            degrees = d.GetCheck(F::kDegrees);
            radiansState = d.GetCheck(F::kRadians);
        }
    });
    EXPECT_EQ(after, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(degrees, 1);
    EXPECT_EQ(radiansState, 0);
    EXPECT_EQ(help.topics, std::vector<int>{800});
}

TEST_F(CalculatorTest, FieldHints)
{
    const HintTable hints = TEvalEntry(nullptr, 0, 81).Hints();
    EXPECT_STREQ(HintFor(hints, F::kExpression), "Enter the expression");
    EXPECT_STREQ(HintFor(hints, F::kDegrees), "Set evaluator to work in degrees");
    EXPECT_STREQ(HintFor(hints, F::kRadians), "Set evaluator to work in radians");
    EXPECT_STREQ(HintFor(hints, F::kResult), "");
}

}  // namespace
