// The input forms of the Table menu.  Each runs on its record of
// table_records.h (the table window's transfer buffer): when shown it loads
// the record the user last accepted (the application's stored dialog
// values), OK checks the fields in order and stops at the first that fails,
// then stores the controls back; Clear empties the fields; Help opens the
// form's topic; each entry shows its hint in the status bar.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "rftools/tables/table_records.h"

// One field check of a table form, in the order the form checks them.
struct TableFieldCheck {
    int id;              // the edit
    const char* label;
    FieldType type;
    double minimum, maximum;
    const char* unit;
};

class TTableForm : public TForm {
public:
    static constexpr int kClear = 120;
    static constexpr int kSite = 126;
    static constexpr int kSatellite = 127;

    // `storedRecord`: 1-based record of the stored dialog values.
    TTableForm(QWidget* parent, int resourceId, const char* caption, std::vector<platform::ControlSpec> controls,
               int storedRecord, void* record, std::size_t size, std::span<const TableFieldCheck> checks);

    // The stored record into the buffer and the controls.
    void SetupWindow() override;
    // The field checks, the form's own check, then the store.
    bool CanClose() override;
    void CmClear();

    // The town and satellite pickers of the Site and Satellite buttons
    // (true when one was picked; the application holds it).  Tests replace
    // them; empty functions restore the databases' pickers.
    using Picker = std::function<bool(TForm& parent)>;
    static void SetPickers(Picker site, Picker satellite);
    // Runs a picker and, when one was picked, copies the application's
    // picked-site (or picked-satellite) fields into the controls given (0:
    // not wanted).
    void PickSite(int nameId, int latitudeId, int longitudeId, int alsoLongitudeId = 0);
    void PickSatellite(int nameId, int longitudeId);

protected:
    virtual bool CheckMore() { return true; }
    // What Clear leaves besides empty texts.
    virtual void ClearButtons(std::vector<std::uint8_t>& values) { (void)values; }

private:
    int storedRecord_;
    std::size_t size_;
    std::span<const TableFieldCheck> checks_;
};

// ---- visible satellites ------------------------------------------------------------

class TRecSiteEntry : public THintedEdit {
public:
    TRecSiteEntry(TForm* parent, int id, int textLimit);
};
class TRecSiteEntry2 : public THintedEdit {
public:
    TRecSiteEntry2(TForm* parent, int id, int textLimit);
};

// The band boxes' common part: "No active band selected" with none ticked;
// Clear ticks "K&u band" alone.
class TBandForm : public TTableForm {
public:
    using TTableForm::TTableForm;

protected:
    bool CheckMore() override;
    void ClearButtons(std::vector<std::uint8_t>& values) override;
    virtual std::size_t BandsOffset() const = 0;
};

class TRecSiteForm : public TBandForm {
public:
    static constexpr int kResourceId = 718;
    static constexpr int kStoredRecord = 27;
    enum ControlId : int { kSiteName = 200, kSiteLatitude = 202, kSiteLongitude = 203, kMinimumElevation = 1380 };
    TRecSiteForm(QWidget* parent, orbiscope::tables::RecSiteRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    std::size_t BandsOffset() const override;
};

class TRecSiteForm2 : public TBandForm {
public:
    static constexpr int kResourceId = 236;
    static constexpr int kStoredRecord = 28;
    static constexpr int kSite2 = 129;
    enum ControlId : int {
        kSite1Name = 200, kSite1Latitude = 202, kSite1Longitude = 203,
        kSite2Name = 232, kSite2Latitude = 233, kSite2Longitude = 234, kMinimumElevation = 1380,
    };
    TRecSiteForm2(QWidget* parent, orbiscope::tables::RecSite2Record& record);
    static std::vector<platform::ControlSpec> ControlTable();

protected:
    std::size_t BandsOffset() const override;
};

// ---- solar transit -------------------------------------------------------------------

class TSolarTransitEntry : public THintedEdit {
public:
    TSolarTransitEntry(TForm* parent, int id, int textLimit);
};

class TSolarTransitForm : public TTableForm {
public:
    static constexpr int kResourceId = 900;
    static constexpr int kStoredRecord = 30;
    enum ControlId : int {
        kSiteName = 200, kSiteLatitude = 202, kSiteLongitude = 203, kZone = 17001, kTargetLongitude = 107,
        kMonth = 105, kYear = 106,
    };
    TSolarTransitForm(QWidget* parent, orbiscope::tables::SolarTransitRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

// ---- antenna, EIRP and modulation ----------------------------------------------------

class TFreqEntry : public THintedEdit {
public:
    TFreqEntry(TForm* parent, int id, int textLimit);
};

class TFreqForm : public TTableForm {
public:
    static constexpr int kResourceId = 9235;
    static constexpr int kStoredRecord = 21;
    enum ControlId : int { kFrequency = 208 };
    TFreqForm(QWidget* parent, orbiscope::tables::FreqRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

class TAntSysSmallEntry : public THintedEdit {
public:
    TAntSysSmallEntry(TForm* parent, int id, int textLimit);
};

class TAntSysSmallForm : public TTableForm {
public:
    static constexpr int kResourceId = 320;
    static constexpr int kStoredRecord = 4;
    enum ControlId : int { kFrequency = 208, kSystemNoise = 311, kBandwidth = 14002 };
    TAntSysSmallForm(QWidget* parent, orbiscope::tables::AntSysSmallRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

class TBerEntry : public THintedEdit {
public:
    TBerEntry(TForm* parent, int id, int textLimit);
};

class TBerForm : public TTableForm {
public:
    static constexpr int kResourceId = 16520;
    static constexpr int kStoredRecord = 9;
    enum ControlId : int { kLog10Ber = 4738 };
    TBerForm(QWidget* parent, orbiscope::tables::BerRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

// ---- national tables -----------------------------------------------------------------

class TSatPosEntry : public THintedEdit {
public:
    TSatPosEntry(TForm* parent, int id, int textLimit);
};

class TSatPosForm : public TTableForm {
public:
    static constexpr int kResourceId = 3883;
    static constexpr int kStoredRecord = 29;
    enum ControlId : int { kSatelliteLongitude = 206, kCant = 207 };
    TSatPosForm(QWidget* parent, orbiscope::tables::SatPosRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
};

// Remembers itself as the last-focused entry, so that the Satellite button
// knows which satellite the user is filling in.
class TDualTabEntry : public THintedEdit {
public:
    TDualTabEntry(TForm* parent, int id, int textLimit);
    void EvSetFocus() override;
};

class TDualTabForm : public TTableForm {
public:
    static constexpr int kResourceId = 8706;
    static constexpr int kStoredRecord = 15;
    enum ControlId : int {
        kPrimaryName = 201, kSecondaryName = 229, kPrimaryLongitude = 206, kSecondaryLongitude = 2863,
        kAperture = 14027, kFOverD = 8704, kBeamfactor = 8705,
    };
    TDualTabForm(QWidget* parent, orbiscope::tables::DualTabRecord& record);
    static std::vector<platform::ControlSpec> ControlTable();
    // The primary satellite's fields when one of them had the focus last,
    // else the secondary's.
    void CmSatellite();
};
