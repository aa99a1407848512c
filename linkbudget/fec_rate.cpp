#include "linkbudget/input_text.h"

#include <cstring>

namespace lbtext {

double FecRate(const char* text)
{
    // TEMPORARY until the expression evaluator lands: a number or a fraction.
    double value = Number(text);
    const char* slash = std::strchr(text, '/');
    if (slash != nullptr) {
        const double den = Number(slash + 1);
        value = den != 0.0 ? value / den : 0.0;
    }
    return value;
}

}  // namespace lbtext
