// TRgnDownLinkWin: the document window of the isolated downlink
// budget.  It owns the budget, recalculates, writes the report and reads and
// writes "*.rdn" (and older "*.dlb", "*.dnd") documents.
#pragma once

#include <cstdint>

#include "linkbudget/isolated/downlink_budget.h"
#include "linkbudget/isolated/downlink_document.h"
#include "linkbudget/windows/budget_window.h"

class TRgnDownLinkForm;

class TRgnDownLinkWin : public TBudgetWin<TRgnDownLinkWin, RgnDownlinkBudget, DownlinkInputRecord> {
public:
    using Form = TRgnDownLinkForm;
    static constexpr int kWindowType = 17;
    static constexpr int kEditCommand = 5525;
    static constexpr std::uint16_t kFileVersion = kDownlinkDocumentVersion;
    static constexpr const char* kFileFilter = "Downlink Budget (Isolated) (*.rdn)|*.rdn";
    static constexpr const char* kDefaultExtension = "rdn";

    TRgnDownLinkWin(QWidget* parent, const char* title, const char* fileName) : TBudgetWin(parent, title, fileName) {}

    DownlinkInputRecord& Record() { return budget_->record; }

    bool InterferenceCI = false;   // interference entered as C/I in dB

    static bool ReadDocument(const char* fileName, DownlinkInputRecord& record, std::int32_t& notice)
    {
        notice = 0;
        return ReadDownlinkDocument(fileName, record);
    }
    void TakeInterferenceUnits(const DownlinkInputRecord& r) { InterferenceCI = r.ciUnits.On(); }
    void WriteReport(ReportWriter& line, const ReportHeading& heading);
};

extern template class TBudgetWin<TRgnDownLinkWin, RgnDownlinkBudget, DownlinkInputRecord>;
