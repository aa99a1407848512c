#include "linkbudget/input_text.h"

#include "framework/forms/evaluate.h"

#include <cmath>

namespace lbtext {

double FecRate(const char* text)
{
    // A fresh evaluator with x = 1, X not enabled, radians; the dialog has
    // already refused an expression that does not evaluate.
    TEvaluate evaluator;
    const double value = evaluator.Evaluate(text, 1.0, 0, 0);
    return std::isfinite(value) ? value : 0.0;
}

}  // namespace lbtext
