#include "linkbudget/nongeo/nongeo_window.h"

#include <cstring>

#include "linkbudget/geo/geo_report.h"
#include "linkbudget/nongeo/nongeo_budget.h"
#include "linkbudget/nongeo/nongeo_form.h"

template class TBudgetWin<TLeoLinkWin, GeoLinkBudget, NonGeoLinkInputRecord>;

TLeoLinkWin::TLeoLinkWin(QWidget* parent, const char* title, const char* fileName)
    : TBudgetWin(parent, title, fileName)
{
    SetNonGeoLinkRecordDefaults(record_);
}

bool TLeoLinkWin::RunBudget()
{
    LoadNonGeoBudget(record_, *budget_);
    const GeoLinkBudget::Outcome outcome = budget_->Recalculate();
    if (budget_->frozen) {
        // A frozen budget fixes its symbol rate and HPA power in the record it
        // ran on; the window's record (the dialog's and the document's) must
        // show the same, or the next run would thaw them.
        const GeoLinkInputRecord& g = budget_->record;
        record_.symbolRate = g.symbolRate;
        record_.infoRate = g.infoRate;
        std::memcpy(record_.rate, g.rate, sizeof record_.rate);
        std::memcpy(record_.hpaPower, g.hpaPower, sizeof record_.hpaPower);
    }
    return outcome == GeoLinkBudget::Outcome::Completed;
}

void TLeoLinkWin::BuildDualFadeSections()
{
    ReportWriter line = WindowReportWriter(*this);
    WriteDualFadeSections(line, *budget_, &record_);
}

void TLeoLinkWin::TakeInterferenceUnits(const NonGeoLinkInputRecord& r)
{
    UpInterferenceCI = r.upCiUnits.On();
    DnInterferenceCI = r.dnCiUnits.On();
}

void TLeoLinkWin::WriteReport(ReportWriter& line, const ReportHeading& heading)
{
    WriteBentPipeReport(line, heading, *budget_, &record_);
}
