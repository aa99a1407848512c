// TSolarOutWin: the "Solar Outage" document window (type 11, ".sun").  It
// owns the input record, finds the satellite's look angles, searches both
// season groups for outages and shows them as its report.
#pragma once

#include <cstdint>

#include "framework/forms/form.h"
#include "framework/output/mywindow.h"
#include "pointing/sun/solar_out_record.h"

class TSolarOutWin : public TMyWindow {
public:
    static constexpr int kWindowType = 11;
    static constexpr int kEditCommand = 6116;

    TSolarOutWin(QWidget* parent, const char* title, const char* fileName);

    void SetupWindow() override;
    void EvSetFocus() override;
    // No closing while a search writes the report.
    bool CanClose() override;

    // Command 6116: the input form; OK marks the document changed and
    // recalculates.
    void CmEditInputs();
    void ParseInputs();
    // False when the satellite is below the horizon: the old report stays.
    bool Recalculate();
    void BuildReport();

    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;

    SolarOutRecord& Record() { return record_; }
    // What the last cancelled or refused edit typed: the next edit shows
    // it, but the record that is searched and saved keeps the values of the
    // report on screen.
    CancelledTyping KeptTyping;
    const orbiscope::sun::SolarOutInputs& Inputs() const { return inputs_; }
    double SatElevation = 0;  // degrees
    double SatAzimuth = 0;    // degrees, true
    int EventCount = 0;       // both season groups
    bool Searching() const { return searching_; }

private:
    void SearchGroup(const char* heading, orbiscope::sun::SeasonGroup group);

    SolarOutRecord record_;
    orbiscope::sun::SolarOutInputs inputs_;
    bool searching_ = false;
};
