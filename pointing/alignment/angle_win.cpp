#include "pointing/alignment/angle_win.h"

#include "framework/output/window_report.h"
#include "platform/services.h"
#include "pointing/alignment/alignment_reports.h"
#include "propagation/coordinates.h"

TAngleWin::TAngleWin(QWidget* parent, const char* title, const char* fileName)
    : TAlignmentDocumentWin(parent, title, fileName, NewLookAngleRecord())
{
}

bool TAngleWin::Recalculate()
{
    platform::WaitCursor wait;
    const AlignmentInputs inputs = ParseLookAngleRecord(record_);
    const AlignmentResult result = ComputeAlignment(inputs);
    if (!CheckBelowHorizon(result.look.elevation)) return false;
    result_ = result;
    ClearReport();
    ReportWriter line = WindowReportWriter(*this);
    WriteAlignmentReport(line, ReportHeadingOf(App()), record_, inputs, result_);
    UpdateScroller(true);
    return true;
}
