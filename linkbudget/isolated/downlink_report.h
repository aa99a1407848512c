// The isolated downlink report: the inputs as typed, the general figures,
// the clear and rain columns and the space segment.  Free of Qt: the
// window hands in its report writer.
#pragma once

#include "framework/output/report_writer.h"
#include "linkbudget/isolated/downlink_budget.h"

// The whole report of a calculated budget.
void WriteDownlinkReport(ReportWriter& line, const ReportHeading& heading, const RgnDownlinkBudget& budget);
