#include "pointing/alignment/dual_win.h"

#include "framework/output/window_report.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "pointing/alignment/alignment_reports.h"
#include "propagation/coordinates.h"

TDualWin::TDualWin(QWidget* parent, const char* title, const char* fileName)
    : TAlignmentDocumentWin(parent, title, fileName, DualFeedInputRecord{})
{
}

bool TDualWin::CheckScan(double squintLoss_dB)
{
    if (squintLoss_dB != kNoScanLoss) return true;
    platform::MessageBox(this, "Beamwidths scanned > 10", "Excessive Scan Angle", platform::MB_ICONEXCLAMATION);
    return false;
}

bool TDualWin::Recalculate()
{
    platform::WaitCursor wait;
    const DualFeedResult result = ComputeDualFeed(ParseDualFeedRecord(record_));
    if (!CheckBelowHorizon(result.primary.elevation) || !CheckBelowHorizon(result.secondary.elevation) ||
        !CheckScan(result.squintLoss_dB))
        return false;
    result_ = result;
    ClearReport();
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFeedReport(line, ReportHeadingOf(App()), record_, result_);
    UpdateScroller(true);
    return true;
}
