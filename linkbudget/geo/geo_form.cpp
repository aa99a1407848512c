#include "linkbudget/geo/geo_form.h"
#include "linkbudget/windows/budget_form.h"
#include "framework/forms/scratch_record.h"

#include <QAbstractButton>
#include <QTabBar>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <map>

#include "framework/app/orbiscope.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/modcod/modcod_dialog.h"
#include "linkbudget/geo/geo_window.h"
#include "platform/messagebox.h"

using platform::ControlKind;
using platform::ControlSpec;
using F = TUpLinkForm;

namespace {

constexpr const char* kPageTitles[F::kPageCount] = {"Uplink", "ASI (up)", "Downlink", "ASI (down)",
                                                    "Rain Model", "Satellite", "Carriers"};
constexpr const char* kLatUnit = "\xB0N,\xB0S";
constexpr const char* kLonUnit = "\xB0W,\xB0" "E";

// ---- layout --------------------------------------------------------------
// Each page lays its labelled entries out in two columns of rows.
constexpr int kPageTop = 48, kRow = 27, kRowsPerColumn = 12;
constexpr int kColumnX[2] = {16, 420};
constexpr int kLabelWidth = 200, kEditX = 205, kEditWidth = 160;

struct Layout {
    std::vector<ControlSpec> transfer;   // record order
    std::vector<ControlSpec> others;     // labels, groups, statics, buttons
    std::array<std::vector<int>, F::kPageCount> pages;
    std::array<int, F::kPageCount> slot{};  // next row slot of each page

