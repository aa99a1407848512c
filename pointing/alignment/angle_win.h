// TAngleWin: the "Look Angles" document window (type 5, ".ang").  From a
// site and a geostationary satellite it reports the elevation, the true and
// magnetic azimuth, the polarization offset and path distance, the
// elevations of an offset-focus dish, the modified polar mount and, for an
// inclined orbit, the daily window of the satellite.
#pragma once

#include "framework/output/mywindow.h"
#include "pointing/alignment/alignment_records.h"
#include "pointing/alignment/look_angles.h"

class TAngleWin : public TMyWindow {
public:
    static constexpr int kWindowType = 5;
    static constexpr int kEditCommand = 6110;

    TAngleWin(QWidget* parent, const char* title, const char* fileName);

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 6110: the input dialog on the record; OK recalculates.
    void CmEditInputs();
    // The report from the record; a satellite below the horizon leaves the
    // previous report as it was.
    void Recalculate();

    // The document is read whole into a fresh record, checked silently and
    // calculated, or the dialog opens for a record that fails a check.
    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    LookAngleInputRecord& Record() { return record_; }
    const AlignmentResult& Result() const { return result_; }

private:
    LookAngleInputRecord record_;
    AlignmentInputs inputs_;
    AlignmentResult result_;
};
