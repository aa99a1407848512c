#include "framework/forms/evaluate.h"

#include "propagation/geo_notifier.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// The constant the name P stands for, and the degree factors built on it.
constexpr double kP = 3.14159256;
constexpr double kRadiansToDegrees = 57.29578121995553;   // 180 / 3.14159256
constexpr double kDegreesToRadians = 0.017453292;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLetter(char c) { return IsUpper(c) || (c >= 'a' && c <= 'z'); }
bool IsOperator(char c) { return c == '*' || c == '+' || c == '-' || c == '/' || c == '^'; }
char ToUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAllowed(char c) {
    return IsDigit(c) || c == '.' || IsLetter(c) || IsOperator(c) || c == '(' || c == ')';
}

// Converts a run of digits and points as the C library's string-to-double
// conversion does: it stops at the second point; "." alone is 0.
double ConvertNumber(const std::string& run) {
    double value = 0.0;
    const char* first = run.data();
    const char* last = run.data() + run.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large (inf) or too small (0), as the C library gives it.
        for (const char* p = first; p != last && *p != '.'; ++p) {
            if (*p != '0') return HUGE_VAL;
        }
        return 0.0;
    }
    if (ec != std::errc()) return 0.0;
    return value;
}

}  // namespace

TEvaluate::TEvaluate() {
    static const char* const kNames[kNameCount] = {"ABS", "ACOS", "ASIN", "ATAN", "COS", "COSH",
                                                   "EXP", "LOG",  "LOGT", "LN",   "SIN", "SINH",
                                                   "SQR", "TAN",  "TANH", "X",    "P"};
    for (int i = 0; i < kNameCount; ++i) {
        std::strncpy(names_[i], kNames[i], sizeof names_[i] - 1);
        names_[i][sizeof names_[i] - 1] = '\0';
    }
    work_.reserve(kTextCapacity + 1);
    scratch_.reserve(kTextCapacity + 1);
}

double TEvaluate::Evaluate(const char* text, double x, std::int32_t xEnabled, std::int32_t degrees) {
    xValue_ = x;
    xEnabled_ = xEnabled;
    degrees_ = degrees;
    mathError_.clear();
    if (!text) text = "";

    // A text longer than the working buffer is refused, not cut.
    const std::size_t length = strnlen(text, kTextCapacity + 1);
    if (length > kTextCapacity) {
        errorCode_ = kEvalTooLong;
        return 0.0;
    }
    work_.assign(text, length);

    // Blanks out, letters upper-cased.
    scratch_.clear();
    for (char c : work_) {
        if (c != ' ') scratch_.push_back(ToUpper(c));
    }
    // "PI" is the one-letter name P.
    work_.clear();
    for (std::size_t i = 0; i < scratch_.size(); ++i) {
        if (scratch_[i] == 'I' && i > 0 && scratch_[i - 1] == 'P') continue;
        work_.push_back(scratch_[i]);
    }

    for (char c : work_) {
        if (!IsAllowed(c)) {
            errorCode_ = kEvalInvalidCharacter;
            break;
        }
    }
    // No implied product, no exponent notation, no digit inside a name.
    for (std::size_t i = 0; i + 1 < work_.size(); ++i) {
        const char a = work_[i];
        const char b = work_[i + 1];
        if (((IsDigit(a) || a == '.') && IsLetter(b)) || (IsLetter(a) && (IsDigit(b) || b == '.'))) {
            errorCode_ = kEvalInvalidSymbol;
            break;
        }
    }
    if (xEnabled_) {
        scratch_.clear();
        bool found = false;
        for (std::size_t i = 0; i < work_.size();) {
            if (work_.compare(i, 3, "IBO") == 0) {
                scratch_.push_back('X');
                i += 3;
                found = true;
            } else {
                scratch_.push_back(work_[i++]);
            }
        }
        work_.swap(scratch_);
        if (!found) errorCode_ = kEvalNoIbo;
    }

    if (errorCode_ != kEvalOk) return 0.0;
    if (work_.empty()) {
        errorCode_ = kEvalEmpty;
        return 0.0;
    }
    std::size_t opening = 0, closing = 0;
    for (char c : work_) {
        if (c == '(') ++opening;
        if (c == ')') ++closing;
    }
    if (opening != closing) {
        errorCode_ = kEvalBracketMissing;
        return 0.0;
    }

    Prepare();
    if (work_.size() > kTextCapacity) {
        errorCode_ = kEvalTooLong;
        return 0.0;
    }
    position_ = 0;
    return ParseLevel();
}

