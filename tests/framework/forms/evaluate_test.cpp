// The expression evaluator: its whole list of telling cases in one table,
// the run-time math errors, the sticky error code, and a fuzz run of random
// and hostile texts.
#include "framework/forms/evaluate.h"
#include "propagation/geo_notifier.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kNoValue = 12345.678;   // the value is not checked

struct Case {
    const char* text;
    double expected;   // kNoValue: not checked
    int code;
    int degrees = 0;
    double x = 1.0;
    int xEnabled = 0;
};

class RecordingNotifier : public CalculationNotifier {
public:
    std::vector<Notice> notices;
    NoticeAnswer Notify(const Notice& n) override {
        notices.push_back(n);
        return NoticeAnswer::Ok;
    }
};

class Evaluator : public testing::Test {
protected:
    void SetUp() override { previous_ = SetCalculationNotifier(&notifier_); }
    void TearDown() override { SetCalculationNotifier(previous_); }
    RecordingNotifier notifier_;

private:
    CalculationNotifier* previous_ = nullptr;
};

TEST_F(Evaluator, TellingCases) {
    const Case cases[] = {
        // precedence and grouping
        {"1+2*3", 7, 0}, {"2*3^2", 18, 0}, {"(1+2)*3", 9, 0}, {"10-2*3", 4, 0},
        {"2*3-4*5", -14, 0}, {"1/3", 0.3333333333333333, 0}, {"-2^2", 4, 0}, {"2^-1", 0.5, 0},
        {"2*-3", -6, 0}, {"2^3^2", 64, 0}, {"1-2-3", -4, 0}, {"8/2/2", 2, 0}, {"-(-2)", 2, 0},
        {"SIN(0)-2", -2, 0}, {"2*(1+2)-1", 5, 0}, {"LN(2)-P", -2.4484453794400545, 0},  // ln 2 less P
        {"((((1))))", 1, 0}, {"2(3)", 2, 0}, {"(2)(3)", 2, 0}, {"12 34", 1234, 0},
        {"1.5.5", 1.5, 0}, {".", 0, 0}, {"5.", 5, 0}, {".25*4", 1, 0}, {"-3", -3, 0},
        {"2-(-3)", 5, 0}, {"-2*-2", 4, 0}, {"1+-1", 0, 0}, {"2*3+4^2/8-1", 7, 0},
        // names
        {"PI", 3.14159256, 0}, {"pi", 3.14159256, 0}, {"P*2", 6.28318512, 0},
        {"sin(pi/2)", 0.9999999999999989, 0} /* P short of pi */, {"LOGT(8)", 3, 0}, {"SQR(ABS(-16))", 4, 0},
        {"ABS(-2)^0.5", 1.4142135623730951, 0}, {"EXP(100)", 2.6881171418161356e43, 0},
        {"EXP(-1000)", 0, 0}, {"LOG(1000)", 3, 0}, {"COSH(0)+SINH(0)+TANH(0)", 1, 0},
        {"ATAN(1)*4", 3.141592653589793, 0}, {"TAN(1)", 1.5574077246549023, 0},
        // degrees and radians
        {"SIN(30)", 0.4999999864914768, 0, 1}, {"ACOS(0.5)", 60.00000178743345, 0, 1},
        {"ATAN(1)", 45.00000134057508, 0, 1}, {"SIN(30)", -0.9880316240928618, 0, 0},
        {"COS(57000)", -0.49997433358652826, 0, 1} /* 57000 x 0.017453292 rad */, {"COS(58000)", kNoValue, 11, 1},
        // X
        {"X", kNoValue, 3}, {"IBO*2", 7, 0, 0, 3.5, 1}, {"ibo + ibo", 7, 0, 0, 3.5, 1},
        {"2*3", 0, 6, 0, 3.5, 1}, {"X", 0, 6, 0, 3.5, 1},
        // syntax errors found before parsing (value 0)
        {"2PI", 0, 3}, {"1E5", 0, 3}, {"SIN30", 0, 3}, {"3,5", 0, 2}, {"2*(3+4", 0, 4},
        {"2*3)", 0, 4}, {"   ", 0, 8}, {"", 0, 8}, {"2 # 3", 0, 2}, {"\xe9", 0, 2},
        // errors found while parsing
        {"COS", kNoValue, 1}, {"COS+1", kNoValue, 1}, {"FOO", kNoValue, 3}, {"FOO(1)", kNoValue, 3},
        {"PII", kNoValue, 0 /* "PII" reads as "PI" then P: checked below */},
        {"+2", kNoValue, 2}, {"2*", kNoValue, 2}, {"()", kNoValue, 2}, {"2--3", kNoValue, 2},
        {"--2", kNoValue, 2}, {"-", kNoValue, 2}, {"(*)", kNoValue, 2},
        // calculation errors
        {"1/0", kNoValue, 9}, {"0/0", kNoValue, 9}, {"1/(1-1)", kNoValue, 9}, {"LOG(0)", kNoValue, 10},
        {"LN(-1)", kNoValue, 10}, {"LOGT(0)", kNoValue, 10}, {"ACOS(1.5)", kNoValue, 11},
        {"ASIN(-1.01)", kNoValue, 11}, {"EXP(100.5)", kNoValue, 11}, {"COS(1001)", kNoValue, 11},
        {"SINH(-1000.5)", kNoValue, 11}, {"SQR(-4)", kNoValue, 12},
    };
    for (const Case& c : cases) {
        TEvaluate e;
        const double v = e.Evaluate(c.text, c.x, c.xEnabled, c.degrees);
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" degrees " << c.degrees);
        if (std::string(c.text) == "PII") {
            // "PII" drops the I after P, leaving "PI", an unknown name.
            EXPECT_EQ(e.ErrorCode(), 3);
            continue;
        }
        EXPECT_EQ(e.ErrorCode(), c.code);
        if (c.expected != kNoValue) {
            EXPECT_DOUBLE_EQ(v, c.expected);
        }
    }
    EXPECT_TRUE(notifier_.notices.empty());
}

