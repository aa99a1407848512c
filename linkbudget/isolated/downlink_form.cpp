#include "linkbudget/isolated/downlink_form.h"
#include "linkbudget/windows/budget_form.h"
#include "framework/forms/scratch_record.h"

#include <QAbstractButton>
#include <QTabBar>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "linkbudget/isolated/downlink_window.h"
#include "platform/messagebox.h"

using platform::ControlKind;
using platform::ControlSpec;
using F = TRgnDownLinkForm;

namespace {

constexpr const char* kPageTitles[F::kPageCount] = {"Downlink", "Rain Model", "Satellite", "Carrier"};
constexpr const char* kLatUnit = "\xB0N,\xB0S";
constexpr const char* kLonUnit = "\xB0W,\xB0" "E";

// ---- layout --------------------------------------------------------------
constexpr int kPageTop = 48, kRow = 27, kRowsPerColumn = 12;
constexpr int kColumnX[2] = {16, 420};
constexpr int kLabelWidth = 200, kEditX = 205, kEditWidth = 160;

struct Layout {
    std::vector<ControlSpec> transfer;   // record order
    std::vector<ControlSpec> others;     // labels, groups, statics, buttons
    std::array<std::vector<int>, F::kPageCount> pages;
    std::array<int, F::kPageCount> slot{};

