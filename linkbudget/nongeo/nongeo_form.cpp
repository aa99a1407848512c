#include "linkbudget/nongeo/nongeo_form.h"
#include "linkbudget/windows/budget_form.h"
#include "framework/forms/scratch_record.h"

#include <QAbstractButton>
#include <QTabBar>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/nongeo/nongeo_window.h"
#include "linkbudget/modcod/modcod.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "platform/messagebox.h"

using platform::ControlKind;
using platform::ControlSpec;
using F = TLeoLinkForm;
using G = TUpLinkForm;

namespace {

constexpr const char* kPageTitles[F::kPageCount] = {"Uplink", "Downlink", "Rain Models", "Satellite",
                                                    "Carriers and Modulation"};
constexpr const char* kLatUnit = "\xB0N,\xB0S";
constexpr const char* kLonUnit = "\xB0W,\xB0" "E";

// ---- layout --------------------------------------------------------------
// The link pages hold more rows than the GEO ones: two columns of 14.
constexpr int kPageTop = 48, kRow = 27, kRowsPerColumn = 14;
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
    void Label(int page, int id, const char* text, int x, int y, int w)
    {
        ControlSpec c;
        c.kind = ControlKind::Static;
        c.id = id;
        c.text = text;
        c.x = x, c.y = y + 3, c.width = w, c.height = 20;
        Other(page, c);
    }
    void Entry(int page, int id, int limit, const char* label)
    {
        const auto [x, y] = Next(page);
        Label(page, F::LabelOf(id), label, x, y, kLabelWidth - 8);
        EntryAt(page, id, limit, x + kEditX, y, limit > 13 ? 190 : kEditWidth);
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
    void Button(int page, ControlKind kind, int id, const char* text, int x, int y, int w, bool groupStart = false)
    {
        ControlSpec c;
        c.kind = kind;
        c.id = id;
        c.text = text;
        c.x = x, c.y = y, c.width = w, c.height = 22;
        c.groupStart = groupStart;
        transfer.push_back(c);
        pages[std::size_t(page)].push_back(id);
    }
    void Group(int page, int id, const char* text, int x, int y, int w, int h)
    {
        ControlSpec c;
        c.kind = ControlKind::GroupBox;
        c.id = id;
        c.text = text;
        c.x = x, c.y = y, c.width = w, c.height = h;
        Other(page, c);
    }
    void Push(int id, const char* text, int x, int y, int w, int page = -1)
    {
        ControlSpec c;
        c.kind = ControlKind::PushButton;
        c.id = id;
        c.text = text;
        c.x = x, c.y = y, c.width = w, c.height = 26;
        Other(page, c);
    }
};

void RainButtons(Layout& L, int page, bool up, int y)
{
    const int ids[5] = {up ? G::kUpItuAuto : G::kDnItuAuto, up ? G::kUpCraneTc : G::kDnCraneTc,
                        up ? G::kUpCraneUsa : G::kDnCraneUsa, up ? G::kUpClearSky : G::kDnClearSky,
                        up ? G::kUpItuRate : G::kDnItuRate};
    const char* texts[5] = {"ITU-R (auto)", "Crane T-C", "Crane USA", "Clear sky", "ITU (mm/h)"};
    const int x[5] = {30, 180, 330, 180, 330};  // the Crane buttons are never shown
    L.Group(page, up ? G::kUpRainGroup : G::kDnRainGroup, up ? "Uplink Rain Model" : "Downlink Rain Model", 16, y,
            760, 90);
    for (int i = 0; i < 5; ++i) L.Button(page, ControlKind::RadioButton, ids[i], texts[i], x[i], y + 20, 140, i == 0);
}

void LinkPage(Layout& L, int page, bool up)
{
    L.Entry(page, up ? F::kUpSiteName : F::kDnSiteName, 41, "Site name");
    L.Entry(page, up ? F::kUpLatitude : F::kDnLatitude, 13, "Site latitude \xB0");
    L.Entry(page, up ? F::kUpLongitude : F::kDnLongitude, 13, "Site longitude \xB0");
    L.Entry(page, up ? F::kUpElevation : F::kDnElevation, 13, "Sat. elevation \xB0");
    L.Entry(page, up ? F::kUpRange : F::kDnRange, 13, "Sat. range km");
    L.Entry(page, up ? F::kUpLongitudeDiff : F::kDnLongitudeDiff, 13, "Site/Sat long. diff. \xB0");
    L.Entry(page, up ? F::kUpAltitude : F::kDnAltitude, 13, "Site altitude km");
    L.Entry(page, up ? F::kUpFrequency : F::kDnFrequency, 13, "Frequency GHz");
    L.Entry(page, up ? F::kUpPolarization : F::kDnPolarization, 2, "Polarization (V,H or C)");
    L.Entry(page, up ? F::kUpAvailability : F::kDnAvailability, 13, "Availability %");
    L.Entry(page, up ? F::kUpDiameter : F::kDnDiameter, 13, "Antenna diameter (m)");
    L.Entry(page, up ? F::kUpEfficiency : F::kDnEfficiency, 13, "Ant. eff,gain  %,dBi");
    L.Entry(page, up ? F::kUpCouplingLoss : F::kDnCouplingLoss, 13, "Coupling loss dB");
    L.Entry(page, up ? F::kUpMispointing : F::kDnMispointing, 13, "Antenna mispointing dB");
    L.Entry(page, up ? F::kUpOtherLosses : F::kDnOtherLosses, 13, "Other path losses dB");
    if (!up) {
        L.Entry(page, F::kLnbNoise, 13, "LNB noise fig,temp dB,K");
        L.Entry(page, F::kAntennaNoise, 13, "Antenna noise temp. K");
    }
    L.Entry(page, up ? F::kUpCsatAci : F::kDnCsatAci, 13, "Csat/ACIo dB-Hz");
    L.Entry(page, up ? F::kUpCsatAsi : F::kDnCsatAsi, 13, "Csat/ASIo dB-Hz");
    L.Entry(page, up ? F::kUpCsatXpi : F::kDnCsatXpi, 13, "Csat/XPIo dB-Hz");
    if (up) {
        L.Entry(page, F::kHpaObo, 13, "ES HPA OBO dB");
        L.Entry(page, F::kCarriersPerHpa, 13, "No of carriers / HPA");
        L.Entry(page, F::kHpaCim, 13, "HPA C/IMo dB-Hz");
        L.Entry(page, F::kUpc, 13, "UPC dB");
        L.Entry(page, F::kHpaPower, 13, "HPA power W");
    }
}

Layout BuildLayout()
{
    using K = ControlKind;
    Layout L;
    LinkPage(L, 0, true);
    LinkPage(L, 1, false);
    // ---- Rain Models ----------------------------------------------------------
    L.Button(2, K::CheckBox, G::kDualFade, "Calculate dual fade scenario", 20, kPageTop, 300);
    RainButtons(L, 2, true, kPageTop + 30);
    L.Label(2, F::LabelOf(F::kUpRainRate), "Rain rate mm/h", 30, kPageTop + 84, 150);
    L.EntryAt(2, F::kUpRainRate, 13, 180, kPageTop + 82, 120);
    L.Button(2, K::CheckBox, G::kUpDepolarization, "Include depolarization", 330, kPageTop + 82, 220);
    L.Button(2, K::CheckBox, G::kXpiColocated, "XPI source co-located", 560, kPageTop + 82, 200);
    RainButtons(L, 2, false, kPageTop + 140);
    L.Label(2, F::LabelOf(F::kDnRainRate), "Rain rate mm/h", 30, kPageTop + 194, 150);
    L.EntryAt(2, F::kDnRainRate, 13, 180, kPageTop + 192, 120);
    L.Button(2, K::CheckBox, G::kDnDepolarization, "Include depolarization", 330, kPageTop + 192, 220);
    // ---- Satellite ------------------------------------------------------------
    L.Entry(3, F::kSatName, 41, "Satellite name");
    L.Entry(3, F::kGtRef, 13, "G/T (ref) dB/K");
    L.Entry(3, F::kSfdRef, 13, "SFD (ref) dBW/m2");
    L.Entry(3, F::kGtReceive, 13, "G/T receive dB/K");
    L.Entry(3, F::kFca, 13, "FCA setting dB");
    L.Entry(3, F::kAlc, 13, "ALC dB");
    L.Entry(3, F::kEirpSaturation, 13, "EIRP (saturation) dBW");
    L.Entry(3, F::kEirpBeamPeak, 13, "EIRP (beam peak) dBW");
    L.Entry(3, F::kTransponderBandwidth, 13, "Tpdr. bandwidth MHz");
    L.Entry(3, F::kTransponderIbo, 13, "Transponder IBO dB");
    L.Entry(3, F::kTransponderObo, 13, "Transponder OBO dB");
    L.Entry(3, F::kCim, 13, "C/IM dB");
    L.Entry(3, F::kCarriersPerTransponder, 13, "Carriers per transponder");
    // ---- Carriers and Modulation -------------------------------------------------
    L.Entry(4, F::kServiceName, 41, "Service name");
    L.Entry(4, F::kCoverage, 41, "Coverage");
    int targetX = 0, targetY = 0, rateX = 0, rateY = 0;
    {
        const auto [x, y] = L.Next(4, 2);
        L.Group(4, G::kTargetGroup, "Required Target (dB)", x, y - 4, 380, 2 * kRow + 2);
        L.EntryAt(4, F::kRequiredTarget, 13, x + kEditX, y + 12, kEditWidth);
        targetX = x + 10, targetY = y + 12;
    }
    {
        const auto [x, y] = L.Next(4, 3);
        L.Group(4, G::kRateGroup, "Rate", x, y - 4, 380, 3 * kRow - 4);
        L.EntryAt(4, F::kRate, 13, x + kEditX, y + 44, kEditWidth);
        rateX = x + 10, rateY = y + 44;
    }
    L.Entry(4, F::kOverhead, 13, "Overhead % info rate");
    L.Entry(4, F::kFecRate, 13, "FEC code rate");
    L.Entry(4, F::kSpreadingGain, 13, "Spreading gain dB");
    L.Entry(4, F::kRollOff, 13, "(1 + Roll off factor)");
    L.Entry(4, F::kCarrierSpacing, 13, "Carrier spacing factor");
    L.Entry(4, F::kAllocationStep, 13, "BW allocation step MHz");
    L.Entry(4, F::kImplementationLoss, 13, "Implementation loss dB");
    L.Entry(4, F::kSystemMargin, 13, "System margin dB");
    {
        const auto [x, y] = L.Next(4, 3);
        L.Group(4, G::kModulationGroup, "Modulation", x, y - 4, 380, 3 * kRow);
        L.Button(4, K::RadioButton, G::kOneBit, "1 bit/symbol", x + 10, y + 14, 120, true);
        L.Button(4, K::RadioButton, G::kMapsk, "M-(A)PSK", x + 135, y + 14, 110);
        L.Button(4, K::RadioButton, G::kMqam, "M-QAM", x + 250, y + 14, 110);
        L.Label(4, G::kMLabel, "M=", x + 10, y + 42, 40);
        L.EntryAt(4, F::kModulationOrder, 13, x + 55, y + 42, 80);
    }
    {
        const int y = kPageTop + 10 * kRow;
        L.Group(3, G::kTransponderGroup, "Transponder Type", 420, y, 360, 2 * kRow);
        L.Button(3, K::RadioButton, G::kTwta, "TWTA", 430, y + 18, 100, true);
        L.Button(3, K::RadioButton, G::kLtwta, "LTWTA", 540, y + 18, 100);
        L.Button(3, K::RadioButton, G::kSspa, "SSPA", 650, y + 18, 100);
    }
    L.Button(4, K::RadioButton, G::kEbNo, "Eb/No", targetX, targetY, 80, true);
    L.Button(4, K::RadioButton, G::kEsNo, "Es/No", targetX + 85, targetY, 80);
    L.Button(4, K::RadioButton, G::kInfoRate, "Info rate Mbps", rateX, rateY - 30, 140, true);
    L.Button(4, K::RadioButton, G::kSymbolRate, "Symbol rate Mbaud", rateX + 150, rateY - 30, 180);
    {
        const auto [x, y] = L.Next(4, 3);
        L.Group(4, G::kModcodGroup, "Modcod", x, y - 4, 380, 3 * kRow);
        L.EntryAt(4, F::kModcodText, 81, x + 10, y + 44, 360);
        L.Push(G::kDvbs2x, "DVBS2X", x + 10, y + 14, 66, 4);
        L.Push(G::kDvbs, "DVBS", x + 82, y + 14, 66, 4);
        L.Push(G::kManual, "Manual", x + 154, y + 14, 66, 4);
        L.Push(G::kNs3, "NS3", x + 226, y + 14, 66, 4);
        L.Push(G::kNs4, "NS4", x + 298, y + 14, 66, 4);
    }
    // ---- Interference units, last in the record, first in their page's list ----
    const int unitsY = kPageTop + 11 * kRow;
    for (int page : {0, 1}) {
        const bool up = page == 0;
        const int group = up ? G::kUpUnitsGroup : G::kDnUnitsGroup;
        const int csat = up ? G::kUpCsatIo : G::kDnCsatIo;
        const int ci = up ? G::kUpCi : G::kDnCi;
        L.Group(page, group, "Interference units", 420, unitsY, 360, 2 * kRow);
        L.Button(page, K::RadioButton, csat, "Csat/Io (dB-Hz)", 430, unitsY + 20, 160, true);
        L.Button(page, K::RadioButton, ci, "C/I (dB)", 600, unitsY + 20, 160);
        auto& list = L.pages[std::size_t(page)];
        const int units[] = {group, csat, ci};
        std::erase_if(list, [&](int id) { return std::find(std::begin(units), std::end(units), id) != std::end(units); });
        list.insert(list.begin(), std::begin(units), std::end(units));
    }

    ControlSpec tab;
    tab.kind = ControlKind::TabControl;
    tab.id = F::kTab;
    tab.x = 10, tab.y = 10, tab.width = 780, tab.height = 28;
    L.Other(-1, tab);
    const int buttonsY = kPageTop + kRowsPerColumn * kRow + 16;
    L.Push(G::kSite, "Site", 16, buttonsY, 80);
    L.Push(G::kReverse, "Reverse", 104, buttonsY, 80);
    L.Push(G::kFreeze, "Freeze", 192, buttonsY, 80);
    L.Push(platform::IDOK, "OK", 520, buttonsY, 80);
    L.Push(platform::IDCANCEL, "Cancel", 608, buttonsY, 80);
    L.Push(platform::IDHELP, "Help", 696, buttonsY, 80);
    ControlSpec suggestion;
    suggestion.kind = ControlKind::Static;
    suggestion.id = G::kSuggestion;
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
constexpr const char* kSiteName = "Name of earth station location";
constexpr const char* kLatitude = "Earth station latitude (0 to 90 degrees, suffix N or S)";
constexpr const char* kLongitude = "Earth station longitude (0 to 180 degrees, suffix E or W)";
constexpr const char* kElevation = "Snapshot elevation of non-geo satellite (degrees)";
constexpr const char* kRange = "Range of non-geo satellite (km)";
constexpr const char* kLongitudeDiff = "Estimate of worst case site/satellite longitude difference (degrees)";
constexpr const char* kAltitude = "Site altitude in km or use AUTO";
constexpr const char* kFrequency = "Frequency (1 to 100 GHz)";
constexpr const char* kPolarization = "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)";
constexpr const char* kXpi = "Value for Csat/XPIo or C/XPI according to input label";
constexpr const char* kAci = "Value for Csat/ACIo or C/ACI according to input label";
constexpr const char* kAsi = "Value for Csat/AAIo or C/ASI according to input label";
constexpr const char* kAvailability = "'Average year' availability (95.0 to 99.999%)";
constexpr const char* kMispoint = "Antenna mispoint losses (dB)";
constexpr const char* kOther = "Other path losses (+ve for radome loss or -ve for site diversity gain";
constexpr const char* kDiameter = "Aperture of earth station antenna (0.2 to 50 metres)";
constexpr const char* kEfficiency = "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets";
constexpr const char* kCoupling = "Waveguide losses [0 to 20dB)";
constexpr const char* kRainRate = "ITU-R manual rain rate value (mm/hr)";
constexpr const char* kAuto = "AUTO or a specific value";

constexpr HintEntry kEntryHints[] = {
    {F::kUpSiteName, 0, kSiteName}, {F::kDnSiteName, 0, kSiteName},
    {F::kUpLatitude, 0, kLatitude}, {F::kDnLatitude, 0, kLatitude},
    {F::kUpLongitude, 0, kLongitude}, {F::kDnLongitude, 0, kLongitude},
    {F::kUpElevation, 0, kElevation}, {F::kDnElevation, 0, kElevation},
    {F::kUpRange, 0, kRange}, {F::kDnRange, 0, kRange},
    {F::kUpLongitudeDiff, 0, kLongitudeDiff}, {F::kDnLongitudeDiff, 0, kLongitudeDiff},
    {F::kUpAltitude, 0, kAltitude}, {F::kDnAltitude, 0, kAltitude},
    {F::kUpFrequency, 0, kFrequency}, {F::kDnFrequency, 0, kFrequency},
    {F::kUpPolarization, 0, kPolarization}, {F::kDnPolarization, 0, kPolarization},
    {F::kHpaCim, 0, "Value for Csat/IMo or C/IM according to input label"},
    {F::kUpCsatXpi, 0, kXpi}, {F::kDnCsatXpi, 0, kXpi},
    {F::kUpCsatAci, 0, kAci}, {F::kDnCsatAci, 0, kAci},
    {F::kUpCsatAsi, 0, kAsi}, {F::kDnCsatAsi, 0, kAsi},
    {F::kUpAvailability, 0, kAvailability}, {F::kDnAvailability, 0, kAvailability},
    {F::kUpMispointing, 0, kMispoint}, {F::kDnMispointing, 0, kMispoint},
    {F::kUpOtherLosses, 0, kOther}, {F::kDnOtherLosses, 0, kOther},
    {F::kUpDiameter, 0, kDiameter}, {F::kDnDiameter, 0, kDiameter},
    {F::kUpEfficiency, 0, kEfficiency}, {F::kDnEfficiency, 0, kEfficiency},
    {F::kUpCouplingLoss, 0, kCoupling}, {F::kDnCouplingLoss, 0, kCoupling},
    {F::kHpaPower, 0, "MIN, MAX or specific value for HPA power (typ. MIN)"},
    {F::kHpaObo, 0, "Earth station HPA output back-off (typ. 1 to 5dB)"},
    {F::kLnbNoise, 0, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {F::kAntennaNoise, 0, "Value for antenna noise (1 to 500K)"},
    {F::kDnRainRate, 0, kRainRate}, {F::kUpRainRate, 0, kRainRate},
    {F::kSatName, 0, "Name of satellite"},
    {F::kFca, 0, "FCA (flux control attenuator) setting (typ: 0 to 16dB)"},
    {F::kTransponderBandwidth, 0, "Enter full transponder bandwidth (typ. 24 to 72MHz)"},
    {F::kEirpSaturation, 0, "Saturation EIRP of satellite (dBW)"},
    {F::kSfdRef, 0, "Reference satellite SFD value in dBW/m2"},
    {F::kGtReceive, 0, "Satellite receive G/T value (-50 to 100 dBK)"},
    {F::kGtRef, 0, "Reference satellite receive G/T value in dBK"},
    {F::kAlc, 0, "ALC range dB (typ: 0dB with older satellites)"},
    {F::kCim, 0, kAuto}, {F::kTransponderObo, 0, kAuto},
    {F::kTransponderIbo, 0, "Transponder total Input back-off (0 to 30dB)"},
    {F::kEirpBeamPeak, 0, "Leave blank or enter the beam peak EIRP reference value in dBW (optional)"},
    {F::kModulationOrder, 0, "Value of M for M-ary modulation scheme (Set M=2 for 1 bit/symbol schemes)"},
    {F::kImplementationLoss, 0, "Degradation, enter 0 if not known (dB)"},
    {F::kCoverage, 0, "Coverage of service"},
    {F::kServiceName, 0, "Name of service or customer"},
    {F::kRate, 0, "Information rate in Mbps (or symbol rate in Mbaud if option is flagged)"},
    {F::kRequiredTarget, 0, "Target Eb/No or Es/No required [-40 to 50 dB]"},
    {F::kRollOff, 0, "(1 + roll off factor) (typ. 1.2)"},
    {F::kFecRate, 0, "FEC code rate (typ. 0.5, 0.75 or 0.875)"},
    {F::kSystemMargin, 0, "Margin to allow for uncertainty of system parameters (typ. 0 to 3 dB)"},
    {F::kOverhead, 0, "Signalling overhead, if any, added to the info rate"},
    {F::kSpreadingGain, 0, "Spreading gain (dB) for spread spectrum transmission (typ. 0)"},
    {F::kAllocationStep, 0, "Allocated bandwidth incremental step size (typ. 0.100MHz)"},
    {F::kCarrierSpacing, 0, "Carrier spacing factor (typ. 1.4)"},
};

F::Picker& SitePicker()
{
    static F::Picker picker;
    return picker;
}


}  // namespace

// ---- TLeoLinkEntry ----------------------------------------------------------

TLeoLinkEntry::TLeoLinkEntry(TForm* parent, int id, int textLimit, HintTable hints) : TMyEdit(parent, id, textLimit)
{
    SetHints(hints);
}

void TLeoLinkEntry::EvSetFocus()
{
    ShowStatusHint(App(), HintFor(Hints(), Id()));
    if (App()) App()->LastFocusedEntry = Id();
}

// ---- TLeoLinkForm -----------------------------------------------------------

std::vector<ControlSpec> TLeoLinkForm::ControlTable()
{
    const Layout& L = TheLayout();
    std::vector<ControlSpec> all = L.transfer;
    all.insert(all.end(), L.others.begin(), L.others.end());
    return all;
}

void TLeoLinkForm::ClearTextTails(NonGeoLinkInputRecord& record)
{
    ::ClearTextTails(record, ControlTable());
}

const std::array<std::vector<int>, TLeoLinkForm::kPageCount>& TLeoLinkForm::PageControls()
{
    return TheLayout().pages;
}

TLeoLinkForm::TLeoLinkForm(QWidget* parent, TLeoLinkWin& window)
    : TForm(parent, kResourceId, "Edit NON-GEO Link Budget Parameters", ControlTable()), window_(window)
{
    SetTransferBuffer(&window.Record(), sizeof(NonGeoLinkInputRecord));
    for (const ControlSpec& c : TheLayout().transfer)
        if (c.kind == ControlKind::Edit) new TLeoLinkEntry(this, c.id, c.textLimit, kEntryHints);
    new TDualFadeCheckBox(this, G::kDualFade);
    for (int id : {G::kUpItuAuto, G::kUpCraneTc, G::kUpCraneUsa, G::kUpClearSky, G::kUpItuRate, G::kDnItuAuto,
                   G::kDnCraneTc, G::kDnCraneUsa, G::kDnClearSky, G::kDnItuRate})
        new TRainModelRadioButton(this, id);
    for (int id : {G::kUpDepolarization, G::kDnDepolarization}) new TIncDepolCheckBox(this, id);
    new TXPIColocateCheckBox(this, G::kXpiColocated);
    for (int id : {G::kOneBit, G::kMapsk, G::kMqam}) new TModulationRadioButton(this, id);
    for (int id : {G::kTwta, G::kLtwta, G::kSspa}) new TTransponderRadioButton(this, id);
    for (int id : {G::kEbNo, G::kEsNo}) new TTargetRadioButton(this, id);
    for (int id : {G::kInfoRate, G::kSymbolRate}) new TRateRadioButton(this, id);
    for (int id : {G::kUpCi, G::kUpCsatIo, G::kDnCi, G::kDnCsatIo}) new TInterferenceRadioButton(this, id);

    SetHandler(G::kSite, [this] { CmSite(); });
    SetHandler(G::kReverse, [this] { CmReverse(); });
    SetHandler(G::kFreeze, [this] { CmFreeze(); });
    SetHandler(G::kDvbs, [this] { SelectModcod(0); });
    SetHandler(G::kDvbs2x, [this] { SelectModcod(1); });
    SetHandler(G::kNs3, [this] { SelectModcod(2); });
    SetHandler(G::kNs4, [this] { SelectModcod(3); });
    SetHandler(G::kManual, [this] { CmManual(); });
    SetHandler(G::kUpCi, [this] { window_.UpInterferenceCI = true; EnableFields(SelectedPage()); });
    SetHandler(G::kUpCsatIo, [this] { window_.UpInterferenceCI = false; EnableFields(SelectedPage()); });
    SetHandler(G::kDnCi, [this] { window_.DnInterferenceCI = true; EnableFields(SelectedPage()); });
    SetHandler(G::kDnCsatIo, [this] { window_.DnInterferenceCI = false; EnableFields(SelectedPage()); });
    SetHandler(kTab, [this] { EnableFields(SelectedPage()); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
    SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    for (int id : {int(G::kUpCi), int(G::kUpCsatIo), int(G::kDnCi), int(G::kDnCsatIo)})
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
}

void TLeoLinkForm::SetupWindow()
{
    TForm::SetupWindow();
    budgetform::InstallPages(*this, kTab, kPageTitles, [this] { OnButton(kTab); });
    const int page = window_.DialogPage >= 0 && window_.DialogPage < kPageCount ? window_.DialogPage : 0;
    SelectPage(page);
    EnableFields(page);
    SetControlText(G::kSuggestion, window_.Budget().suggestion);
}

int TLeoLinkForm::SelectedPage() const { return budgetform::CurrentPage(*this, kTab, kPageCount); }

void TLeoLinkForm::SelectPage(int page) { budgetform::ShowPage(*this, kTab, page); }

NonGeoLinkInputRecord TLeoLinkForm::Scratch() const { return ReadScratch<NonGeoLinkInputRecord>(*this, TerminateNonGeoLinkTexts); }

void TLeoLinkForm::PutScratch(const NonGeoLinkInputRecord& r) { WriteScratch(*this, r); }

void TLeoLinkForm::Show(int id, bool shown) { budgetform::ShowControl(*this, id, shown); }

void TLeoLinkForm::LabelInterference()
{
    const bool up = window_.UpInterferenceCI;
    SetControlText(LabelOf(kHpaCim), up ? "HPA C/IM dB" : "HPA Csat/IMo dB-Hz");
    SetControlText(LabelOf(kUpCsatAci), up ? "C/ACI dB" : "Csat/ACIo dB-Hz");
    SetControlText(LabelOf(kUpCsatAsi), up ? "C/ASI dB" : "Csat/ASIo dB-Hz");
    SetControlText(LabelOf(kUpCsatXpi), up ? "C/XPI dB" : "Csat/XPIo dB-Hz");
    const bool dn = window_.DnInterferenceCI;
    SetControlText(LabelOf(kDnCsatAci), dn ? "C/ACI dB" : "Csat/ACIo dB-Hz");
    SetControlText(LabelOf(kDnCsatAsi), dn ? "C/ASI dB" : "Csat/ASIo dB-Hz");
    SetControlText(LabelOf(kDnCsatXpi), dn ? "C/XPI dB" : "Csat/XPIo dB-Hz");
}

void TLeoLinkForm::EnableFields(int page)
{
    const NonGeoLinkInputRecord r = Scratch();
    const bool carriersAuto = lbtext::IsKeyword(r.carriersPerTransponder, "AUTO");
    const bool splitAvailability = lbtext::IsKeyword(r.dnAvailability, "AUTO");
    LabelInterference();
    const auto& pages = PageControls();
    for (int p = 0; p < kPageCount; ++p)
        for (int id : pages[std::size_t(p)]) Show(id, p == page);
    for (int id : {G::kUpCraneTc, G::kUpCraneUsa, G::kDnCraneTc, G::kDnCraneUsa}) Show(id, false);
    if (!carriersAuto) {
        EnableControl(kHpaPower, false);
        EnableControl(LabelOf(kHpaPower), false);
    }
    SetControlText(LabelOf(kUpAvailability), splitAvailability ? "Overall availability %" : "Availability %");
    if (window_.Budget().frozen) {
        for (const auto& list : pages)
            for (int id : list) EnableControl(id, false);
        for (int id : {LabelOf(kUpAvailability), int(kUpAvailability), LabelOf(kDnAvailability),
                       int(kDnAvailability), LabelOf(kFecRate), int(kFecRate), int(G::kTargetGroup), int(G::kEbNo),
                       int(G::kEsNo), int(kRequiredTarget), int(G::kModulationGroup), int(G::kMapsk),
                       int(G::kMLabel), int(kModulationOrder), int(G::kModcodGroup), int(G::kDvbs2x), int(G::kDvbs),
                       int(G::kManual), int(G::kNs3), int(G::kNs4), int(kModcodText)})
            EnableControl(id, true);
    }
    const bool manual = lbtext::IsKeyword(r.modcodText, "Manual");
    for (int id : {int(kFecRate), int(G::kOneBit), int(G::kMapsk), int(G::kMqam), int(G::kMLabel),
                   int(kModulationOrder)})
        EnableControl(id, manual);
    window_.DialogPage = page;
}

bool TLeoLinkForm::CanClose() { return ValidateFields(Scratch()); }

bool TLeoLinkForm::ValidateFields(const NonGeoLinkInputRecord& in)
{
    NonGeoLinkInputRecord r = in;
    TerminateNonGeoLinkTexts(r);
    using FT = FieldType;
    const auto real = [this](const char* label, std::string_view text, double lo, double hi, const char* unit) {
        return CheckField(label, text, FT::Real, lo, hi, unit);
    };
    const auto notAuto = [](const char* text) { return !lbtext::IsKeyword(text, "auto"); };
    const auto antenna = [&](const char* gainLabel, const char* effLabel, const char (&eff)[13],
                             const char (&diameter)[13], const char (&frequency)[13], int link) {
        if (eff[0] == '+' || eff[0] == '-')
            return real(gainLabel, FieldView(eff), -30, 100, "dBi") &&
                   CheckAntennaGain(FieldView(diameter), FieldView(eff), FieldView(frequency), link);
        return real(effLabel, FieldView(eff), 10, 100, "%");
    };

    // Uplink
    if (!CheckField("Site name (up)", FieldView(r.upSiteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude (up)", FieldView(r.upLatitude), FT::Latitude, 0, 90, kLatUnit) ||
        !CheckField("Site longitude (up)", FieldView(r.upLongitude), FT::Longitude, 0, 180, kLonUnit) ||
        !real("Satellite elevation (up)", FieldView(r.upElevation), 0, 90, "degrees") ||
        !real("Satellite range (up)", FieldView(r.upRange), 1, 2000000, "km") ||
        !real("Site/Sat Longitude difference (up)", FieldView(r.upLongitudeDiff), 0, 80, "degrees"))
        return false;
    if (notAuto(r.upAltitude) && !real("Site altitude (up)", FieldView(r.upAltitude), -0.5, 25, "km")) return false;
    if (!real("Availability (up)", FieldView(r.upAvailability), 40, 99.99999, "%") ||
        !real("Frequency (up)", FieldView(r.upFrequency), 0.0007, 55, "GHz") ||
        !CheckField("Polarization (up)", FieldView(r.upPolarization), FT::Polarization, 0, 0, "") ||
        !real("Antenna aperture (up)", FieldView(r.upDiameter), 0.002, 50, "m") ||
        !antenna("Antenna gain (up)", "Antenna efficiency (up)", r.upEfficiency, r.upDiameter, r.upFrequency, 1) ||
        !real("Coupling loss (up)", FieldView(r.upCouplingLoss), 0, 20, "dB") ||
        !real("Antenna mispoint loss (up)", FieldView(r.upMispointing), 0, 50, "dB") ||
        !real("Other path losses (up)", FieldView(r.upOtherLosses), -30, 30, "dB") ||
        !real("Csat/ACIo or C/ACI (up)", FieldView(r.upCsatAci), 1, 300, "dB-Hz or dB") ||
        !real("Csat/ASIo or C/ASI (up)", FieldView(r.upCsatAsi), 1, 300, "dB-Hz or dB") ||
        !real("Csat/XPIo or C/XPI (up)", FieldView(r.upCsatXpi), 1, 300, "dB-Hz or dB") ||
        !CheckField("Number of Carriers/ES HPA", FieldView(r.carriersPerHpa), FT::Integer, 1, 10000, "") ||
        !real("C/IMo or C/IM (up)", FieldView(r.hpaCim), 1, 300, "dB-Hz or dB") ||
        !real("Earth station HPA back off", FieldView(r.hpaObo), 0, 30, "dB") ||
        !real("Uplink Power Control", FieldView(r.upc), 0, 40, "dB"))
        return false;
    if (!lbtext::IsKeyword(r.hpaPower, "min") && !lbtext::IsKeyword(r.hpaPower, "max") &&
        !lbtext::IsKeyword(r.hpaPower, "mineq") && !real("HPA Capability", FieldView(r.hpaPower), 0.00001, 5000, "W"))
        return false;

    // Downlink
    if (!CheckField("Site name (down)", FieldView(r.dnSiteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude (down)", FieldView(r.dnLatitude), FT::Latitude, 0, 90, kLatUnit) ||
        !CheckField("Site longitude (down)", FieldView(r.dnLongitude), FT::Longitude, 0, 180, kLonUnit) ||
        !real("Satellite elevation (down)", FieldView(r.dnElevation), 0, 90, "degrees") ||
        !real("Satellite range (down)", FieldView(r.dnRange), 1, 2000000, "km") ||
        !real("Site/Sat longitude difference (down)", FieldView(r.dnLongitudeDiff), 0, 80, "degrees"))
        return false;
    if (notAuto(r.dnAltitude) && !real("Site altitude (down)", FieldView(r.dnAltitude), -0.5, 25, "km")) return false;
    if (!real("Frequency (down)", FieldView(r.dnFrequency), 0.0007, 55, "GHz") ||
        !CheckField("Polarization (down)", FieldView(r.dnPolarization), FT::Polarization, 0, 0, ""))
        return false;
    if (notAuto(r.dnAvailability) && !real("Availability (down)", FieldView(r.dnAvailability), 40, 99.99999, "%"))
        return false;
    if (!real("Antenna aperture (down)", FieldView(r.dnDiameter), 0.002, 50, "m") ||
        !antenna("Antenna gain (down)", "Antenna efficiency (down)", r.dnEfficiency, r.dnDiameter, r.dnFrequency, 2) ||
        !real("Coupling loss (down)", FieldView(r.dnCouplingLoss), 0, 20, "dB") ||
        !real("Antenna mispoint loss (down)", FieldView(r.dnMispointing), 0, 50, "dB") ||
        !real("Other path losses (down)", FieldView(r.dnOtherLosses), 0, 30, "dB"))
        return false;
    if (r.lnbNoise[0] == '+' ? !real("LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                             : !real("LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB"))
        return false;
    if (notAuto(r.antennaNoise) && !real("Downlink receive antenna noise", FieldView(r.antennaNoise), 1, 500, "K"))
        return false;
    if (!real("Csat/ACIo or C/ACI (down)", FieldView(r.dnCsatAci), 1, 300, "dB-Hz or dB") ||
        !real("Csat/ASIo or C/ASI (down)", FieldView(r.dnCsatAsi), 1, 300, "dB-Hz or dB") ||
        !real("Csat/XPIo or C/XPI (down)", FieldView(r.dnCsatXpi), 1, 300, "dB-Hz or dB"))
        return false;

    // Rain rates
    if (r.upItuRate.On() && !real("Uplink rain rate", FieldView(r.upRainRate), 0, 200, "mm/hr")) return false;
    if (r.dnItuRate.On() && !real("Downlink rain rate", FieldView(r.dnRainRate), 0, 200, "mm/hr")) return false;

    // Satellite
    if (!CheckField("Satellite name", FieldView(r.satName), FT::Text, 0, 0, "") ||
        !real("Satellite G/T(ref)", FieldView(r.gtRef), -50, 100, "dB/K") ||
        !real("Satellite SFD(ref)", FieldView(r.sfdRef), -200, -10, "dB/m2") ||
        !real("Satellite receive G/T", FieldView(r.gtReceive), -50, 100, "dB/K") ||
        !real("Satellite flux control attenuator (FCA)", FieldView(r.fca), 0, 60, "dB") ||
        !real("Satellite ALC", FieldView(r.alc), 0, 30, "dB") ||
        !real("Satellite EIRP (zero back off)", FieldView(r.eirpSaturation), -10, 100, "dBW"))
        return false;
    if (r.eirpBeamPeak[0] != '\0' && !real("Satellite EIRP (beam peak)", FieldView(r.eirpBeamPeak), -10, 100, "dBW"))
        return false;
    if (!real("Transponder bandwidth", FieldView(r.transponderBandwidth), 0.00001, 6000, "MHz")) return false;
    if (notAuto(r.transponderIbo) && !real("Transponder input back off", FieldView(r.transponderIbo), 0, 20, "dB"))
        return false;
    if (notAuto(r.transponderObo) && !real("Transponder ouput back off", FieldView(r.transponderObo), 0, 20, "dB"))
        return false;
    if (!notAuto(r.transponderIbo) && !notAuto(r.transponderObo)) {
        ReportFieldError("IBO and OB0 cannot both be AUTO", "Input Error");
        return false;
    }
    if (notAuto(r.cim) && !real("C/IM down", FieldView(r.cim), 1, 300, "dB")) return false;
    if (notAuto(r.carriersPerTransponder) &&
        !real("Number of carriers per transponder", FieldView(r.carriersPerTransponder), 1, 10000, ""))
        return false;

    // Carriers
    if (!CheckField("Service Name", FieldView(r.serviceName), FT::Text, 0, 0, "") ||
        !CheckField("Coverage", FieldView(r.coverage), FT::Text, 0, 0, "") ||
        !real("Required Eb/No or Es/No", FieldView(r.requiredTarget), -40, 100, "dB") ||
        !real("Information or symbol rate", FieldView(r.rate), 0.00001, 6000, "Mbps or Mbaud") ||
        !real("Information rate overhead", FieldView(r.overhead), 0, 50, "%") ||
        !CheckFraction(FieldView(r.fecRate), 0.001, 1, "FEC") ||
        !real("Spreading Gain", FieldView(r.spreadingGain), 0, 100, "dB") ||
        !real("Roll off factor + 1", FieldView(r.rollOff), 1, 2, "") ||
        !real("Carrier spacing factor", FieldView(r.carrierSpacing), 0.5, 3, "") ||
        !real("Allocated bandwidth step size", FieldView(r.allocationStep), 0, 10, "MHz") ||
        !real("Implementation loss", FieldView(r.implementationLoss), 0, 10, "dB") ||
        !real("System margin", FieldView(r.systemMargin), 0, 10, "dB") ||
        !real("M-ary prefix (e.g. M=8 for 8-PSK)", FieldView(r.modulationOrder), 2, 256, "") ||
        !CheckMary(FieldView(r.modulationOrder), r.oneBitPerSymbol.On(), r.mqam.On()))
        return false;
    return CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}

void TLeoLinkForm::CmCancel()
{
    // What was typed is kept in the record, unchecked; the window does not
    // recalculate.
    TransferData(platform::TransferDirection::Get);
    TerminateNonGeoLinkTexts(window_.Record());
    CloseWindow(platform::IDCANCEL);
}

void TLeoLinkForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !SitePicker() || !SitePicker()(*this)) return;
    NonGeoLinkInputRecord r = Scratch();
    // The satellite geometry of the station stays as typed.
    if (SelectedPage() == 0) {
        PutText(r.upSiteName, app->PickedSiteName);
        PutText(r.upLatitude, app->PickedSiteLatitude);
        PutText(r.upLongitude, app->PickedSiteLongitude);
        PutText(r.upAltitude, app->PickedSiteAltitude);
    } else {
        PutText(r.dnSiteName, app->PickedSiteName);
        PutText(r.dnLatitude, app->PickedSiteLatitude);
        PutText(r.dnLongitude, app->PickedSiteLongitude);
        PutText(r.dnAltitude, app->PickedSiteAltitude);
    }
    PutScratch(r);
}

void TLeoLinkForm::CmReverse()
{
    NonGeoLinkInputRecord r = Scratch();
    SwapText(r.upSiteName, r.dnSiteName);
    SwapText(r.upLatitude, r.dnLatitude);
    SwapText(r.upLongitude, r.dnLongitude);
    SwapText(r.upElevation, r.dnElevation);
    SwapText(r.upRange, r.dnRange);
    SwapText(r.upLongitudeDiff, r.dnLongitudeDiff);
    SwapText(r.upAltitude, r.dnAltitude);
    SwapText(r.upRainRate, r.dnRainRate);
    SwapText(r.upDiameter, r.dnDiameter);
    SwapText(r.upCouplingLoss, r.dnCouplingLoss);
    SwapText(r.upMispointing, r.dnMispointing);
    SwapText(r.upOtherLosses, r.dnOtherLosses);
    PutScratch(r);
}

void TLeoLinkForm::CmFreeze()
{
    if (window_.Lines() > 0 && CanClose()) {
        window_.Budget().frozen = !window_.Budget().frozen;
    } else {
        platform::MessageBox(this, "Cannot freeze/unfeeze until link budget is recalculated", "Invalid Option",
                             platform::MB_ICONEXCLAMATION);
    }
    EnableFields(SelectedPage());
}

void TLeoLinkForm::CmManual()
{
    NonGeoLinkInputRecord r = Scratch();
    PutText(r.modcodText, "Manual");
    PutScratch(r);
    EnableFields(SelectedPage());
}

void TLeoLinkForm::SelectModcod(int standard)
{
    NonGeoLinkInputRecord r = Scratch();
    if (lbtext::Number(r.rate) == 0.0) {
        platform::MessageBox(this, "Info Rate and optional overhead must be entered", "Error",
                             platform::MB_ICONEXCLAMATION);
        return;
    }
    TGetModcodDlg dialog(this, standard);
    if (dialog.Execute() != platform::IDOK) return;
    const ModcodSelection& s = dialog.Selection();
    // R / (Rs log2 M) with Rs = R / efficiency: the efficiency over log2 M.
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

void TLeoLinkForm::SetSitePicker(Picker picker) { SitePicker() = std::move(picker); }