// The error code is never cleared: a second expression on the same object
// is not parsed and gives 0.
TEST_F(Evaluator, ErrorCodeIsSticky) {
    TEvaluate e;
    EXPECT_DOUBLE_EQ(e.Evaluate("3/4", 1.0, 0, 0), 0.75);
    EXPECT_EQ(e.ErrorCode(), 0);
    EXPECT_DOUBLE_EQ(e.Evaluate("1/8", 1.0, 0, 0), 0.125);
    e.Evaluate("1/0", 1.0, 0, 0);
    EXPECT_EQ(e.ErrorCode(), 9);
    EXPECT_EQ(e.Evaluate("1+1", 1.0, 0, 0), 0.0);
    EXPECT_EQ(e.ErrorCode(), 9);
    // The checks before parsing still replace it.
    e.Evaluate("1,1", 1.0, 0, 0);
    EXPECT_EQ(e.ErrorCode(), 2);
}

// Domain and range errors of the power operator and of functions whose
// result is not finite: the run-time message, code 0, a value that is not
// finite.
TEST_F(Evaluator, MathErrors) {
    const struct {
        const char* text;
        const char* message;
        bool nan;
    } cases[] = {
        {"(-8)^0.5", "pow: DOMAIN error", true},
        {"0^-1", "pow: DOMAIN error", false},
        {"10^400", "pow: OVERFLOW error", false},
        {"COSH(800)", "cosh: OVERFLOW error", false},
        {"SINH(-711)", "sinh: OVERFLOW error", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        notifier_.notices.clear();
        TEvaluate e;
        const double v = e.Evaluate(c.text, 1.0, 0, 0);
        EXPECT_EQ(e.ErrorCode(), 0);
        EXPECT_FALSE(std::isfinite(v));
        EXPECT_EQ(std::isnan(v), c.nan);
        EXPECT_EQ(e.MathError(), c.message);
        ASSERT_EQ(notifier_.notices.size(), 1u);
        EXPECT_EQ(notifier_.notices[0].text, c.message);
        EXPECT_EQ(notifier_.notices[0].caption, kMathErrorCaption);
    }
    // A value already reported is not reported again by what uses it.
    notifier_.notices.clear();
    TEvaluate e;
    e.Evaluate("ABS(SQR(2)+(-8)^0.5)*2", 1.0, 0, 0);
    EXPECT_EQ(notifier_.notices.size(), 1u);
    // A well-defined power says nothing.
    notifier_.notices.clear();
    TEvaluate ok;
    EXPECT_DOUBLE_EQ(ok.Evaluate("(-2)^3+4^0.5+0^0", 1.0, 0, 0), -5.0);
    EXPECT_TRUE(ok.MathError().empty());
    EXPECT_TRUE(notifier_.notices.empty());
}

// Texts up to the working capacity are evaluated; longer ones are refused.
TEST_F(Evaluator, LengthLimits) {
    std::string sum = "1";
    while (sum.size() + 2 <= 100) sum += "+1";
    TEvaluate e;
    EXPECT_DOUBLE_EQ(e.Evaluate(sum.c_str(), 1.0, 0, 0), static_cast<double>((sum.size() + 1) / 2));
    EXPECT_EQ(e.ErrorCode(), 0);

    const std::string digits(TEvaluate::kTextCapacity, '7');
    TEvaluate big;
    EXPECT_EQ(big.Evaluate(digits.c_str(), 1.0, 0, 0), HUGE_VAL);
    EXPECT_EQ(big.ErrorCode(), 0);

    TEvaluate tooLong;
    EXPECT_EQ(tooLong.Evaluate(std::string(TEvaluate::kTextCapacity + 1, '1').c_str(), 1.0, 0, 0), 0.0);
    EXPECT_EQ(tooLong.ErrorCode(), kEvalTooLong);

    // Fits as typed but not once bracketed.
    std::string signs;
    while (signs.size() < 300) signs += "-1*";
    signs += "1";
    TEvaluate grown;
    grown.Evaluate(signs.c_str(), 1.0, 0, 0);
    EXPECT_EQ(grown.ErrorCode(), kEvalTooLong);

    TEvaluate null;
    EXPECT_EQ(null.Evaluate(nullptr, 1.0, 0, 0), 0.0);
    EXPECT_EQ(null.ErrorCode(), kEvalEmpty);
}

// Random and hostile texts: every call returns with one of the codes.
TEST_F(Evaluator, FuzzFindsNoCrash) {
    const int allowed[] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};
    auto check = [&](const std::string& text, int xEnabled, int degrees) {
        TEvaluate e;
        e.Evaluate(text.c_str(), 2.0, xEnabled, degrees);
        const int code = e.ErrorCode();
        bool known = false;
        for (int a : allowed) known = known || a == code;
        EXPECT_TRUE(known) << '"' << text << "\" gave " << code;
    };

    std::mt19937 rng(20261206);
    const std::string alphabet = "0123456789.+-*/^()()((())) PIXIBOSINCOTAHEXPLGQRabcsinl,#\t\x80\xff";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 120);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) text.push_back(alphabet[pick(rng)]);
        check(text, i % 3 == 0, i % 2);
    }
    // Well-formed random expressions, to reach deep into the parser.
    const char* pieces[] = {"1", "2.5", "P", "X", "SIN(", "LOG(", "SQR(", "(", ")", "-", "+", "*", "/", "^"};
    std::uniform_int_distribution<int> piece(0, 13);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int n = length(rng) / 3;
        for (int k = 0; k < n; ++k) text += pieces[piece(rng)];
        check(text, 0, i % 2);
        check(text, 1, 0);
    }

    const std::string hostile[] = {
        std::string(100000, '('), std::string(100000, ')'), std::string(100000, '-'),
        std::string(TEvaluate::kTextCapacity, '('), std::string(TEvaluate::kTextCapacity, '-'),
        std::string(TEvaluate::kTextCapacity, '.'), std::string(TEvaluate::kTextCapacity, 'A'),
        std::string(250, '(') + "1" + std::string(250, ')'),
        std::string(170, '-') + "1", "-" + std::string(509, '9'), "0." + std::string(509, '0'),
        std::string(TEvaluate::kTextCapacity, ' '), std::string(1 << 20, ' '),
        "SIN(COS(TAN(ASIN(ACOS(ATAN(EXP(LN(LOG(LOGT(SQR(ABS(COSH(SINH(TANH(1)))))))))))))))",
        "IBOIBOIBOIBO", "PIPIPI", ")(", "(()", "1^^2", "1//2", "^1", "1(", "(1", ".(.).",
    };
    for (const std::string& text : hostile) {
        check(text, 0, 0);
        check(text, 1, 1);
    }
}

}  // namespace
