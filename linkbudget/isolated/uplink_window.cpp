#include "linkbudget/isolated/uplink_window.h"

#include "linkbudget/isolated/uplink_form.h"
#include "linkbudget/isolated/uplink_report.h"

template class TBudgetWin<TRgnUpLinkWin, RgnUplinkBudget, UplinkInputRecord>;

void TRgnUpLinkWin::WriteReport(ReportWriter& line, const ReportHeading& heading)
{
    WriteUplinkReport(line, heading, *budget_);
}
