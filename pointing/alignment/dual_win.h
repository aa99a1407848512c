// TDualWin: the "Dual Feed" document window (type 6, ".duo").  One dish
// pointed at a primary geostationary satellite receives a secondary one
// through a second feed off the focal point: the window reports the look
// angles to both, their separation seen from behind the dish, where the
// second feed goes, the beamwidth, the squint and the gain it costs.
#pragma once

#include "framework/output/mywindow.h"
#include "pointing/alignment/alignment_records.h"
#include "pointing/alignment/dual_feed.h"

class TDualWin : public TMyWindow {
public:
    static constexpr int kWindowType = 6;
    static constexpr int kEditCommand = 6111;

    TDualWin(QWidget* parent, const char* title, const char* fileName);

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 6111: the input dialog on the record; OK recalculates.
    void CmEditInputs();
    // The report from the record; either satellite below the horizon, or a
    // squint beyond 10 beamwidths, leaves the previous report as it was.
    void Recalculate();
    // False, with its message, for a squint loss beyond the curves.
    bool CheckScan(double squintLoss_dB);

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    DualFeedInputRecord& Record() { return record_; }
    const DualFeedResult& Result() const { return result_; }

private:
    DualFeedInputRecord record_{};
    DualFeedResult result_;
};