    std::pair<int, int> Next(int page, int rows = 1)
    {
        int s = slot[std::size_t(page)];
        if (s % kRowsPerColumn + rows > kRowsPerColumn) s += kRowsPerColumn - s % kRowsPerColumn;
        slot[std::size_t(page)] = s + rows;
        return {kColumnX[std::min(1, s / kRowsPerColumn)], kPageTop + (s % kRowsPerColumn) * kRow};
    }
    void Other(int page, ControlSpec c)
    {
        if (page >= 0 && c.id != 0) pages[std::size_t(page)].push_back(c.id);
        others.push_back(std::move(c));
    }
    void Control(int page, ControlKind kind, int id, const char* text, int x, int y, int w, int h, bool groupStart,
                 bool isTransfer)
    {
        ControlSpec c;
        c.kind = kind;
        c.id = id;
        if (text) c.text = text;
        c.x = x, c.y = y, c.width = w, c.height = h;
        c.groupStart = groupStart;
        if (isTransfer) {
            transfer.push_back(c);
            pages[std::size_t(page)].push_back(id);
        } else {
            Other(page, c);
        }
    }
    void Entry(int page, int id, int limit, const char* label)
    {
        const auto [x, y] = Next(page);
        Control(page, ControlKind::Static, F::LabelOf(id), label, x, y + 3, kLabelWidth - 8, 20, false, false);
        ControlSpec c;
        c.kind = ControlKind::Edit;
        c.id = id;
        c.textLimit = limit;
        c.x = x + kEditX, c.y = y, c.width = limit > 13 ? 190 : kEditWidth, c.height = 23;
        transfer.push_back(c);
        pages[std::size_t(page)].push_back(id);
    }
    void EntryAt(int page, int id, int limit, int x, int y, int w)
    {
        ControlSpec c;
        c.kind = ControlKind::Edit;
        c.id = id;
        c.textLimit = limit;
        c.x = x, c.y = y, c.width = w, c.height = 23;
        transfer.push_back(c);
        pages[std::size_t(page)].push_back(id);
    }
    // A row of option buttons in a group box of its own.
    void Options(int page, int groupId, const char* title, std::initializer_list<std::pair<int, const char*>> buttons,
                 ControlKind kind = ControlKind::RadioButton)
    {
        const auto [x, y] = Next(page, 2);
        Control(page, ControlKind::GroupBox, groupId, title, x, y - 4, 380, 2 * kRow, false, false);
        int bx = x + 10;
        bool first = true;
        for (const auto& [id, text] : buttons) {
            Control(page, kind, id, text, bx, y + 16, 120, 22, first, true);
            bx += 122;
            first = false;
        }
    }
    void Push(int id, const char* text, int x, int y, int w, int page = -1)
    {
        Control(page, ControlKind::PushButton, id, text, x, y, w, 26, false, false);
    }
};

Layout BuildLayout()
{
    using K = ControlKind;
    Layout L;
    // ---- Downlink ---------------------------------------------------------
    L.Entry(0, F::kSiteName, 41, "Site name");
    L.Entry(0, F::kLatitude, 13, "Site latitude \xB0");
    L.Entry(0, F::kLongitude, 13, "Site longitude \xB0");
    L.Entry(0, F::kAltitude, 13, "Site altitude km");
    L.Entry(0, F::kFrequency, 13, "Frequency GHz");
    L.Entry(0, F::kPolarization, 2, "Polarization (V,H or C)");
    L.Entry(0, F::kAvailability, 13, "Availability %");
    L.Entry(0, F::kDiameter, 13, "Antenna diameter (m)");
    L.Entry(0, F::kEfficiency, 13, "Ant. eff,gain  %,dBi");
    L.Entry(0, F::kCouplingLoss, 13, "Coupling loss dB");
    L.Entry(0, F::kMispointing, 13, "Antenna mispointing dB");
    L.Entry(0, F::kOtherLosses, 13, "Other path losses dB");
    L.Entry(0, F::kLnbNoise, 13, "LNB noise fig,temp dB,K");
    L.Entry(0, F::kAntennaNoise, 13, "Antenna noise temp. K");
    L.Entry(0, F::kLnbGain, 13, "LNB gain dB");
    L.Entry(0, F::kLoadImpedance, 13, "LNB load imp. ohms");
    L.Entry(0, F::kCsatAci, 13, "Csat/ACIo dB-Hz");
    L.Entry(0, F::kCsatAsi, 13, "Csat/ASIo dB-Hz");
    L.Entry(0, F::kCsatXpi, 13, "Csat/XPIo dB-Hz");
    L.Entry(0, F::kCim, 13, "C/IM dB");
    // ---- Rain Model -------------------------------------------------------
    {
        const int y = kPageTop;
        L.Control(1, K::GroupBox, F::kRainGroup, "Downlink Rain Model", 16, y, 760, 90, false, false);
        const std::pair<int, const char*> rain[5] = {{F::kItuAuto, "ITU-R (auto)"}, {F::kCraneTc, "Crane T-C"},
                                                     {F::kCraneUsa, "Crane USA"}, {F::kClearSky, "Clear sky"},
                                                     {F::kItuRate, "ITU (mm/h)"}};
        // The Crane buttons are never shown; the others sit side by side.
        const int xs[5] = {30, 30, 30, 180, 330};
        for (int i = 0; i < 5; ++i)
            L.Control(1, K::RadioButton, rain[i].first, rain[i].second, xs[i], y + 20, 140, 22, i == 0, true);
        L.Control(1, K::Static, F::LabelOf(F::kRainRate), "Rain rate mm/h", 30, y + 57, 150, 20, false, false);
        L.EntryAt(1, F::kRainRate, 13, 180, y + 54, 120);
        L.Control(1, K::CheckBox, F::kDepolarization, "Include depolarization", 30, y + 100, 220, 22, false, true);
    }
    // ---- Satellite ----------------------------------------------------------
    L.Entry(2, F::kSatName, 41, "Satellite name");
    L.Entry(2, F::kServiceName, 41, "Service name");
    L.Entry(2, F::kEirp, 13, "EIRP dBW");
    L.Entry(2, F::kSatBandwidth, 13, "Sat bandwidth MHz");
    L.Entry(2, F::kSatLongitude, 13, "Satellite longitude \xB0");
    L.Entry(2, F::kRange, 13, "Range km");
    L.Entry(2, F::kElevation, 13, "Elevation \xB0");
    L.Entry(2, F::kLongitudeDifference, 13, "Site/Sat long. diff. \xB0");
    L.Options(2, F::kOrbitGroup, "Satellite orbit", {{F::kGeo, "GEO"}, {F::kNonGeo, "Non GEO"}});
    // ---- Carrier ------------------------------------------------------------
    // The target and rate groups: their buttons on the first row (added
    // below, in record order), the entry on the second.
    const auto [tx, ty] = L.Next(3, 2);
    L.Control(3, K::GroupBox, F::kTargetGroup, "Required Target (dB)", tx, ty - 6, 380, 2 * kRow + 6, false, false);
    L.EntryAt(3, F::kRequiredTarget, 13, tx + kEditX, ty + kRow - 6, kEditWidth);
    const auto [rx, ry] = L.Next(3, 2);
    L.Control(3, K::GroupBox, F::kRateGroup, "Rate", rx, ry - 6, 380, 2 * kRow + 6, false, false);
    L.EntryAt(3, F::kRate, 13, rx + kEditX, ry + kRow - 6, kEditWidth);
    L.Entry(3, F::kOverhead, 13, "Overhead % info rate");
    L.Entry(3, F::kFecRate, 13, "FEC code rate");
    L.Entry(3, F::kSpreadingGain, 13, "Spreading gain dB");
    L.Entry(3, F::kRollOff, 13, "(1 + Roll off factor)");
    L.Entry(3, F::kCarrierSpacing, 13, "Carrier spacing factor");
    L.Entry(3, F::kAllocationStep, 13, "BW allocation step MHz");
    L.Entry(3, F::kImplementationLoss, 13, "Implementation loss dB");
    L.Entry(3, F::kSystemMargin, 13, "System margin dB");
    {
        const auto [x, y] = L.Next(3, 3);
        L.Control(3, K::GroupBox, F::kModulationGroup, "Modulation", x, y - 4, 380, 3 * kRow, false, false);
        L.Control(3, K::RadioButton, F::kOneBit, "1 bit/symbol", x + 10, y + 14, 120, 22, true, true);
        L.Control(3, K::RadioButton, F::kMapsk, "M-(A)PSK", x + 135, y + 14, 110, 22, false, true);
        L.Control(3, K::RadioButton, F::kMqam, "M-QAM", x + 250, y + 14, 110, 22, false, true);
        L.Control(3, K::Static, F::kMLabel, "M=", x + 10, y + 42, 40, 20, false, false);
        L.EntryAt(3, F::kModulationOrder, 13, x + 55, y + 42, 80);
    }
    {
        L.Control(3, K::RadioButton, F::kEbNo, "Eb/No", tx + 10, ty + 10, 100, 22, true, true);
        L.Control(3, K::RadioButton, F::kEsNo, "Es/No", tx + 120, ty + 10, 100, 22, false, true);
        L.Control(3, K::RadioButton, F::kInfoRate, "Info rate Mbps", rx + 10, ry + 10, 160, 22, true, true);
        L.Control(3, K::RadioButton, F::kSymbolRate, "Symbol rate Mbaud", rx + 180, ry + 10, 180, 22, false, true);
    }
    {
        const auto [x, y] = L.Next(3, 3);
        L.Control(3, K::GroupBox, F::kModcodGroup, "Modcod", x, y - 4, 380, 3 * kRow, false, false);
        L.EntryAt(3, F::kModcodText, 81, x + 10, y + 44, 360);
        L.Push(F::kDvbs2x, "DVBS2X", x + 10, y + 14, 66, 3);
        L.Push(F::kDvbs, "DVBS", x + 82, y + 14, 66, 3);
        L.Push(F::kManual, "Manual", x + 154, y + 14, 66, 3);
        L.Push(F::kNs3, "NS3", x + 226, y + 14, 66, 3);
        L.Push(F::kNs4, "NS4", x + 298, y + 14, 66, 3);
    }
    // ---- Interference units, last in the record ------------------------------
    L.Options(0, F::kUnitsGroup, "Interference units", {{F::kCsatIo, "Csat/Io (dB-Hz)"}, {F::kCi, "C/I (dB)"}});

    ControlSpec tab;
    tab.kind = ControlKind::TabControl;
    tab.id = F::kTab;
    tab.x = 10, tab.y = 10, tab.width = 780, tab.height = 28;
    L.Other(-1, tab);
    const int buttonsY = kPageTop + kRowsPerColumn * kRow + 16;
    L.Push(F::kSite, "Site", 16, buttonsY, 80);
    L.Push(F::kSatellite, "Satellite", 104, buttonsY, 80);
    L.Push(F::kFreeze, "Freeze", 192, buttonsY, 80);
    L.Push(platform::IDOK, "OK", 520, buttonsY, 80);
    L.Push(platform::IDCANCEL, "Cancel", 608, buttonsY, 80);
    L.Push(platform::IDHELP, "Help", 696, buttonsY, 80);
    ControlSpec suggestion;
    suggestion.kind = ControlKind::Static;
    suggestion.id = F::kSuggestion;
    suggestion.x = 16, suggestion.y = buttonsY + 34, suggestion.width = 760, suggestion.height = 20;
    L.Other(-1, suggestion);
    return L;
}

const Layout& TheLayout()
{
    static const Layout layout = BuildLayout();
    return layout;
}

// ---- hints -------------------------------------------------------------------
constexpr HintEntry kEntryHints[] = {
    {F::kSiteName, 0, "Name of earth station location"},
    {F::kLatitude, 0, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
    {F::kLongitude, 0, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
    {F::kAltitude, 0, "Site altitude in km or use AUTO"},
    {F::kFrequency, 0, "Frequency (1 to 100 GHz)"},
    {F::kPolarization, 0, "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)"},
    {F::kAvailability, 0, "'Average year' availability (95.0 to 99.999%)"},
    {F::kDiameter, 0, "Aperture of earth station antenna (0.2 to 50 metres)"},
    {F::kEfficiency, 0, "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets"},
    {F::kCouplingLoss, 0, "Waveguide losses [0 to 20dB)"},
    {F::kMispointing, 0, "Antenna mispointing losses (dB)"},
    {F::kOtherLosses, 0, "Other path losses (+ve for radome loss or -ve for site diversity gain"},
    {F::kCsatAci, 0, "Value for Csat/ACIo or C/ACI according to input label"},
    {F::kCsatAsi, 0, "Value for Csat/AAIo or C/ASI according to input label"},
    {F::kCsatXpi, 0, "Value for Csat/XPIo or C/XPI according to input label"},
    {F::kLnbNoise, 0, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {F::kAntennaNoise, 0, "Value for antenna noise (1 to 500K)"},
    {F::kLnbGain, 0, "Enter gain of the LNB (10 to 100dB)"},
    {F::kLoadImpedance, 0, "Matching impedance of the LNB output (usually 50 or 75 ohms)"},
    {F::kCim, 0, "AUTO or a specific value"},
    {F::kEirp, 0, "Saturation EIRP of satellite (dBW)"},
    {F::kRainRate, 0, "ITU-R manual rain rate value (mm/hr)"},
    {F::kSatName, 0, "Name of satellite"},
    {F::kServiceName, 0, "Name of service or customer"},
    {F::kSatBandwidth, 0, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
    {F::kSatLongitude, 0, "Orbital slot of satellite (0 to 180 degrees, suffix E or W)"},
    {F::kRange, 0, "Range of non-geo satellite (km)"},
    {F::kElevation, 0, "Snapshot elevation of non-geo satellite (degrees)"},
    {F::kLongitudeDifference, 0, "Estimate of worst case site/satellite longitude difference (degrees)"},
    {F::kRequiredTarget, 0, "Target Eb/No or Es/No required [-40 to 50 dB]"},
    {F::kRate, 0, "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)"},
    {F::kOverhead, 0, "Signalling overhead, if any, added to the info rate"},
    {F::kFecRate, 0, "FEC code rate (typ. 0.5, 0.75 or 0.875)"},
    {F::kSpreadingGain, 0, "Spreading gain (dB) for spread spectrum transmission (typ. 0)"},
    {F::kRollOff, 0, "(1 + roll off factor) (typ. 1.2)"},
    {F::kCarrierSpacing, 0, "Carrier spacing factor (typ. 1.4)"},
    {F::kAllocationStep, 0, "Allocated bandwidth incremental step size (typ. 0.100MHz)"},
    {F::kImplementationLoss, 0, "Degradation, enter 0 if not known (dB)"},
    {F::kSystemMargin, 0, "Margin to allow for uncertainty of system parameters (typ. 0 to 3 dB)"},
    {F::kModulationOrder, 0, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
};

F::Picker& SitePicker()
{
    static F::Picker picker;
    return picker;
}
F::Picker& SatellitePicker()
{
    static F::Picker picker;
    return picker;
}


}  // namespace

// ---- TRgnDownLinkEntry -----------------------------------------------------------

TRgnDownLinkEntry::TRgnDownLinkEntry(TForm* parent, int id, int textLimit, HintTable hints)
    : TMyEdit(parent, id, textLimit)
{
    SetHints(hints);
}

void TRgnDownLinkEntry::EvSetFocus() { ShowStatusHint(App(), HintFor(Hints(), Id())); }

// ---- TRgnDownLinkForm ------------------------------------------------------------

std::vector<ControlSpec> TRgnDownLinkForm::ControlTable()
{
    const Layout& L = TheLayout();
    std::vector<ControlSpec> all = L.transfer;
    all.insert(all.end(), L.others.begin(), L.others.end());
    return all;
}

void TRgnDownLinkForm::ClearTextTails(DownlinkInputRecord& record)
{
    ::ClearTextTails(record, ControlTable());
}

const std::array<std::vector<int>, F::kPageCount>& TRgnDownLinkForm::PageControls() { return TheLayout().pages; }

TRgnDownLinkForm::TRgnDownLinkForm(QWidget* parent, TRgnDownLinkWin& window)
    : TForm(parent, kResourceId, "Edit Downlink Parameters", ControlTable()), window_(window)
{
    SetTransferBuffer(&window.Record(), sizeof(DownlinkInputRecord));
    for (const ControlSpec& c : TheLayout().transfer)
        if (c.kind == ControlKind::Edit) new TRgnDownLinkEntry(this, c.id, c.textLimit, kEntryHints);
    for (int id : {kItuAuto, kCraneTc, kCraneUsa, kClearSky, kItuRate}) new TRainModelRadioButton(this, id);
    new TIncDepolCheckBox(this, kDepolarization);
    for (int id : {kGeo, kNonGeo}) new TGEOSelectRadioButton(this, id);
    for (int id : {kOneBit, kMapsk, kMqam}) new TModulationRadioButton(this, id);
    for (int id : {kEbNo, kEsNo}) new TTargetRadioButton(this, id);
    for (int id : {kInfoRate, kSymbolRate}) new TRateRadioButton(this, id);
    for (int id : {kCi, kCsatIo}) new TInterferenceRadioButton(this, id);

    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
    SetHandler(kFreeze, [this] { CmFreeze(); });
    SetHandler(kDvbs, [this] { SelectModcod(0); });
    SetHandler(kDvbs2x, [this] { SelectModcod(1); });
    SetHandler(kNs3, [this] { SelectModcod(2); });
    SetHandler(kNs4, [this] { SelectModcod(3); });
    SetHandler(kManual, [this] { CmManual(); });
    SetHandler(kCi, [this] { window_.InterferenceCI = true; EnableFields(SelectedPage()); });
    SetHandler(kCsatIo, [this] { window_.InterferenceCI = false; EnableFields(SelectedPage()); });
    SetHandler(kTab, [this] { EnableFields(SelectedPage()); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
    SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    for (int id : {int(kCi), int(kCsatIo)})
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
}

void TRgnDownLinkForm::SetupWindow()
{
    TForm::SetupWindow();
    budgetform::InstallPages(*this, kTab, kPageTitles, [this] { OnButton(kTab); });
    const int page = window_.DialogPage >= 0 && window_.DialogPage < kPageCount ? window_.DialogPage : 0;
    SelectPage(page);
    EnableFields(page);
    ShowSuggestion();
}

int TRgnDownLinkForm::SelectedPage() const { return budgetform::CurrentPage(*this, kTab, kPageCount); }

void TRgnDownLinkForm::SelectPage(int page) { budgetform::ShowPage(*this, kTab, page); }

void TRgnDownLinkForm::ShowSuggestion() { SetControlText(kSuggestion, window_.Budget().suggestion); }

DownlinkInputRecord TRgnDownLinkForm::Scratch() const { return ReadScratch<DownlinkInputRecord>(*this, TerminateDownlinkTexts); }

void TRgnDownLinkForm::PutScratch(const DownlinkInputRecord& r) { WriteScratch(*this, r); }

void TRgnDownLinkForm::Show(int id, bool shown) { budgetform::ShowControl(*this, id, shown); }

void TRgnDownLinkForm::LabelInterference()
{
    const bool ci = window_.InterferenceCI;
    SetControlText(LabelOf(kCsatAci), ci ? "C/ACI dB" : "Csat/ACIo dB-Hz");
    SetControlText(LabelOf(kCsatAsi), ci ? "C/ASI dB" : "Csat/ASIo dB-Hz");
    SetControlText(LabelOf(kCsatXpi), ci ? "C/XPI dB" : "Csat/XPIo dB-Hz");
}

void TRgnDownLinkForm::EnableFields(int page)
{
    const DownlinkInputRecord r = Scratch();
    LabelInterference();
    const auto& pages = PageControls();
    for (int p = 0; p < kPageCount; ++p)
        for (int id : pages[std::size_t(p)]) Show(id, p == page);
    for (int id : {kCraneTc, kCraneUsa}) Show(id, false);
    if (window_.Budget().frozen) {
        for (const auto& list : pages)
            for (int id : list) EnableControl(id, false);
        for (int id : {LabelOf(kAvailability), int(kAvailability), LabelOf(kFecRate), int(kFecRate),
                       int(kTargetGroup), int(kEbNo), int(kEsNo), int(kRequiredTarget), int(kModulationGroup),
                       int(kMapsk), int(kMLabel), int(kModulationOrder), int(kModcodGroup), int(kDvbs2x),
                       int(kDvbs), int(kManual), int(kNs3), int(kNs4), int(kModcodText)})
            EnableControl(id, true);
    }
    const bool manual = lbtext::IsKeyword(r.modcodText, "Manual");
    for (int id : {int(kFecRate), int(kOneBit), int(kMapsk), int(kMqam), int(kMLabel), int(kModulationOrder)})
        EnableControl(id, manual);
    window_.DialogPage = page;
}

bool TRgnDownLinkForm::CanClose() { return ValidateFields(Scratch()); }

bool TRgnDownLinkForm::ValidateFields(const DownlinkInputRecord& in)
{
    DownlinkInputRecord r = in;
    TerminateDownlinkTexts(r);
    using FT = FieldType;
    const auto real = [this](const char* label, std::string_view text, double lo, double hi, const char* unit) {
        return CheckField(label, text, FT::Real, lo, hi, unit);
    };
    const auto notAuto = [](const char* text) { return !lbtext::IsKeyword(text, "auto"); };

    if (!CheckField("Site name", FieldView(r.siteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude", FieldView(r.latitude), FT::Latitude, 0, 90, kLatUnit) ||
        !CheckField("Site longitude", FieldView(r.longitude), FT::Longitude, 0, 180, kLonUnit))
        return false;
    if (notAuto(r.altitude) && !real("Site altitude", FieldView(r.altitude), -0.5, 25, "km")) return false;
    if (!real("Frequency", FieldView(r.frequency), 0.0007, 55, "GHz") ||
        !CheckField("Polarization", FieldView(r.polarization), FT::Polarization, 0, 0, "") ||
        !real("Availability", FieldView(r.availability), 40, 99.99999, "%") ||
        !real("Antenna aperture", FieldView(r.diameter), 0.002, 50, "m"))
        return false;
    if (r.efficiency[0] == '+' || r.efficiency[0] == '-') {
        if (!real("Antenna gain (down)", FieldView(r.efficiency), -30, 100, "dBi") ||
            !CheckAntennaGain(FieldView(r.diameter), FieldView(r.efficiency), FieldView(r.frequency), 2))
            return false;
    } else if (!real("Antenna efficiency (down)", FieldView(r.efficiency), 10, 100, "%")) {
        return false;
    }
    if (!real("Coupling loss", FieldView(r.couplingLoss), 0, 20, "dB") ||
        !real("Antenna mispoint", FieldView(r.mispointing), 0, 50, "dB") ||
        !real("Other path losses", FieldView(r.otherLosses), 0, 30, "dB"))
        return false;
    if (r.lnbNoise[0] == '+' ? !real("LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                             : !real("LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB"))
        return false;
    // The LNB gain takes any text.
    if (!real("LNB load impedance", FieldView(r.loadImpedance), 20, 100, "ohms")) return false;
    if (notAuto(r.antennaNoise) && !real("Receive antenna noise", FieldView(r.antennaNoise), 1, 500, "K")) return false;
    if (!real("Csat/ACIo or C/ACI", FieldView(r.csatAci), 1, 300, "dB-Hz or dB") ||
        !real("Csat/ASIo or C/ASI", FieldView(r.csatAsi), 1, 300, "dB-Hz or dB") ||
        !real("Csat/XPIo or C/XPI", FieldView(r.csatXpi), 1, 300, "dB-Hz or dB") ||
        !real("Csat/IM", FieldView(r.cim), 1, 300, "dB"))
        return false;
    if (r.ituRate.On() && !real("Downlink rain rate", FieldView(r.rainRate), 0, 200, "mm/hr")) return false;

    if (!CheckField("Satellite name", FieldView(r.satName), FT::Text, 0, 0, "") ||
        !CheckField("Service Name", FieldView(r.serviceName), FT::Text, 0, 0, "") ||
        !real("Satellite EIRP", FieldView(r.eirp), -10, 100, "dBW") ||
        !real("Satellite bandwidth", FieldView(r.satBandwidth), 0.00001, 6000, "MHz"))
        return false;
    if (r.geo.On()) {
        if (!CheckField("Satellite longitude", FieldView(r.satLongitude), FT::Longitude, 0, 180, kLonUnit)) return false;
    }
    if (r.nonGeo.On()) {
        if (!real("Satellite range", FieldView(r.range), 1, 2000000, "km") ||
            !real("Satellite elevation", FieldView(r.elevation), 0, 90, "degrees") ||
            !real("Longitude difference", FieldView(r.longitudeDifference), 0, 80, "degrees"))
            return false;
    }

    return real("Required target (Eb/No or Es/No)", FieldView(r.requiredTarget), -40, 100, "dB") &&
           real("Information or symbol rate", FieldView(r.rate), 0.00001, 6000, "Mbps or Mbaud") &&
           real("Information rate overhead", FieldView(r.overhead), 0, 50, "%") &&
           CheckFraction(FieldView(r.fecRate), 0.001, 1, "FEC") &&
           real("Spreading Gain", FieldView(r.spreadingGain), 0, 100, "dB") &&
           real("Roll off factor + 1", FieldView(r.rollOff), 1, 2, "") &&
           real("Carrier spacing factor", FieldView(r.carrierSpacing), 0.5, 3, "") &&
           real("Allocated bandwidth step size", FieldView(r.allocationStep), 0, 10, "MHz") &&
           real("Implementation loss", FieldView(r.implementationLoss), 0, 10, "dB") &&
           real("System margin", FieldView(r.systemMargin), 0, 10, "dB") &&
           real("M-ary prefix (e.g. M=8 for 8-PSK)", FieldView(r.modulationOrder), 2, 256, "") &&
           CheckMary(FieldView(r.modulationOrder), r.oneBitPerSymbol.On(), r.mqam.On()) &&
           CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}

void TRgnDownLinkForm::CmCancel()
{
    // What was typed is kept in the record, unchecked; the window does not
    // recalculate.
    TransferData(platform::TransferDirection::Get);
    TerminateDownlinkTexts(window_.Record());
    CloseWindow(platform::IDCANCEL);
}

void TRgnDownLinkForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !SitePicker() || !SitePicker()(*this)) return;
    DownlinkInputRecord r = Scratch();
    PutText(r.siteName, app->PickedSiteName);
    PutText(r.latitude, app->PickedSiteLatitude);
    PutText(r.longitude, app->PickedSiteLongitude);
    PutText(r.altitude, app->PickedSiteAltitude);
    PutScratch(r);
}

void TRgnDownLinkForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !SatellitePicker() || !SatellitePicker()(*this)) return;
    DownlinkInputRecord r = Scratch();
    PutText(r.satName, app->PickedSatName);
    PutText(r.satLongitude, app->PickedSatLongitude);
    PutScratch(r);
}

void TRgnDownLinkForm::CmFreeze()
{
    if (window_.Lines() > 0 && CanClose()) {
        window_.Budget().frozen = !window_.Budget().frozen;
    } else {
        platform::MessageBox(this, "Cannot freeze/unfeeze until link budget is recalculated", "Invalid Option",
                             platform::MB_ICONEXCLAMATION);
    }
    EnableFields(SelectedPage());
}

void TRgnDownLinkForm::CmManual()
{
    DownlinkInputRecord r = Scratch();
    PutText(r.modcodText, "Manual");
    PutScratch(r);
    EnableFields(SelectedPage());
}

void TRgnDownLinkForm::SelectModcod(int standard)
{
    DownlinkInputRecord r = Scratch();
    if (lbtext::Number(r.rate) == 0.0) {
        platform::MessageBox(this, "Info Rate and optional overhead must be entered", "Error",
                             platform::MB_ICONEXCLAMATION);
        return;
    }
    TGetModcodDlg dialog(this, standard);
    if (dialog.Execute() != platform::IDOK) return;
    const ModcodSelection& s = dialog.Selection();
    std::snprintf(r.fecRate, sizeof r.fecRate, "%.4lf", s.efficiency / s.log2M);
    PutText(r.modcodText, s.text);
    std::snprintf(r.modulationOrder, sizeof r.modulationOrder, "%d", s.m);
    const bool dvbs = standard == modcod::kDvbs;
    std::snprintf(r.requiredTarget, sizeof r.requiredTarget, "%.2lf", dvbs ? s.ebNo : s.esNo);
    r.targetEbNo.Set(dvbs ? 1 : 0);
    r.targetEsNo.Set(dvbs ? 0 : 1);
    const bool oneBit = standard == modcod::kDvbs2 && s.type == 0;
    const bool qam = dvbs && s.type == 2;
    r.oneBitPerSymbol.Set(oneBit ? 1 : 0);
    r.mqam.Set(qam ? 1 : 0);
    r.mapsk.Set(oneBit || qam ? 0 : 1);
    PutScratch(r);
    EnableFields(SelectedPage());
}

void TRgnDownLinkForm::SetSitePicker(Picker picker) { SitePicker() = std::move(picker); }
void TRgnDownLinkForm::SetSatellitePicker(Picker picker) { SatellitePicker() = std::move(picker); }
