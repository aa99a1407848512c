// The expression evaluator of every expression field (FEC rates, the
// bandwidth calculator's rates, fraction checks, the expression calculator).
//
// Syntax: unsigned decimal numbers of digits and points, the names P (or PI,
// 3.14159256) and X, bracketed groups, and the functions ABS ACOS ASIN ATAN
// COS COSH EXP LOG LOGT LN SIN SINH SQR TAN TANH with a bracketed argument.
// Operators from tightest to loosest: the sign "-" (it binds to the operand
// behind it: -2^2 is 4), "^", "*" and "/", "+" and "-"; all group from the
// left (2^3^2 is 64).  Letters are case-blind, blanks are ignored, there is
// no implied product, no exponent notation and no "+" sign.  Text after a
// complete expression is ignored (2(3) is 2).
//
// The text is first bracketed fully by precedence, then a small recursive
// parser computes the value; the bracketing pass defines the grammar above,
// including its quirks, and is kept as it is.
//
// Failures are reported by a numeric code (below), never by a message: the
// callers choose the words.  The one exception is a domain or range error of
// the power operator or of a function whose result is not finite, which is
// shown at once as the run-time library showed it ("pow: DOMAIN error")
// through the installed CalculationNotifier; the code stays 0 and the value
// returned is not finite, so field checks refuse it.
//
// No Qt here: the calculator dialog wraps this class.
#pragma once

#include <cstdint>
#include <string>

// Error codes of TEvaluate (5 and 7 are not used by the syntax checks).
enum : std::int32_t {
    kEvalOk = 0,
    kEvalNameWithoutBracket = 1,   // a function name not directly followed by "("
    kEvalInvalidCharacter = 2,     // a character outside the syntax, or an operand missing
    kEvalInvalidSymbol = 3,        // unknown name, digit next to a letter, X not enabled
    kEvalBracketMissing = 4,       // unequal counts of "(" and ")"
    kEvalTooLong = 5,              // longer than the working text holds (511 characters)
    kEvalNoIbo = 6,                // X enabled and no "IBO" in the text
    kEvalEmpty = 8,                // nothing left once blanks are removed
    kEvalDivideByZero = 9,
    kEvalLogDomain = 10,           // LOG, LOGT or LN of 0 or less
    kEvalArgumentMagnitude = 11,   // ACOS/ASIN beyond 1, circular/hyperbolic beyond 1000, EXP above 100
    kEvalSquareRootNegative = 12,
};

inline constexpr const char* kMathErrorCaption = "Math Error";

class TEvaluate {
public:
    TEvaluate();

    // Evaluates `text` (zero-terminated; null counts as empty).  x is the value
    // of the name X when xEnabled is not 0 (every "IBO" is then read as X);
    // degrees not 0 makes the angle functions work in degrees.  Returns the
    // value; 0.0 when a code is set before parsing.  The error code is never
    // cleared: once set, later calls on this object return 0.0 and keep it.
    double Evaluate(const char* text, double x, std::int32_t xEnabled, std::int32_t degrees);

    std::int32_t ErrorCode() const { return errorCode_; }

    // The run-time error text of the last Evaluate ("pow: DOMAIN error"), or
    // empty.  It has already been shown through the notifier.
    const std::string& MathError() const { return mathError_; }

    // The working text holds this many characters, after the bracketing pass.
    static constexpr std::size_t kTextCapacity = 511;

private:
    static constexpr int kNameCount = 17;

    void Prepare();
    void WrapOperator(std::size_t position, int direction);
    double ParseLevel();
    double ParseOperand();
    double ApplyFunction();
    int FindFunction(const std::string& name) const;

    void SetParseCode(std::int32_t code);
    double CheckResult(const char* function, double argument, double result);
    double CheckPower(double base, double exponent);
    void ReportMathError(const char* function, const char* kind);

    std::int32_t errorCode_ = 0;
    std::string work_;      // working text
    std::string scratch_;   // copies and insertions
    double xValue_ = 1.0;
    std::int32_t xEnabled_ = 0;
    char names_[kNameCount][5];
    std::int32_t degrees_ = 0;

    std::size_t position_ = 0;   // parse position in work_
    std::string mathError_;
};
