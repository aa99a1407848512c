#include "rftools/calculators/result_text.h"

#include "framework/output/report_format.h"

namespace rfcalc {

std::string FormatFixed(double value, int decimals)
{
    return ReportFormat("%.*f", decimals, value);
}

}  // namespace rfcalc
