// The town, country and satellite pickers behind every dialog's Site and
// Satellite buttons.  A picker leaves its choice in the application object
// (PickedSiteName, PickedSiteLatitude, PickedSiteLongitude, PickedSiteAltitude;
// PickedSatName, PickedSatLongitude) and answers OK only when something was
// picked; the dialog that asked then copies the fields into its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"

class TGetTownListBox : public TMyListBox {
public:
    TGetTownListBox(TForm* parent, int id);
};
class TGetCountryListBox : public TMyListBox {
public:
    TGetCountryListBox(TForm* parent, int id);
};
class TGetSatListBox : public TMyListBox {
public:
    TGetSatListBox(TForm* parent, int id);
};

// Dialog 672: the "*.twn" files of the program directory.  OK puts the chosen
// name into the application's SelectedCountryFile.
class TGetCountryDlg : public TForm {
public:
    static constexpr int kResourceId = 672;
    static constexpr int kList = 673;

    explicit TGetCountryDlg(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    void SetupWindow() override;
    // True when the directory could be listed; the names come in name order
    // (case-blind), and the default country file is the one to select first.
    bool ReadCountryList();
    bool CanClose() override;

    std::vector<std::string> Names;
    int Current = 1;        // 1-based
    int SelectFirst = 1;    // 1-based
};

// Dialog 670: the towns of the country file chosen in the country selector.
class TGetTownDlg : public TForm {
public:
    static constexpr int kResourceId = 670;
    static constexpr int kList = 671;

    explicit TGetTownDlg(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    void SetupWindow() override;
    // Runs the country selector, then reads the chosen file (version 1066 or
    // later, whole); true when it was read.
    bool ReadTownFile();
    // Writes the picked-site fields; with no town to pick it closes the
    // dialog as cancelled instead.
    bool CanClose() override;

    std::vector<TownRecord> Records;   // record 0 names the country
    int TownCount = 0;
    int Current = 1;                   // 1-based
};

// Dialog 660: the satellites of "satlist.geo" in the program directory.
class TGetSatDlg : public TForm {
public:
    static constexpr int kResourceId = 660;
    static constexpr int kList = 651;

    explicit TGetSatDlg(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();

    void SetupWindow() override;
    bool ReadSatList();
    bool CanClose() override;

    std::vector<SatelliteRecord> Records;
    int SatelliteCount = 0;
    int Current = 1;
};

namespace databases {

// Run the pickers modally; true when a town or satellite was picked (the
// fields of the application object hold it).
bool PickTown(QWidget* parent);
bool PickSatellite(QWidget* parent);

// Connects the town picker to the set-up dialog's Site button.
void RegisterPickers();

}  // namespace databases
