#include "linkbudget/isolated/isolated_report.h"

namespace isolated {

void WriteAvailability(const lbreport::ReportTable& t, const IsolatedTexts& texts)
{
    t.Texts("Availability (average year)", {texts.availability}, "%");
    t.Texts("Link downtime (average year)", {texts.annualDowntime}, "hours");
    t.Texts("Availability (worst month)", {texts.worstAvailability}, "%");
    t.Texts("Link downtime (worst month)", {texts.worstDowntime}, "hours");
}

}  // namespace isolated
