#include "linkbudget/isolated/downlink_window.h"

#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/isolated/downlink_report.h"

template class TBudgetWin<TRgnDownLinkWin, RgnDownlinkBudget, DownlinkInputRecord>;

void TRgnDownLinkWin::WriteReport(ReportWriter& line, const ReportHeading& heading)
{
    WriteDownlinkReport(line, heading, *budget_);
}
