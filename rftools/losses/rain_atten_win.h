// TRainAttenWin: the "Total Atmospheric Attenuation" document window (type
// 14, ".atn" and ".att").  For one earth station and one geostationary
// satellite it shows the slant path's atmospheric losses, the downlink noise
// increase and degradation, XPD, the worst month and the downtimes.
#pragma once

#include <cstdint>

#include "framework/forms/form.h"
#include "framework/output/mywindow.h"
#include "propagation/link_atmosphere.h"
#include "rftools/losses/atmos_loss_report.h"

class TRainAttenWin : public TMyWindow {
public:
    static constexpr int kWindowType = 14;
    static constexpr int kEditCommand = 6123;

    TRainAttenWin(QWidget* parent, const char* title, const char* fileName);

    void SetupWindow() override;
    void EvSetFocus() override;

    // Command 6123: the input form; OK recalculates.
    void CmEditInputs();
    void ParseInputs();
    // Look angles, the elevation check, the losses and the report; an
    // elevation below 3 degrees stops after its message (false), the old
    // report stays.
    bool Recalculate();
    void Calculate();
    void BuildReport();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;
    // Versions 4000 to 4004, and the two oldest, 1812 and 1813.
    bool ReadFile(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& record);
    virtual bool ReadFileOld(DocumentFile& file, std::uint16_t version, AtmosLossInputRecord& record);

    AtmosLossInputRecord& Record() { return record_; }
    // What the last cancelled or refused edit typed: the next edit shows
    // it, but the record that is calculated and saved keeps the values of
    // the report on screen.
    CancelledTyping KeptTyping;
    const orbiscope::losses::AtmosLossInputs& Inputs() const { return inputs_; }
    const orbiscope::losses::AtmosLossResults& Results() const { return results_; }

    // The models the window computes with: the ITU-R maps unless a test
    // gives its own (null restores them).
    static void SetAtmosphere(LinkAtmosphere* atmosphere);

private:
    AtmosLossInputRecord record_;
    orbiscope::losses::AtmosLossInputs inputs_;
    orbiscope::losses::SiteLook look_;
    orbiscope::losses::AtmosLossResults results_;
};