    std::pair<int, int> Next(int page, int rows = 1)
    {
        int s = slot[std::size_t(page)];
        // A block of rows stays in one column.
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
        if (label) Label(page, F::LabelOf(id), label, x, y, kLabelWidth - 8);
        ControlSpec c;
        c.kind = ControlKind::Edit;
        c.id = id;
        c.textLimit = limit;
        c.x = x + kEditX, c.y = y, c.width = limit > 13 ? 190 : kEditWidth, c.height = 23;
        transfer.push_back(c);
        pages[std::size_t(page)].push_back(id);
    }
    // An entry at a given place (the interference pages' grid).
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

void InterferencePage(Layout& L, int page, bool up)
{
    const int density = up ? F::kUpAsiDensity1 : F::kDnAsiDensity1;
    const int longitude = up ? F::kUpAsiLongitude1 : F::kDnAsiLongitude1;
    const int include = up ? F::kUpInclude2 : F::kDnInclude2;
    const int known = up ? F::kUpKnownTotal : F::kDnKnownTotal;
    const int manual = up ? F::kUpCsatAsi : F::kDnCsatAsi;
    const int base = F::kStaticFirst + (up ? 0 : 10);
    L.Label(page, base, up ? "Interfering Uplinks (Sat1 is first interfering satellite)"
                           : "Interfering Downlinks (Sat1 is first interfering satellite)",
            20, kPageTop, 500);
    L.Label(page, base + 1, up ? "Include Switches" : "Include switches", 20, kPageTop + 30, 120);
    L.Label(page, base + 2, "EIRP density dBW/Hz", 150, kPageTop + 30, 170);
    L.Label(page, base + 3, up ? "Satellite longitude\xB0" : "Satellite longitude", 330, kPageTop + 30, 170);
    L.Label(page, base + 4, "Sat1", 20, kPageTop + 60, 100);
    for (int i = 0; i < 4; ++i) L.EntryAt(page, density + i, 13, 150, kPageTop + 58 + 30 * i, 160);
    for (int i = 0; i < 4; ++i) L.EntryAt(page, longitude + i, 13, 330, kPageTop + 58 + 30 * i, 160);
    const char* sats[] = {"Sat2", "Sat3", "Sat4"};
    for (int i = 0; i < 3; ++i)
        L.Button(page, ControlKind::CheckBox, include + i, sats[i], 20, kPageTop + 88 + 30 * i, 100);
    L.Button(page, ControlKind::CheckBox, known, "Use known total value below (option)", 20, kPageTop + 190, 320);
    L.Label(page, F::LabelOf(manual), "Csat/ASIo dB-Hz", 20, kPageTop + 222, 160);
    L.EntryAt(page, manual, 13, 150, kPageTop + 220, 160);
}

void RainButtons(Layout& L, int page, bool up, int y)
{
    const int ids[5] = {up ? F::kUpItuAuto : F::kDnItuAuto, up ? F::kUpCraneTc : F::kDnCraneTc,
                        up ? F::kUpCraneUsa : F::kDnCraneUsa, up ? F::kUpClearSky : F::kDnClearSky,
                        up ? F::kUpItuRate : F::kDnItuRate};
    const char* texts[5] = {"ITU-R (auto)", "Crane T-C", "Crane USA", "Clear sky", "ITU (mm/h)"};
    L.Group(page, up ? F::kUpRainGroup : F::kDnRainGroup, up ? "Uplink Rain Model" : "Downlink Rain Model", 16, y,
            760, 90);
    for (int i = 0; i < 5; ++i)
        L.Button(page, ControlKind::RadioButton, ids[i], texts[i], 30 + (i % 3) * 150 + (i == 4 ? 0 : 0),
                 y + 20, 140, i == 0);
    // The Crane buttons are never shown: the clear-sky and typed-rate buttons
    // take the places after ITU-R (auto).
    auto& t = L.transfer;
    t[t.size() - 2].x = 180;  // Clear sky
    t[t.size() - 1].x = 330;  // ITU (mm/h)
}

Layout BuildLayout()
{
    using K = ControlKind;
    Layout L;
    // ---- Uplink -----------------------------------------------------------
    L.Entry(0, F::kUpSiteName, 41, "Site name");
    L.Entry(0, F::kUpLatitude, 13, "Site latitude \xB0");
    L.Entry(0, F::kUpLongitude, 13, "Site longitude \xB0");
    L.Entry(0, F::kUpAltitude, 13, "Site altitude km");
    L.Entry(0, F::kUpFrequency, 13, "Frequency GHz");
    L.Entry(0, F::kUpPolarization, 2, "Polarization (V,H or C)");
    L.Entry(0, F::kUpAvailability, 13, "Availability %");
    L.Entry(0, F::kUpDiameter, 13, "Antenna diameter (m)");
    L.Entry(0, F::kUpEfficiency, 13, "Ant. eff,gain  %,dBi");
    L.Entry(0, F::kUpCouplingLoss, 13, "Coupling loss dB");
    L.Entry(0, F::kUpMispointing, 13, "Antenna mispointing dB");
    L.Entry(0, F::kUpOtherLosses, 13, "Other path losses dB");
    L.Entry(0, F::kUpCsatAci, 13, "Csat/ACIo dB-Hz");
    L.Entry(0, F::kUpCsatXpi, 13, "Csat/XPIo dB-Hz");
    L.Entry(0, F::kHpaObo, 13, "ES HPA OBO dB");
    L.Entry(0, F::kCarriersPerHpa, 13, "No of carriers / HPA");
    L.Entry(0, F::kHpaCim, 13, "HPA C/IMo dB-Hz");
    L.Entry(0, F::kUpc, 13, "UPC dB");
    L.Entry(0, F::kHpaPower, 13, "HPA power W");
    // ---- ASI (up) -----------------------------------------------------------
    InterferencePage(L, 1, true);
    // ---- Downlink -----------------------------------------------------------
    L.Entry(2, F::kDnSiteName, 41, "Site name");
    L.Entry(2, F::kDnLatitude, 13, "Site latitude \xB0");
    L.Entry(2, F::kDnLongitude, 13, "Site longitude \xB0");
    L.Entry(2, F::kDnAltitude, 13, "Site altitude km");
    L.Entry(2, F::kDnFrequency, 13, "Frequency GHz");
    L.Entry(2, F::kDnPolarization, 2, "Polarization (V,H or C)");
    L.Entry(2, F::kDnAvailability, 13, "Availability %");
    L.Entry(2, F::kDnDiameter, 13, "Antenna diameter (m)");
    L.Entry(2, F::kDnEfficiency, 13, "Ant. eff,gain  %,dBi");
    L.Entry(2, F::kDnCouplingLoss, 13, "Coupling loss dB");
    L.Entry(2, F::kDnMispointing, 13, "Antenna mispointing dB");
    L.Entry(2, F::kDnOtherLosses, 13, "Other path losses dB");
    L.Entry(2, F::kLnbNoise, 13, "LNB noise fig,temp dB,K");
    L.Entry(2, F::kAntennaNoise, 13, "Antenna noise temp. K");
    L.Entry(2, F::kDnCsatAci, 13, "Csat/ACIo dB-Hz");
    L.Entry(2, F::kDnCsatXpi, 13, "Csat/XPIo dB-Hz");
    // ---- ASI (down) ---------------------------------------------------------
    InterferencePage(L, 3, false);
    // ---- Rain Model ---------------------------------------------------------
    L.Button(4, K::CheckBox, F::kDualFade, "Calculate dual fade scenario", 20, kPageTop, 300);
    RainButtons(L, 4, true, kPageTop + 30);
    L.Label(4, F::LabelOf(F::kUpRainRate), "Rain rate mm/h", 30, kPageTop + 84, 150);
    L.EntryAt(4, F::kUpRainRate, 13, 180, kPageTop + 82, 120);
    L.Button(4, K::CheckBox, F::kUpDepolarization, "Include depolarization", 330, kPageTop + 82, 220);
    L.Button(4, K::CheckBox, F::kXpiColocated, "XPI source co-located", 560, kPageTop + 82, 200);
    RainButtons(L, 4, false, kPageTop + 140);
    L.Label(4, F::LabelOf(F::kDnRainRate), "Rain rate mm/h", 30, kPageTop + 194, 150);
    L.EntryAt(4, F::kDnRainRate, 13, 180, kPageTop + 192, 120);
    L.Button(4, K::CheckBox, F::kDnDepolarization, "Include depolarization", 330, kPageTop + 192, 220);
    // ---- Satellite ----------------------------------------------------------
    L.Entry(5, F::kSatName, 41, "Satellite name");
    L.Entry(5, F::kSatLongitude, 13, "Satellite longitude \xB0");
    L.Entry(5, F::kGtRef, 13, "G/T (ref) dB/K");
    L.Entry(5, F::kSfdRef, 13, "SFD (ref) dBW/m2");
    L.Entry(5, F::kGtReceive, 13, "G/T receive dB/K");
    L.Entry(5, F::kFca, 13, "FCA setting dB");
    L.Entry(5, F::kAlc, 13, "ALC dB");
    L.Entry(5, F::kEirpSaturation, 13, "EIRP (saturation) dBW");
    L.Entry(5, F::kEirpBeamPeak, 13, "EIRP (beam peak) dBW");
    L.Entry(5, F::kTransponderBandwidth, 13, "Tpdr. bandwidth MHz");
    L.Entry(5, F::kTransponderIbo, 13, "Transponder IBO dB");
    L.Entry(5, F::kTransponderObo, 13, "Transponder OBO dB");
    L.Entry(5, F::kCim, 13, "C/IM dB");
    L.Entry(5, F::kCarriersPerTransponder, 13, "Carriers per transponder");
    // ---- Carriers -----------------------------------------------------------
    L.Entry(6, F::kServiceName, 41, "Service name");
    L.Entry(6, F::kCoverage, 41, "Coverage");
    {
        const auto [x, y] = L.Next(6, 2);
        L.Group(6, F::kTargetGroup, "Required Target (dB)", x, y - 4, 380, 2 * kRow + 2);
        L.EntryAt(6, F::kRequiredTarget, 13, x + kEditX, y + 12, kEditWidth);
    }
    {
        const auto [x, y] = L.Next(6, 3);
        L.Group(6, F::kRateGroup, "Rate", x, y - 4, 380, 3 * kRow - 4);
        L.EntryAt(6, F::kRate, 13, x + kEditX, y + 44, kEditWidth);
    }
    L.Entry(6, F::kOverhead, 13, "Overhead % info rate");
    L.Entry(6, F::kFecRate, 13, "FEC code rate");
    L.Entry(6, F::kSpreadingGain, 13, "Spreading gain dB");
    L.Entry(6, F::kRollOff, 13, "(1 + Roll off factor)");
    L.Entry(6, F::kCarrierSpacing, 13, "Carrier spacing factor");
    L.Entry(6, F::kAllocationStep, 13, "BW allocation step MHz");
    L.Entry(6, F::kImplementationLoss, 13, "Implementation loss dB");
    L.Entry(6, F::kSystemMargin, 13, "System margin dB");
    {
        const auto [x, y] = L.Next(6, 3);
        L.Group(6, F::kModulationGroup, "Modulation", x, y - 4, 380, 3 * kRow);
        L.Button(6, K::RadioButton, F::kOneBit, "1 bit/symbol", x + 10, y + 14, 120, true);
        L.Button(6, K::RadioButton, F::kMapsk, "M-(A)PSK", x + 135, y + 14, 110);
        L.Button(6, K::RadioButton, F::kMqam, "M-QAM", x + 250, y + 14, 110);
        L.Label(6, F::kMLabel, "M=", x + 10, y + 42, 40);
        L.EntryAt(6, F::kModulationOrder, 13, x + 55, y + 42, 80);
    }
    {
        const int x = 16, y = kPageTop + 6 * kRow;
        L.Group(5, F::kTransponderGroup, "Transponder Type", 420, y + 4 * kRow, 360, 2 * kRow);
        L.Button(5, K::RadioButton, F::kTwta, "TWTA", 430, y + 4 * kRow + 18, 100, true);
        L.Button(5, K::RadioButton, F::kLtwta, "LTWTA", 540, y + 4 * kRow + 18, 100);
        L.Button(5, K::RadioButton, F::kSspa, "SSPA", 650, y + 4 * kRow + 18, 100);
        (void)x;
    }
    {
        // The target and rate groups' buttons sit inside the groups drawn above.
        const ControlSpec* target = nullptr;
        const ControlSpec* rate = nullptr;
        for (const auto& c : L.transfer) {
            if (c.id == F::kRequiredTarget) target = &c;
            if (c.id == F::kRate) rate = &c;
        }
        const int tx = target->x - kEditX + 10, ty = target->y;
        const int rx = rate->x - kEditX + 10, ry = rate->y;
        L.Button(6, K::RadioButton, F::kEbNo, "Eb/No", tx, ty, 80, true);
        L.Button(6, K::RadioButton, F::kEsNo, "Es/No", tx + 85, ty, 80);
        L.Button(6, K::RadioButton, F::kInfoRate, "Info rate Mbps", rx, ry - 30, 140, true);
        L.Button(6, K::RadioButton, F::kSymbolRate, "Symbol rate Mbaud", rx + 150, ry - 30, 180);
    }
    {
        const auto [x, y] = L.Next(6, 3);
        L.Group(6, F::kModcodGroup, "Modcod", x, y - 4, 380, 3 * kRow);
        L.EntryAt(6, F::kModcodText, 81, x + 10, y + 44, 360);
        L.Push(F::kDvbs2x, "DVBS2X", x + 10, y + 14, 66, 6);
        L.Push(F::kDvbs, "DVBS", x + 82, y + 14, 66, 6);
        L.Push(F::kManual, "Manual", x + 154, y + 14, 66, 6);
        L.Push(F::kNs3, "NS3", x + 226, y + 14, 66, 6);
        L.Push(F::kNs4, "NS4", x + 298, y + 14, 66, 6);
    }
    // ---- Interference units, last in the record ------------------------------
    const int unitsY = kPageTop + 9 * kRow;
    L.Group(0, F::kUpUnitsGroup, "Interference units", 420, unitsY, 360, 2 * kRow);
    L.Button(0, K::RadioButton, F::kUpCsatIo, "Csat/Io (dB-Hz)", 430, unitsY + 20, 160, true);
    L.Button(0, K::RadioButton, F::kUpCi, "C/I (dB)", 600, unitsY + 20, 160);
    L.Group(2, F::kDnUnitsGroup, "Interference units", 420, unitsY, 360, 2 * kRow);
    L.Button(2, K::RadioButton, F::kDnCsatIo, "Csat/Io (dB-Hz)", 430, unitsY + 20, 160, true);
    L.Button(2, K::RadioButton, F::kDnCi, "C/I (dB)", 600, unitsY + 20, 160);
    // The uplink page lists its unit buttons first.
    for (int page : {0, 2}) {
        auto& list = L.pages[std::size_t(page)];
        const int first = page == 0 ? F::kUpUnitsGroup : F::kDnUnitsGroup;
        std::vector<int> units = {first, page == 0 ? int(F::kUpCsatIo) : int(F::kDnCsatIo),
                                  page == 0 ? int(F::kUpCi) : int(F::kDnCi)};
        std::erase_if(list, [&](int id) { return std::find(units.begin(), units.end(), id) != units.end(); });
        list.insert(list.begin(), units.begin(), units.end());
    }

    // ---- below the pages --------------------------------------------------------
    ControlSpec tab;
    tab.kind = ControlKind::TabControl;
    tab.id = F::kTab;
    tab.x = 10, tab.y = 10, tab.width = 780, tab.height = 28;
    L.Other(-1, tab);
    const int buttonsY = kPageTop + kRowsPerColumn * kRow + 16;
    L.Push(F::kSite, "Site", 16, buttonsY, 80);
    L.Push(F::kSatellite, "Satellite", 104, buttonsY, 80);
    L.Push(F::kReverse, "Reverse", 192, buttonsY, 80);
    L.Push(F::kFreeze, "Freeze", 280, buttonsY, 80);
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
constexpr const char* kSiteName = "Name of earth station location";
constexpr const char* kLatitude = "Earth station latitude (0 to 90 degrees, suffix N or S)";
constexpr const char* kLongitude = "Earth station longitude (0 to 180 degrees, suffix E or W)";
constexpr const char* kAltitude = "Site altitude in km or use AUTO";
constexpr const char* kFrequency = "Frequency (1 to 100 GHz)";
constexpr const char* kPolarization = "Electric field polarization (V=Vertical, H=Horizontal, or C=Circular)";
constexpr const char* kXpi = "Value for Csat/XPIo or C/XPI according to input label";
constexpr const char* kAci = "Value for Csat/ACIo or C/ACI according to input label";
constexpr const char* kAvailability = "'Average year' availability (95.0 to 99.999%)";
constexpr const char* kMispoint = "Antenna mispoint losses (dB)";
constexpr const char* kOther = "Other path losses (+ve for radome loss or -ve for site diversity gain";
constexpr const char* kDiameter = "Aperture of earth station antenna (0.2 to 50 metres)";
constexpr const char* kEfficiency = "Antenna efficiency(%) or prefix with '+' for a gain(dBi) for link budgets";
constexpr const char* kCoupling = "Waveguide losses [0 to 20dB)";
constexpr const char* kSlot = "Orbital slot of satellite (0 to 180 degrees, suffix E or W)";
constexpr const char* kUpDensity = "Interfering uplink EIRP density, in direction of wanted satellite dBW/Hz";
constexpr const char* kManualAsi = "Value for Csat/AAIo or C/ASI according to input label";
constexpr const char* kDnDensity = "EIRP density of interfering satellite toward earth station dBW/Hz";
constexpr const char* kRainRate = "ITU-R manual rain rate value (mm/hr)";
constexpr const char* kAuto = "AUTO or a specific value";

constexpr HintEntry kEntryHints[] = {
    {F::kUpSiteName, 0, kSiteName}, {F::kDnSiteName, 0, kSiteName},
    {F::kUpLatitude, 0, kLatitude}, {F::kDnLatitude, 0, kLatitude},
    {F::kUpLongitude, 0, kLongitude}, {F::kDnLongitude, 0, kLongitude},
    {F::kUpAltitude, 0, kAltitude}, {F::kDnAltitude, 0, kAltitude},
    {F::kUpFrequency, 0, kFrequency}, {F::kDnFrequency, 0, kFrequency},
    {F::kUpPolarization, 0, kPolarization}, {F::kDnPolarization, 0, kPolarization},
    {F::kHpaCim, 0, "Value for Csat/IMo or C/IM according to input label"},
    {F::kUpCsatXpi, 0, kXpi}, {F::kDnCsatXpi, 0, kXpi},
    {F::kUpCsatAci, 0, kAci}, {F::kDnCsatAci, 0, kAci},
    {F::kUpAvailability, 0, kAvailability}, {F::kDnAvailability, 0, kAvailability},
    {F::kUpMispointing, 0, kMispoint}, {F::kDnMispointing, 0, kMispoint},
    {F::kUpOtherLosses, 0, kOther}, {F::kDnOtherLosses, 0, kOther},
    {F::kUpDiameter, 0, kDiameter}, {F::kDnDiameter, 0, kDiameter},
    {F::kUpEfficiency, 0, kEfficiency}, {F::kDnEfficiency, 0, kEfficiency},
    {F::kUpCouplingLoss, 0, kCoupling}, {F::kDnCouplingLoss, 0, kCoupling},
    {F::kHpaPower, 0, "MIN, MAX or specific value for HPA power (typ. MIN)"},
    {F::kHpaObo, 0, "Earth station HPA output back-off (typ. 1 to 5dB)"},
    {F::kUpAsiLongitude1, 0, kSlot}, {F::kUpAsiLongitude2, 0, kSlot}, {F::kUpAsiLongitude3, 0, kSlot},
    {F::kUpAsiLongitude4, 0, kSlot}, {F::kDnAsiLongitude1, 0, kSlot}, {F::kDnAsiLongitude2, 0, kSlot},
    {F::kDnAsiLongitude3, 0, kSlot}, {F::kDnAsiLongitude4, 0, kSlot}, {F::kSatLongitude, 0, kSlot},
    {F::kUpAsiDensity1, 0, kUpDensity}, {F::kUpAsiDensity2, 0, kUpDensity}, {F::kUpAsiDensity3, 0, kUpDensity},
    {F::kUpAsiDensity4, 0, kUpDensity},
    {F::kUpCsatAsi, 0, kManualAsi}, {F::kDnCsatAsi, 0, kManualAsi},
    {F::kLnbNoise, 0, "LNB noise figure(dB) or temp.(K) : Prefix with '+' for temp."},
    {F::kAntennaNoise, 0, "Value for antenna noise (1 to 500K)"},
    {F::kDnAsiDensity1, 0, kDnDensity}, {F::kDnAsiDensity2, 0, kDnDensity}, {F::kDnAsiDensity3, 0, kDnDensity},
    {F::kDnAsiDensity4, 0, kDnDensity},
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
F::Picker& SatellitePicker()
{
    static F::Picker picker;
    return picker;
}


}  // namespace

// ---- TUpLinkEntry -----------------------------------------------------------

TUpLinkEntry::TUpLinkEntry(TForm* parent, int id, int textLimit, HintTable hints) : TMyEdit(parent, id, textLimit)
{
    SetHints(hints);
}

void TUpLinkEntry::EvSetFocus()
{
    ShowStatusHint(App(), HintFor(Hints(), Id()));
    if (App()) App()->LastFocusedEntry = Id();
}

// ---- TUpLinkForm ------------------------------------------------------------

std::vector<ControlSpec> TUpLinkForm::ControlTable()
{
    const Layout& L = TheLayout();
    std::vector<ControlSpec> all = L.transfer;
    all.insert(all.end(), L.others.begin(), L.others.end());
    return all;
}

void TUpLinkForm::ClearTextTails(GeoLinkInputRecord& record)
{
    ::ClearTextTails(record, ControlTable());
}

const std::array<std::vector<int>, TUpLinkForm::kPageCount>& TUpLinkForm::PageControls() { return TheLayout().pages; }

TUpLinkForm::TUpLinkForm(QWidget* parent, TUpLinkWin& window)
    : TForm(parent, kResourceId, "Edit GEO Link Budget Parameters", ControlTable()), window_(window)
{
    SetTransferBuffer(&window.Record(), sizeof(GeoLinkInputRecord));
    for (const ControlSpec& c : TheLayout().transfer) {
        if (c.kind == ControlKind::Edit) new TUpLinkEntry(this, c.id, c.textLimit, kEntryHints);
    }
    for (int id : {kUpInclude2, kUpInclude3, kUpInclude4, kDnInclude2, kDnInclude3, kDnInclude4})
        new TIncludeSatCheckBox(this, id);
    for (int id : {kUpKnownTotal, kDnKnownTotal}) new TASIManualCheckBox(this, id);
    new TDualFadeCheckBox(this, kDualFade);
    for (int id : {kUpItuAuto, kUpCraneTc, kUpCraneUsa, kUpClearSky, kUpItuRate, kDnItuAuto, kDnCraneTc, kDnCraneUsa,
                   kDnClearSky, kDnItuRate})
        new TRainModelRadioButton(this, id);
    for (int id : {kUpDepolarization, kDnDepolarization}) new TIncDepolCheckBox(this, id);
    new TXPIColocateCheckBox(this, kXpiColocated);
    for (int id : {kOneBit, kMapsk, kMqam}) new TModulationRadioButton(this, id);
    for (int id : {kTwta, kLtwta, kSspa}) new TTransponderRadioButton(this, id);
    for (int id : {kEbNo, kEsNo}) new TTargetRadioButton(this, id);
    for (int id : {kInfoRate, kSymbolRate}) new TRateRadioButton(this, id);
    for (int id : {kUpCi, kUpCsatIo, kDnCi, kDnCsatIo}) new TInterferenceRadioButton(this, id);

    SetHandler(kSite, [this] { CmSite(); });
    SetHandler(kSatellite, [this] { CmSatellite(); });
    SetHandler(kReverse, [this] { CmReverse(); });
    SetHandler(kFreeze, [this] { CmFreeze(); });
    SetHandler(kDvbs, [this] { SelectModcod(0); });
    SetHandler(kDvbs2x, [this] { SelectModcod(1); });
    SetHandler(kNs3, [this] { SelectModcod(2); });
    SetHandler(kNs4, [this] { SelectModcod(3); });
    SetHandler(kManual, [this] { CmManual(); });
    SetHandler(kUpCi, [this] { window_.UpInterferenceCI = true; EnableFields(SelectedPage()); });
    SetHandler(kUpCsatIo, [this] { window_.UpInterferenceCI = false; EnableFields(SelectedPage()); });
    SetHandler(kDnCi, [this] { window_.DnInterferenceCI = true; EnableFields(SelectedPage()); });
    SetHandler(kDnCsatIo, [this] { window_.DnInterferenceCI = false; EnableFields(SelectedPage()); });
    SetHandler(kTab, [this] { EnableFields(SelectedPage()); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
    SetHandler(platform::IDCANCEL, [this] { CmCancel(); });
    for (int id : {int(kUpCi), int(kUpCsatIo), int(kDnCi), int(kDnCsatIo)})
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id)))
            QObject::connect(b, &QAbstractButton::clicked, this, [this, id] { OnButton(id); });
}

void TUpLinkForm::SetupWindow()
{
    TForm::SetupWindow();
    budgetform::InstallPages(*this, kTab, kPageTitles, [this] { OnButton(kTab); });
    const int page = window_.DialogPage >= 0 && window_.DialogPage < kPageCount ? window_.DialogPage : 0;
    SelectPage(page);
    EnableFields(page);
    ShowSuggestion();
}

int TUpLinkForm::SelectedPage() const { return budgetform::CurrentPage(*this, kTab, kPageCount); }

void TUpLinkForm::SelectPage(int page) { budgetform::ShowPage(*this, kTab, page); }

void TUpLinkForm::ShowSuggestion() { SetControlText(kSuggestion, window_.Budget().suggestion); }

GeoLinkInputRecord TUpLinkForm::Scratch() const { return ReadScratch<GeoLinkInputRecord>(*this, TerminateGeoLinkTexts); }

void TUpLinkForm::PutScratch(const GeoLinkInputRecord& r) { WriteScratch(*this, r); }

void TUpLinkForm::Show(int id, bool shown) { budgetform::ShowControl(*this, id, shown); }

void TUpLinkForm::LabelInterference()
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

void TUpLinkForm::EnableFields(int page)
{
    const GeoLinkInputRecord r = Scratch();
    const bool carriersAuto = lbtext::IsKeyword(r.carriersPerTransponder, "AUTO");
    const bool splitAvailability = lbtext::IsKeyword(r.dnAvailability, "AUTO");
    LabelInterference();
    const auto& pages = PageControls();
    for (int p = 0; p < kPageCount; ++p)
        for (int id : pages[std::size_t(p)]) Show(id, p == page);
    for (int id : {kUpCraneTc, kUpCraneUsa, kDnCraneTc, kDnCraneUsa}) Show(id, false);
    if (!carriersAuto) {
        EnableControl(kHpaPower, false);
        EnableControl(LabelOf(kHpaPower), false);
    }
    SetControlText(LabelOf(kUpAvailability), splitAvailability ? "Overall availability %" : "Availability %");
    if (window_.Budget().frozen) {
        for (const auto& list : pages)
            for (int id : list) EnableControl(id, false);
        for (int id : {LabelOf(kUpAvailability), int(kUpAvailability), LabelOf(kDnAvailability),
                       int(kDnAvailability), LabelOf(kFecRate), int(kFecRate), int(kTargetGroup), int(kEbNo),
                       int(kEsNo), int(kRequiredTarget), int(kModulationGroup), int(kMapsk), int(kMLabel),
                       int(kModulationOrder), int(kModcodGroup), int(kDvbs2x), int(kDvbs), int(kManual), int(kNs3),
                       int(kNs4), int(kModcodText)})
            EnableControl(id, true);
    }
    const bool manual = lbtext::IsKeyword(r.modcodText, "Manual");
    for (int id : {int(kFecRate), int(kOneBit), int(kMapsk), int(kMqam), int(kMLabel), int(kModulationOrder)})
        EnableControl(id, manual);
    window_.DialogPage = page;
}

bool TUpLinkForm::CanClose() { return ValidateFields(Scratch()); }

bool TUpLinkForm::ValidateFields(const GeoLinkInputRecord& in)
{
    GeoLinkInputRecord r = in;
    TerminateGeoLinkTexts(r);
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
    const auto interferers = [&](bool up) {
        const char* dir = up ? "uplink" : "downlink";
        const auto& known = up ? r.upAsiKnownTotal : r.dnAsiKnownTotal;
        if (known.On())
            return real(up ? "Manual value for Csat/ASIo or C/ASI (up)" : "Manual value for Csat/ASIo or C/ASI (down)",
                        FieldView(up ? r.upCsatAsi : r.dnCsatAsi), 1, 300, "dB-Hz or dB");
        for (int i = 0; i < 4; ++i) {
            if (i > 0 && !(up ? r.upAsiInclude : r.dnAsiInclude)[i - 1].On()) continue;
            char label[80];
            std::snprintf(label, sizeof label, "EIRP density of interfering %s, Sat%d", dir, i + 1);
            if (!real(label, FieldView((up ? r.upAsiDensity : r.dnAsiDensity)[i]), -100, 100, "dBW/Hz")) return false;
            std::snprintf(label, sizeof label, "Interfering %s, Sat%d longitude", dir, i + 1);
            if (!CheckField(label, FieldView((up ? r.upAsiLongitude : r.dnAsiLongitude)[i]), FT::Longitude, 0, 180,
                            kLonUnit))
                return false;
        }
        return true;
    };

    // Uplink
    if (!CheckField("Site name (up)", FieldView(r.upSiteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude (up)", FieldView(r.upLatitude), FT::Latitude, 0, 90, kLatUnit) ||
        !CheckField("Site longitude (up)", FieldView(r.upLongitude), FT::Longitude, 0, 180, kLonUnit))
        return false;
    if (notAuto(r.upAltitude) && !real("Site altitude (up)", FieldView(r.upAltitude), -0.5, 25, "km")) return false;
    if (!real("Frequency (up)", FieldView(r.upFrequency), 0.0007, 55, "GHz") ||
        !CheckField("Polarization (up)", FieldView(r.upPolarization), FT::Polarization, 0, 0, "") ||
        !real("Availability (up))", FieldView(r.upAvailability), 40, 99.99999, "%") ||
        !real("Antenna aperture (up)", FieldView(r.upDiameter), 0.002, 50, "m") ||
        !antenna("Antenna gain (up)", "Antenna efficiency (up)", r.upEfficiency, r.upDiameter, r.upFrequency, 1) ||
        !real("Coupling loss (up)", FieldView(r.upCouplingLoss), 0, 20, "dB") ||
        !real("Antenna mispoint loss (up)", FieldView(r.upMispointing), 0, 10, "dB") ||
        !real("Other path losses (up)", FieldView(r.upOtherLosses), -30, 30, "dB") ||
        !real("Csat/ACIo or C/ACI (up)", FieldView(r.upCsatAci), 1, 300, "dB-Hz or dB") ||
        !real("Csat/XPIo or C/XPI (up)", FieldView(r.upCsatXpi), 1, 300, "dB-Hz or dB") ||
        !real("Earth station HPA back off", FieldView(r.hpaObo), 0, 30, "dB") ||
        !CheckField("Number of Carriers/ES HPA", FieldView(r.carriersPerHpa), FT::Integer, 1, 10000, "") ||
        !real("C/IMo or C/IM (up)", FieldView(r.hpaCim), 1, 300, "dB-Hz or dB") ||
        !real("Uplink Power Control", FieldView(r.upc), 0, 40, "dB"))
        return false;
    if (!lbtext::IsKeyword(r.hpaPower, "min") && !lbtext::IsKeyword(r.hpaPower, "max") &&
        !lbtext::IsKeyword(r.hpaPower, "mineq") && !real("HPA Power", FieldView(r.hpaPower), 0.00001, 5000, "W"))
        return false;
    if (!interferers(true)) return false;

    // Downlink
    if (!CheckField("Site name (down)", FieldView(r.dnSiteName), FT::Text, 0, 0, "") ||
        !CheckField("Site latitude (down)", FieldView(r.dnLatitude), FT::Latitude, 0, 90, kLatUnit) ||
        !CheckField("Site longitude (down)", FieldView(r.dnLongitude), FT::Longitude, 0, 180, kLonUnit))
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
        !real("Antenna mispoint loss (down)", FieldView(r.dnMispointing), 0, 10, "dB") ||
        !real("Other path losses (down)", FieldView(r.dnOtherLosses), 0, 30, "dB"))
        return false;
    if (r.lnbNoise[0] == '+' ? !real("LNB noise temperature", FieldView(r.lnbNoise), 0.01, 1000, "K")
                             : !real("LNB noise figure", FieldView(r.lnbNoise), 0.01, 6.5, "dB"))
        return false;
    if (notAuto(r.antennaNoise) && !real("Receive antenna noise (down)", FieldView(r.antennaNoise), 1, 500, "K"))
        return false;
    if (!real("Csat/ACIo or C/ACI (down)", FieldView(r.dnCsatAci), 1, 300, "dB-Hz or dB") ||
        !real("Csat/XPIo or C/XPI (down)", FieldView(r.dnCsatXpi), 1, 300, "dB-Hz or dB"))
        return false;
    if (!interferers(false)) return false;

    // Rain rates
    if (r.upItuRate.On() && !real("Uplink rain rate", FieldView(r.upRainRate), 0, 200, "mm/hr")) return false;
    if (r.dnItuRate.On() && !real("Downlink rain rate", FieldView(r.dnRainRate), 0, 200, "mm/hr")) return false;

    // Satellite
    if (!CheckField("Satellite name", FieldView(r.satName), FT::Text, 0, 0, "") ||
        !CheckField("Satellite longitude", FieldView(r.satLongitude), FT::Longitude, 0, 180, kLonUnit) ||
        !real("Satellite G/T(ref)", FieldView(r.gtRef), -50, 100, "dB/K") ||
        !real("Satellite SFD(ref)", FieldView(r.sfdRef), -200, -10, "dB/m^2") ||
        !real("Satellite receive G/T", FieldView(r.gtReceive), -50, 100, "dB/K") ||
        !real("Satellite flux control attenuator (FCA)", FieldView(r.fca), 0, 60, "dB") ||
        !real("Satellite ALC", FieldView(r.alc), 0, 30, "dB"))
        return false;
    if (r.eirpBeamPeak[0] != '\0' && !real("Satellite EIRP (beam peak)", FieldView(r.eirpBeamPeak), -10, 100, "dBW"))
        return false;
    if (!real("Satellite EIRP (zero back off)", FieldView(r.eirpSaturation), -10, 100, "dBW") ||
        !real("Transponder bandwidth", FieldView(r.transponderBandwidth), 0.00001, 6000, "MHz"))
        return false;
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
        !real("Required Target (Eb/No or Es/No)", FieldView(r.requiredTarget), -40, 100, "dB") ||
        !real("Information or symbol rate", FieldView(r.rate), 0.00001, 6000, "Mbps or Mbaud") ||
        !real("Information rate overhead", FieldView(r.overhead), 0, 100, "%") ||
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

    // Satellite spacing, then the carrier spacing that decides.
    if (!r.upAsiKnownTotal.On() &&
        !CheckSatelliteSpacing(FieldView(r.satLongitude), FieldView(r.upAsiLongitude[0]), FieldView(r.upAsiLongitude[1]),
                               FieldView(r.upAsiLongitude[2]), FieldView(r.upAsiLongitude[3]), r.upAsiInclude[0].Value(),
                               r.upAsiInclude[1].Value(), r.upAsiInclude[2].Value()))
        return false;
    if (!r.dnAsiKnownTotal.On() &&
        !CheckSatelliteSpacing(FieldView(r.satLongitude), FieldView(r.dnAsiLongitude[0]), FieldView(r.dnAsiLongitude[1]),
                               FieldView(r.dnAsiLongitude[2]), FieldView(r.dnAsiLongitude[3]), r.dnAsiInclude[0].Value(),
                               r.dnAsiInclude[1].Value(), r.dnAsiInclude[2].Value()))
        return false;
    return CheckCarrierSpacing(FieldView(r.rollOff), FieldView(r.carrierSpacing));
}

void TUpLinkForm::CmCancel()
{
    // What was typed is kept in the record, unchecked; the window does not
    // recalculate.
    TransferData(platform::TransferDirection::Get);
    TerminateGeoLinkTexts(window_.Record());
    CloseWindow(platform::IDCANCEL);
}

void TUpLinkForm::CmSite()
{
    TOrbiscope* app = App();
    if (!app || !SitePicker() || !SitePicker()(*this)) return;
    GeoLinkInputRecord r = Scratch();
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

void TUpLinkForm::CmSatellite()
{
    TOrbiscope* app = App();
    if (!app || !SatellitePicker() || !SatellitePicker()(*this)) return;
    GeoLinkInputRecord r = Scratch();
    const int page = SelectedPage();
    if (page == 1 || page == 3) {
        const int first = page == 1 ? kUpAsiLongitude1 : kDnAsiLongitude1;
        const int i = app->LastFocusedEntry - first;
        if (i < 0 || i > 3) return;
        PutText((page == 1 ? r.upAsiLongitude : r.dnAsiLongitude)[i], app->PickedSatLongitude);
    } else {
        PutText(r.satName, app->PickedSatName);
        PutText(r.satLongitude, app->PickedSatLongitude);
    }
    PutScratch(r);
}

void TUpLinkForm::CmReverse()
{
    GeoLinkInputRecord r = Scratch();
    SwapText(r.upSiteName, r.dnSiteName);
    SwapText(r.upLatitude, r.dnLatitude);
    SwapText(r.upLongitude, r.dnLongitude);
    SwapText(r.upAltitude, r.dnAltitude);
    SwapText(r.upRainRate, r.dnRainRate);
    SwapText(r.upDiameter, r.dnDiameter);
    SwapText(r.upCouplingLoss, r.dnCouplingLoss);
    SwapText(r.upMispointing, r.dnMispointing);
    SwapText(r.upOtherLosses, r.dnOtherLosses);
    PutScratch(r);
}

void TUpLinkForm::CmFreeze()
{
    if (window_.Lines() > 0 && CanClose()) {
        window_.Budget().frozen = !window_.Budget().frozen;
    } else {
        platform::MessageBox(this, "Cannot freeze/unfeeze until link budget is recalculated", "Invalid Option",
                             platform::MB_ICONEXCLAMATION);
    }
    EnableFields(SelectedPage());
}

void TUpLinkForm::CmManual()
{
    GeoLinkInputRecord r = Scratch();
    PutText(r.modcodText, "Manual");
    PutScratch(r);
    EnableFields(SelectedPage());
}

void TUpLinkForm::SelectModcod(int standard)
{
    GeoLinkInputRecord r = Scratch();
    const double rate = lbtext::Number(r.rate);
    if (rate == 0.0) {
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

void TUpLinkForm::SetSitePicker(Picker picker) { SitePicker() = std::move(picker); }
void TUpLinkForm::SetSatellitePicker(Picker picker) { SatellitePicker() = std::move(picker); }
