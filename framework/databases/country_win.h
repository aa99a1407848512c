// The town database: the country window (a "*.twn" file shown as a table of
// towns), its editor and the two record forms.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "framework/output/mywindow.h"

class TCountryWin : public TMyWindow {
public:
    static constexpr int kWindowType = 7;
    static constexpr int kEditCommand = 6117;

    TCountryWin(QWidget* parent, const char* title, const char* fileName);
    ~TCountryWin() override;

    void SetupWindow() override;
    // Only a file of version 1066 with fewer than 2000 towns, whole, is read;
    // a refused file leaves the table and the count as they were.
    bool LoadFile(const char* fileName) override;
    bool SaveFile(const char* fileName) override;
    // Rebuilds the report from the table.
    void ListTowns();
    // Edit command: the town editor.
    void CmEdit();

    std::string CountryName() const { return RecordText(Records[0].name); }

    // Record 0 (the country) and the towns 1 to TownCount.
    std::vector<TownRecord> Records;
    std::int32_t TownCount = 0;
    std::uint16_t Version = 0;   // of the file last read
};

class TCityListBox : public TMyListBox {
public:
    TCityListBox(TForm* parent, int id);
};

class TCityEntry : public TMyEdit {
public:
    TCityEntry(TForm* parent, int id, int textLimit);
};

class TNameEntry : public TMyEdit {
public:
    TNameEntry(TForm* parent, int id, int textLimit);
};

// Dialog 560: one town.  Its 45-byte transfer buffer: name[19] at 0,
// latitude[13] at 19, longitude[13] at 32 (D.MM with the hemisphere letter).
class TCityForm : public TForm {
public:
    static constexpr int kResourceId = 560;
    static constexpr std::size_t kTransferSize = 45;
    enum ControlId : int { kName = 200, kLatitude = 202, kLongitude = 203, kClear = 120 };
    enum Offset : std::size_t { kNameAt = 0, kLatitudeAt = 19, kLongitudeAt = 32 };
    static constexpr std::size_t kNameSize = 19, kCoordinateSize = 13;

    TCityForm(QWidget* parent, const std::string& caption);
    static std::vector<platform::ControlSpec> ControlTable();
    bool CanClose() override;
    void CmClear();
};

// Dialog 546: the country's name, 19 bytes.
class TNameForm : public TForm {
public:
    static constexpr int kResourceId = 546;
    static constexpr std::size_t kTransferSize = 19;
    enum ControlId : int { kName = 545 };

    explicit TNameForm(QWidget* parent);
    static std::vector<platform::ControlSpec> ControlTable();
    bool CanClose() override;
};

// Dialog 550: the town editor of a country window.
class TSelCityWin : public TForm {
public:
    static constexpr int kResourceId = 550;
    enum ControlId : int {
        kList = 551, kEditCountryName = 530, kModify = 122, kDelete = 124, kAdd = 123, kDone = 125,
    };

    TSelCityWin(TCountryWin& window);
    static std::vector<platform::ControlSpec> ControlTable();

    void SetupWindow() override;
    bool CanClose() override { return true; }

    void CmAdd();
    void CmModify();
    void CmDelete();
    void CmEditCountryName();
    void CmDone();

    // 1-based number of the town the buttons act on.
    int Current = 1;
    std::uint8_t CityBuffer[TCityForm::kTransferSize] = {};
    TownRecord Town;
    std::uint8_t NameBuffer[TNameForm::kTransferSize] = {};

private:
    void FillList();
    void SelectLine(int line);
    // The town built from the city form's buffer.
    TownRecord RecordFromForm() const;
    // After a change: the report, the changed flag and a repaint.
    void Changed();

    TCountryWin& window_;
};

namespace databases {
// Registers the country window (type 7) with the client.
void RegisterCountryWindow();
}  // namespace databases
