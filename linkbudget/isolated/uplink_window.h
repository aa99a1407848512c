// TRgnUpLinkWin: the document window of the isolated (regenerative) uplink
// budget.  It owns the budget, recalculates, writes the report and reads and
// writes "*.rup" documents.
#pragma once

#include <cstdint>

#include "linkbudget/isolated/uplink_budget.h"
#include "linkbudget/isolated/uplink_document.h"
#include "linkbudget/windows/budget_window.h"

class TRgnUpLinkForm;

class TRgnUpLinkWin : public TBudgetWin<TRgnUpLinkWin, RgnUplinkBudget, UplinkInputRecord> {
public:
    using Form = TRgnUpLinkForm;
    static constexpr int kWindowType = 15;
    static constexpr int kEditCommand = 5524;
    static constexpr std::uint16_t kFileVersion = kUplinkDocumentVersion;
    static constexpr const char* kFileFilter = "Upink Budget (Isolated) (*.rup)|*.rup";
    static constexpr const char* kDefaultExtension = "rup";

    TRgnUpLinkWin(QWidget* parent, const char* title, const char* fileName) : TBudgetWin(parent, title, fileName) {}

    UplinkInputRecord& Record() { return budget_->record; }

    bool InterferenceCI = false;   // interference entered as C/I in dB

    static bool ReadDocument(const char* fileName, UplinkInputRecord& record, std::int32_t& notice)
    {
        notice = 0;
        return ReadUplinkDocument(fileName, record);
    }
    void TakeInterferenceUnits(const UplinkInputRecord& r) { InterferenceCI = r.ciUnits.On(); }
    void WriteReport(ReportWriter& line, const ReportHeading& heading);
};

extern template class TBudgetWin<TRgnUpLinkWin, RgnUplinkBudget, UplinkInputRecord>;
