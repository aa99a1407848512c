// TUpLinkWin: the document window of the GEO bent-pipe link budget.  It owns
// the budget (input record, parsed values, results), runs the input dialog,
// recalculates, writes the report and reads and writes "*.glb" documents
// (and the older "*.upd" generation).
#pragma once

#include <cstdint>

#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/geo/geo_document.h"
#include "linkbudget/windows/budget_window.h"

class TUpLinkForm;

class TUpLinkWin : public TBudgetWin<TUpLinkWin, GeoLinkBudget, GeoLinkInputRecord> {
public:
    using Form = TUpLinkForm;
    static constexpr int kWindowType = 10;
    static constexpr int kEditCommand = 6114;
    static constexpr std::uint16_t kFileVersion = kGeoFileVersion;
    static constexpr const char* kFileFilter = "GEO Link Budget (*.glb)|*.glb";
    static constexpr const char* kDefaultExtension = "glb";

    TUpLinkWin(QWidget* parent, const char* title, const char* fileName) : TBudgetWin(parent, title, fileName) {}

    // The dual-fade calculation sections, appended to the report.
    void BuildDualFadeSections();

    GeoLinkInputRecord& Record() { return budget_->record; }

    // State the input dialog keeps in the window between its runs.
    bool UpInterferenceCI = false;         // 1: uplink interference entered as C/I in dB
    bool DnInterferenceCI = false;

    static bool ReadDocument(const char* fileName, GeoLinkInputRecord& record, std::int32_t& notice)
    {
        return ReadGeoDocument(fileName, record, notice);
    }
    void TakeInterferenceUnits(const GeoLinkInputRecord& r);
    void WriteReport(ReportWriter& line, const ReportHeading& heading);
};

extern template class TBudgetWin<TUpLinkWin, GeoLinkBudget, GeoLinkInputRecord>;
