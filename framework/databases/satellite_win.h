// The satellite database: the satellite window (a "*.geo" file shown as a
// table of satellites), its editor and the record form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "framework/output/mywindow.h"

class TSatelliteWin : public TMyWindow {
public:
    static constexpr int kWindowType = 8;
    static constexpr int kEditCommand = 6118;

    TSatelliteWin(QWidget* parent, const char* title, const char* fileName);
    ~TSatelliteWin() override;

    void SetupWindow() override;
    // Only a file of version 1993 with fewer than 1000 satellites, whole, is
    // read; a refused file leaves the table and the count as they were.
    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;
    void ListSatellites();
    void CmEdit();

    std::string ListTitle() const { return RecordText(Records[0].name); }

    // Record 0 (the list's title) and the satellites 1 to SatelliteCount.
    std::vector<SatelliteRecord> Records;
    std::int32_t SatelliteCount = 0;
    std::uint16_t Version = 0;
};

class TGeoListBox : public TMyListBox {
public:
    TGeoListBox(TForm* parent, int id);
};

class TGeoEntry : public TMyEdit {
public:
    TGeoEntry(TForm* parent, int id, int textLimit);
};

// Dialog 450: one satellite.  Its 50-byte transfer buffer: name[19] at 0,
// longitude[13] at 19, then the nine band check boxes' words at 32 to 48 in
// the order P, L, S, C, X, Ku, Ka, Q/V, other.
class TGeoForm : public TForm {
public:
    static constexpr int kResourceId = 450;
    static constexpr std::size_t kTransferSize = 50;
    enum ControlId : int { kName = 201, kLongitude = 452, kClear = 120 };
    static constexpr int kBandBoxes[kBandCount] = {457, 458, 453, 454, 459, 455, 456, 460, 461};
    enum Offset : std::size_t { kNameAt = 0, kLongitudeAt = 19, kBandsAt = 32 };
    static constexpr std::size_t kNameSize = 19, kLongitudeSize = 13;

    TGeoForm(QWidget* parent, const std::string& caption);
    static std::vector<platform::ControlSpec> ControlTable();
    bool CanClose() override;
    void CmClear();
};

// Dialog 445: the satellite editor of a satellite window.
class TSelGeoWin : public TForm {
public:
    static constexpr int kResourceId = 445;
    enum ControlId : int { kList = 446, kModify = 122, kDelete = 124, kAdd = 123, kDone = 125 };

    explicit TSelGeoWin(TSatelliteWin& window);
    static std::vector<platform::ControlSpec> ControlTable();

    void SetupWindow() override;
    bool CanClose() override { return true; }

    void CmAdd();
    void CmModify();
    void CmDelete();
    void CmDone();

    int Current = 1;
    std::uint8_t GeoBuffer[TGeoForm::kTransferSize] = {};
    SatelliteRecord Satellite;

private:
    void FillList();
    void SelectLine(int line);
    SatelliteRecord RecordFromForm() const;
    void Changed();

    TSatelliteWin& window_;
};

namespace databases {
// Registers the satellite window (type 8) with the client.
void RegisterSatelliteWindow();
}  // namespace databases
