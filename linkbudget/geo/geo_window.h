// TUpLinkWin: the document window of the GEO bent-pipe link budget.  It owns
// the budget (input record, parsed values, results), runs the input dialog,
// recalculates, writes the report, reads and writes "*.glb" documents (and
// the older "*.upd" generation) and exports a calculated budget's inputs and
// results as labelled text.
#pragma once

#include <cstdint>
#include <string>

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

    static constexpr int kExportInputsCommand = 6026;
    static constexpr int kExportResultsCommand = 6027;

    TUpLinkWin(QWidget* parent, const char* title, const char* fileName);

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

    // The calculation; the inputs it ran on are kept for the exports.
    bool RunBudget();
    // Whether the window shows a calculated report, whose inputs and
    // results the exports write: not before the first calculation.
    bool Calculated() const { return calculated_; }

    // The inputs of the report, one line per field of the record in record
    // order ("Export Input To Compatible Batch File Format"), and its
    // results in the report's order ("Export Output to DISA Template
    // Format"), each written where the user chooses.
    std::string InputExportText() const;
    std::string ResultExportText() const;
    void CmExportInputs();
    void CmExportResults();

private:
    // A save dialog proposing the document's name with `suffix`, then the text.
    void Export(const char* title, const char* suffix, const std::string& text);

    GeoLinkInputRecord calculatedRecord_{};
    bool calculated_ = false;
};

extern template class TBudgetWin<TUpLinkWin, GeoLinkBudget, GeoLinkInputRecord>;
