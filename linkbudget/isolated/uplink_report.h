// The isolated uplink report: the inputs as typed, the general figures,
// the clear and rain columns and the earth-station power and the space segment.  Free of Qt: the
// window hands in its report writer.
#pragma once

#include "framework/output/report_writer.h"
#include "linkbudget/isolated/uplink_budget.h"

// The whole report of a calculated budget.
void WriteUplinkReport(ReportWriter& line, const ReportHeading& heading, const RgnUplinkBudget& budget);
