// A document window's report as the report writer sees it: the window's
// buffer and line count, and the heading the application gives.
#pragma once

#include "framework/output/mywindow.h"
#include "framework/output/report_writer.h"

class TOrbiscope;

// The company line of the application's set-up record and today's date
// without the time; both empty without an application.
ReportHeading ReportHeadingOf(TOrbiscope* app);

// A writer that appends to the window's report.
inline ReportWriter WindowReportWriter(TMyWindow& window) { return ReportWriter(window.ReportText, window.LineCount); }
