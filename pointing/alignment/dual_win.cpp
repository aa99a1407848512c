#include "pointing/alignment/dual_win.h"

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "platform/command.h"
#include "platform/dialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "pointing/alignment/alignment_reports.h"
#include "pointing/alignment/dual_form.h"
#include "propagation/coordinates.h"

TDualWin::TDualWin(QWidget* parent, const char* title, const char* fileName) : TMyWindow(parent, title, fileName)
{
    TabStops = {300, 400};
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

void TDualWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Dual Feed Files (*.duo)|*.duo";
    FileData.defaultExt = "duo";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TDualWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TDualWin::CmEditInputs()
{
    TDualForm form(this, record_);
    if (form.Execute() != platform::IDOK) return;
    // As in the look-angles window: every confirmed edit marks the document.
    Changed = true;
    Recalculate();
}

bool TDualWin::CheckScan(double squintLoss_dB)
{
    if (squintLoss_dB != kNoScanLoss) return true;
    platform::MessageBox(this, "Beamwidths scanned > 10", "Excessive Scan Angle", platform::MB_ICONEXCLAMATION);
    return false;
}

void TDualWin::Recalculate()
{
    platform::WaitCursor wait;
    const DualFeedResult result = ComputeDualFeed(ParseDualFeedRecord(record_));
    if (!CheckBelowHorizon(result.primary.elevation) || !CheckBelowHorizon(result.secondary.elevation) ||
        !CheckScan(result.squintLoss_dB))
        return;
    result_ = result;
    ClearReport();
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFeedReport(line, ReportHeadingOf(App()), record_, result_);
    UpdateScroller(true);
}

bool TDualWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kDualFeedFileVersion, &record_, sizeof record_);
}

bool TDualWin::LoadFile(const char* fileName)
{
    DualFeedInputRecord r;
    if (!ReadDualFeedDocument(fileName, r)) return false;
    record_ = r;
    bool valid = false;
    {
        TDualForm form(this, record_);
        form.SetSilent(true);
        valid = form.ValidateFields(record_);
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}
