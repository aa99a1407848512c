// TLeoLinkWin: the document window of the non-GEO bent-pipe link budget.  It
// keeps the non-GEO input record (each earth station types the satellite's
// elevation, range and longitude difference, each link one C/ASI figure) and
// runs the same budget engine as the GEO window on it.
#pragma once

#include <cstdint>

#include "linkbudget/geo/geo_budget.h"
#include "linkbudget/nongeo/nongeo_document.h"
#include "linkbudget/nongeo/nongeo_record.h"
#include "linkbudget/windows/budget_window.h"

class TLeoLinkForm;

class TLeoLinkWin : public TBudgetWin<TLeoLinkWin, GeoLinkBudget, NonGeoLinkInputRecord> {
public:
    using Form = TLeoLinkForm;
    static constexpr int kWindowType = 16;
    static constexpr int kEditCommand = 6126;
    static constexpr std::uint16_t kFileVersion = kNonGeoFileVersion;
    static constexpr const char* kFileFilter = "Non GEO Link Budget (*.llb)|*.llb";
    static constexpr const char* kDefaultExtension = "llb";

    TLeoLinkWin(QWidget* parent, const char* title, const char* fileName);

    // The dual-fade calculation sections, appended to the report.
    void BuildDualFadeSections();

    NonGeoLinkInputRecord& Record() { return record_; }

    bool UpInterferenceCI = false;  // 1: uplink interference entered as C/I in dB
    bool DnInterferenceCI = false;

    // The GEO engine on the non-GEO record.
    bool RunBudget();
    static bool ReadDocument(const char* fileName, NonGeoLinkInputRecord& record, std::int32_t& notice)
    {
        return ReadNonGeoDocument(fileName, record, notice);
    }
    void TakeInterferenceUnits(const NonGeoLinkInputRecord& r);
    void WriteReport(ReportWriter& line, const ReportHeading& heading);

private:
    NonGeoLinkInputRecord record_;
};

extern template class TBudgetWin<TLeoLinkWin, GeoLinkBudget, NonGeoLinkInputRecord>;
