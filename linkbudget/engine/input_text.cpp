#include "linkbudget/engine/input_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>

#include "framework/forms/evaluate.h"

namespace lbtext {

double Number(const char* text)
{
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\f' || *p == '\v') ++p;
    if (*p == '+') {
        ++p;
        if (*p == '+' || *p == '-') return 0.0;
    }
    double value = 0.0;
    const auto result = std::from_chars(p, p + std::strlen(p), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
    return value;
}

bool IsKeyword(const char* text, const char* keyword)
{
    for (; *text != '\0' && *keyword != '\0'; ++text, ++keyword) {
        if (std::tolower(static_cast<unsigned char>(*text)) !=
            std::tolower(static_cast<unsigned char>(*keyword)))
            return false;
    }
    return *text == '\0' && *keyword == '\0';
}

double FecRate(const char* text)
{
    // A fresh evaluator with x = 1, X not enabled, radians; the dialog has
    // already refused an expression that does not evaluate.
    TEvaluate evaluator;
    const double value = evaluator.Evaluate(text, 1.0, 0, 0);
    return std::isfinite(value) ? value : 0.0;
}

}  // namespace lbtext
