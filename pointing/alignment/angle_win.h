// TAngleWin: the "Look Angles" document window (type 5, ".ang").  From a
// site and a geostationary satellite it reports the elevation, the true and
// magnetic azimuth, the polarization offset and path distance, the
// elevations of an offset-focus dish, the modified polar mount and, for an
// inclined orbit, the daily window of the satellite.
#pragma once

#include "pointing/alignment/alignment_document_win.h"
#include "pointing/alignment/alignment_records.h"
#include "pointing/alignment/angle_form.h"
#include "pointing/alignment/look_angles.h"

struct LookAngleDocument {
    using Record = LookAngleInputRecord;
    using Form = TAngleForm;
    static constexpr int kWindowType = 5;
    static constexpr int kEditCommand = 6110;
    static constexpr std::uint16_t kVersion = kLookAngleFileVersion;
    static constexpr const char* kFilter = "Look Angle Files (*.ang)|*.ang";
    static constexpr const char* kExtension = "ang";
    static bool Read(const char* fileName, Record& r) { return ReadLookAngleDocument(fileName, r); }
};

class TAngleWin : public TAlignmentDocumentWin<LookAngleDocument> {
public:
    TAngleWin(QWidget* parent, const char* title, const char* fileName);

    // Stops at "Satellite below horizon".
    bool Recalculate() override;

    const AlignmentResult& Result() const { return result_; }

private:
    AlignmentResult result_;
};
