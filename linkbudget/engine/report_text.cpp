#include "linkbudget/engine/report_text.h"

namespace lbreport {

const char* PolarizationName(const char* text)
{
    switch (text[0]) {
    case 'V': return "Vertical";
    case 'H': return "Horizontal";
    case 'C': return "Circular";
    default: return "";
    }
}

}  // namespace lbreport