// Brackets every operation by precedence: signs, names, powers, products,
// sums, each scanned from the left.
void TEvaluate::Prepare() {
    work_.insert(work_.begin(), '(');
    work_.push_back(')');

    for (std::size_t i = 0; i < work_.size();) {
        if (work_[i] == '-') {
            const char before = i > 0 ? work_[i - 1] : '(';
            if (before == '(' || IsOperator(before)) {
                WrapOperator(i, +1);
                WrapOperator(i, -1);
            }
            i += 2;
        } else {
            ++i;
        }
    }
    auto pass = [this](auto isTarget) {
        for (std::size_t i = 0; i < work_.size();) {
            if (isTarget(work_[i])) {
                WrapOperator(i, +1);
                WrapOperator(i, -1);
                i += 2;
            } else {
                ++i;
            }
        }
    };
    pass([](char c) { return IsUpper(c); });
    pass([](char c) { return c == '^'; });
    pass([](char c) { return c == '*' || c == '/'; });
    pass([](char c) { return c == '+' || c == '-'; });

    work_.erase(work_.begin());
    work_.pop_back();
}

void TEvaluate::WrapOperator(std::size_t position, int direction) {
    if (direction > 0) {
        for (std::size_t i = position + 1;; ++i) {
            if (i >= work_.size()) {
                work_.push_back(')');
                return;
            }
            const char c = work_[i];
            if (IsOperator(c)) {
                work_.insert(i, 1, ')');
                return;
            }
            if (c == '(') {
                int depth = 0;
                std::size_t j = i;
                for (; j < work_.size(); ++j) {
                    if (work_[j] == '(') ++depth;
                    if (work_[j] == ')' && --depth == 0) break;
                }
                if (j >= work_.size()) {
                    work_.push_back(')');
                } else {
                    work_.insert(j + 1, 1, ')');
                }
                return;
            }
        }
    }
    for (std::size_t i = position; ; --i) {
        if (i == 0) {
            work_.insert(0, 1, '(');
            return;
        }
        const char c = work_[i - 1];
        if (IsOperator(c)) {
            work_.insert(i, 1, '(');
            return;
        }
        if (c == ')') {
            int depth = 0;
            std::size_t j = i;   // one past the character examined
            for (; j > 0; --j) {
                if (work_[j - 1] == ')') ++depth;
                if (work_[j - 1] == '(' && --depth == 0) break;
            }
            work_.insert(j > 0 ? j - 1 : 0, 1, '(');
            return;
        }
    }
}

double TEvaluate::ParseLevel() {
    const double left = ParseOperand();
    if (errorCode_ != kEvalOk) return left;
    if (position_ >= work_.size()) return left;
    const char c = work_[position_];
    switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^': {
        ++position_;
        const double right = ParseLevel();
        if (errorCode_ != kEvalOk) return left;
        switch (c) {
        case '+': return left + right;
        case '-': return left - right;
        case '*': return left * right;
        case '/':
            if (right == 0.0) {
                SetParseCode(kEvalDivideByZero);
                return left;
            }
            return left / right;
        default: return CheckPower(left, right);
        }
    }
    case ')':
        ++position_;
        return left;
    default:
        return left;
    }
}

double TEvaluate::ParseOperand() {
    bool negate = false;
    if (position_ < work_.size() && work_[position_] == '-') {
        ++position_;
        negate = true;
    }
    double value;
    if (position_ < work_.size() && work_[position_] == '(') {
        ++position_;
        value = ParseLevel();
    } else {
        value = ApplyFunction();
    }
    return negate ? -value : value;
}

