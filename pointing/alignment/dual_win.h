// TDualWin: the "Dual Feed" document window (type 6, ".duo").  One dish
// pointed at a primary geostationary satellite receives a secondary one
// through a second feed off the focal point: the window reports the look
// angles to both, their separation seen from behind the dish, where the
// second feed goes, the beamwidth, the squint and the gain it costs.
#pragma once

#include "pointing/alignment/alignment_document_win.h"
#include "pointing/alignment/alignment_records.h"
#include "pointing/alignment/dual_feed.h"
#include "pointing/alignment/dual_form.h"

struct DualFeedDocument {
    using Record = DualFeedInputRecord;
    using Form = TDualForm;
    static constexpr int kWindowType = 6;
    static constexpr int kEditCommand = 6111;
    static constexpr std::uint16_t kVersion = kDualFeedFileVersion;
    static constexpr const char* kFilter = "Dual Feed Files (*.duo)|*.duo";
    static constexpr const char* kExtension = "duo";
    static bool Read(const char* fileName, Record& r) { return ReadDualFeedDocument(fileName, r); }
};

class TDualWin : public TAlignmentDocumentWin<DualFeedDocument> {
public:
    TDualWin(QWidget* parent, const char* title, const char* fileName);

    // Stops at either satellite below the horizon, then at a squint beyond
    // 10 beamwidths.
    bool Recalculate() override;
    // False, with "Beamwidths scanned > 10", for a squint beyond the curves.
    bool CheckScan(double squintLoss_dB);

    const DualFeedResult& Result() const { return result_; }

private:
    DualFeedResult result_;
};
