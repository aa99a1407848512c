#include "linkbudget/geo/geo_window.h"

#include <filesystem>

#include "framework/app/menus.h"
#include "framework/output/export.h"
#include "linkbudget/geo/geo_export.h"
#include "linkbudget/geo/geo_form.h"
#include "linkbudget/geo/geo_report.h"

template class TBudgetWin<TUpLinkWin, GeoLinkBudget, GeoLinkInputRecord>;

TUpLinkWin::TUpLinkWin(QWidget* parent, const char* title, const char* fileName) : TBudgetWin(parent, title, fileName)
{
    const auto calculated = [this] { return calculated_; };
    SetHandler(kExportInputsCommand, [this] { CmExportInputs(); });
    SetEnabler(kExportInputsCommand, calculated);
    SetHandler(kExportResultsCommand, [this] { CmExportResults(); });
    SetEnabler(kExportResultsCommand, calculated);
}

bool TUpLinkWin::RunBudget()
{
    if (budget_->Recalculate() != GeoLinkBudget::Outcome::Completed) return false;
    // The record as calculated (automatic values are written back into
    // it); a calculation that stops short leaves the report on screen, and
    // so the exports, as the last one left them.
    calculatedRecord_ = budget_->record;
    calculated_ = true;
    return true;
}

std::string TUpLinkWin::InputExportText() const { return LabelledText(TUpLinkForm::FieldValues(calculatedRecord_)); }

std::string TUpLinkWin::ResultExportText() const { return LabelledText(ReportResults(ReportText, LineCount)); }

void TUpLinkWin::CmExportInputs()
{
    if (calculated_) Export("Export Input To Compatible Batch File Format", "-input.txt", InputExportText());
}

void TUpLinkWin::CmExportResults()
{
    if (calculated_) Export("Export Output to DISA Template Format", "-results.txt", ResultExportText());
}

void TUpLinkWin::Export(const char* title, const char* suffix, const std::string& text)
{
    std::string proposal;
    if (HasFileName()) {
        std::filesystem::path name(FileName());
        name.replace_filename(name.stem().string() + suffix);
        proposal = name.string();
    }
    orbiscope::SaveTextWithDialog(this, title, proposal, text);
}

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