double TEvaluate::ApplyFunction() {
    const char first = position_ < work_.size() ? work_[position_] : '\0';
    if (!IsUpper(first)) {
        if (IsDigit(first) || first == '.') {
            std::size_t end = position_;
            while (end < work_.size() && (IsDigit(work_[end]) || work_[end] == '.')) ++end;
            const std::string run = work_.substr(position_, end - position_);
            position_ = end;
            return ConvertNumber(run);
        }
        SetParseCode(kEvalInvalidCharacter);
        return 0.0;
    }

    std::size_t end = position_;
    while (end < work_.size() && IsUpper(work_[end])) ++end;
    const std::string name = work_.substr(position_, end - position_);
    position_ = end;
    const int function = FindFunction(name);

    if (function >= 0 && function <= 14) {
        if (position_ >= work_.size() || work_[position_] != '(') {
            SetParseCode(kEvalNameWithoutBracket);
            return 0.0;
        }
        ++position_;
        double a = ParseLevel();
        if (errorCode_ != kEvalOk) return 0.0;
        switch (function) {
        case 0: return std::fabs(a);
        case 1:
        case 2: {
            if (std::fabs(a) > 1.0) {
                SetParseCode(kEvalArgumentMagnitude);
                return 0.0;
            }
            double v = function == 1 ? CheckResult("acos", a, std::acos(a)) : CheckResult("asin", a, std::asin(a));
            if (degrees_) v *= kRadiansToDegrees;
            return v;
        }
        case 3: {
            double v = std::atan(a);
            if (degrees_) v *= kRadiansToDegrees;
            return v;
        }
        case 4:
        case 5:
        case 10:
        case 11:
        case 13:
            if (degrees_) a *= kDegreesToRadians;
            if (std::fabs(a) > 1000.0) {
                SetParseCode(kEvalArgumentMagnitude);
                return 0.0;
            }
            switch (function) {
            case 4: return CheckResult("cos", a, std::cos(a));
            case 5: return CheckResult("cosh", a, std::cosh(a));
            case 10: return CheckResult("sin", a, std::sin(a));
            case 11: return CheckResult("sinh", a, std::sinh(a));
            default: return CheckResult("tan", a, std::tan(a));
            }
        case 14:
            if (degrees_) a *= kDegreesToRadians;
            return std::tanh(a);
        case 6:
            if (a > 100.0) {
                SetParseCode(kEvalArgumentMagnitude);
                return 0.0;
            }
            return CheckResult("exp", a, std::exp(a));
        case 7:
        case 8:
        case 9:
            if (a <= 0.0) {
                SetParseCode(kEvalLogDomain);
                return 0.0;
            }
            if (function == 7) return CheckResult("log10", a, std::log10(a));
            if (function == 8) return CheckResult("log", a, std::log(a) / std::log(2.0));
            return CheckResult("log", a, std::log(a));
        case 12:
            if (a < 0.0) {
                SetParseCode(kEvalSquareRootNegative);
                return 0.0;
            }
            return CheckResult("sqrt", a, std::sqrt(a));
        default: return 0.0;
        }
    }
    if (function == 15) {
        if (xEnabled_) return xValue_;
        SetParseCode(kEvalInvalidSymbol);
        return 0.0;
    }
    if (function == 16) return kP;
    SetParseCode(kEvalInvalidSymbol);
    return 0.0;
}

int TEvaluate::FindFunction(const std::string& name) const {
    for (int i = 0; i < kNameCount; ++i) {
        if (name == names_[i]) return i;
    }
    return -1;
}

// The first failure found while parsing stands; what follows it is not
// meaningful and must not replace it.
void TEvaluate::SetParseCode(std::int32_t code) {
    if (errorCode_ == kEvalOk) errorCode_ = code;
}

// A finite argument that gives a result that is not finite is the run-time
// library's domain (not a number) or range (infinite) error.  An argument
// that is already not finite was reported where it arose.
double TEvaluate::CheckResult(const char* function, double argument, double result) {
    if (std::isfinite(argument) && !std::isfinite(result)) {
        ReportMathError(function, std::isnan(result) ? "DOMAIN" : "OVERFLOW");
    }
    return result;
}

double TEvaluate::CheckPower(double base, double exponent) {
    const double result = std::pow(base, exponent);
    if (std::isfinite(base) && std::isfinite(exponent) && !std::isfinite(result)) {
        // 0 to a negative power counts as a domain error, as in the C library
        // of old; a finite base and exponent that overflow are a range error.
        const bool domain = std::isnan(result) || base == 0.0;
        ReportMathError("pow", domain ? "DOMAIN" : "OVERFLOW");
    }
    return result;
}

void TEvaluate::ReportMathError(const char* function, const char* kind) {
    mathError_ = std::string(function) + ": " + kind + " error";
    ShowNotice({kMathErrorCaption, mathError_, NoticeIcon::Stop, NoticeButtons::Ok});
}
