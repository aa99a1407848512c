#include "pointing/alignment/angle_win.h"

#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/output/window_report.h"
#include "platform/command.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "pointing/alignment/alignment_reports.h"
#include "pointing/alignment/angle_form.h"
#include "propagation/coordinates.h"

TAngleWin::TAngleWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName), record_(NewLookAngleRecord())
{
    TabStops = {300, 400};
    SetHandler(kEditCommand, [this] { CmEditInputs(); });
    SetEnabler(kEditCommand, [] { return true; });
}

void TAngleWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    FileData.filter = "Look Angle Files (*.ang)|*.ang";
    FileData.defaultExt = "ang";
    FileData.overwritePrompt = true;
    if (HasFileName()) OpenDocument(true);
}

void TAngleWin::EvSetFocus()
{
    if (TOrbiscope* app = App()) app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
}

void TAngleWin::CmEditInputs()
{
    TAngleForm form(this, record_);
    if (form.Execute() != platform::IDOK) return;
    // Every confirmed edit marks the document changed, the first one of a
    // new window too, so that closing asks before the inputs are lost.
    Changed = true;
    Recalculate();
}

void TAngleWin::Recalculate()
{
    platform::WaitCursor wait;
    const AlignmentInputs inputs = ParseLookAngleRecord(record_);
    const AlignmentResult result = ComputeAlignment(inputs);
    if (!CheckBelowHorizon(result.look.elevation)) return;
    inputs_ = inputs;
    result_ = result;
    ClearReport();
    ReportWriter line = WindowReportWriter(*this);
    WriteAlignmentReport(line, ReportHeadingOf(App()), record_, inputs_, result_);
    UpdateScroller(true);
}

bool TAngleWin::SaveFile(const char* fileName)
{
    return WriteDocument(fileName, kLookAngleFileVersion, &record_, sizeof record_);
}

bool TAngleWin::LoadFile(const char* fileName)
{
    LookAngleInputRecord r;
    if (!ReadLookAngleDocument(fileName, r)) return false;
    record_ = r;
    bool valid = false;
    {
        TAngleForm form(this, record_);
        form.SetSilent(true);
        valid = form.ValidateFields(record_);
    }
    if (valid)
        Recalculate();
    else
        platform::PostCommand(this, kEditCommand);
    return true;
}
