#include "linkbudget/geo/geo_window.h"

#include "linkbudget/geo/geo_form.h"
#include "linkbudget/geo/geo_report.h"

template class TBudgetWin<TUpLinkWin, GeoLinkBudget, GeoLinkInputRecord>;

void TUpLinkWin::BuildDualFadeSections()
{
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFadeSections(line, *budget_, nullptr);
}

void TUpLinkWin::TakeInterferenceUnits(const GeoLinkInputRecord& r)
{
    UpInterferenceCI = r.upCiUnits.On();
    DnInterferenceCI = r.dnCiUnits.On();
}

void TUpLinkWin::WriteReport(ReportWriter& line, const ReportHeading& heading)
{
    WriteBentPipeReport(line, heading, *budget_, nullptr);
}
