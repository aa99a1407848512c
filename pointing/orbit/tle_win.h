// TTleWin: the satellite positions window of a ".tle" file (window type 4).
// For one observer site it shows where every satellite of the file is now,
// over the Earth and in the sky, and rewrites the table on its timer (7777)
// every refresh period.  The file is only read.
//
// Differences from the letter of the old window, each an outright fault
// there: the file may hold any number of sets and any line ends; a set that
// fails its checksum, or that the model cannot propagate, shows its message
// in its own row and the sets after it are still shown; the time offset is
// held to one day either way in the dialog and in the positions alike, and
// the report prints the offset the positions use; Cancel in the options
// dialog leaves the options as they were and keeps its typing for the next
// opening only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/output/mywindow.h"
#include "platform/services.h"
#include "pointing/orbit/loc_form.h"
#include "pointing/orbit/positions.h"

class TTleWin : public TMyWindow {
public:
    static constexpr int kWindowType = 4;
    static constexpr int kEditCommand = 6130;
    static constexpr int kTimerId = 7777;

    TTleWin(QWidget* parent, const char* title, const char* fileName);
    ~TTleWin() override;

    void SetupWindow() override;
    void EvSetFocus() override;
    // Reads the file into the model's table, then the settings and the table.
    bool LoadFile(const char* fileName) override;

    // The option record's texts into the working settings.
    void ReadSettings();
    // Every set at the current instant plus the offset, sorted.
    void ComputePositions(std::int32_t timeOffset);
    // Stops the timer, recomputes, rewrites the report and re-arms the timer.
    void UpdateTable();
    // Command 6130: the options dialog.
    void CmOptions();
    void EvTimer();

    bool TimerRunning() const { return timer_.Running(); }
    const std::vector<TleSatPosition>& Positions() const { return positions_; }
    TSgp4Sdp4& Model() { return *model_; }

    std::int32_t EntryCount = 0;
    TleOptionRecord Options{};
    // What the last cancelled options dialog typed: the next one shows it,
    // but the options the table is computed from are the last OK's.
    CancelledTyping KeptTyping;
    char SiteName[41] = {};
    double SiteLatitude = 0;   // degrees, north positive
    double SiteLongitude = 0;  // degrees, east positive
    double SiteAltitude = 0;   // km
    std::int32_t TimeOffset = 0;   // s
    std::int32_t RefreshRate = 1;  // s

private:
    void WriteTable();
    void WriteRow(const TleSatPosition& row);

    std::vector<TleSatPosition> positions_;
    std::unique_ptr<TSgp4Sdp4> model_;
    platform::Timer timer_;
};
