// The builders of the Table menu: each runs its form on the window's buffer,
// reads the list the table needs, builds the table with the engine under the
// wait cursor and shows it; any step that fails closes the window.
#include <cstdio>

#include "platform/messagebox.h"
#include "platform/services.h"
#include "pointing/sun/outage_search.h"
#include "propagation/coordinates.h"
#include "rftools/graphs/graph_forms.h"
#include "rftools/tables/antenna_tables.h"
#include "rftools/tables/modulation_table.h"
#include "rftools/tables/national_tables.h"
#include "rftools/tables/polar_eirp_tables.h"
#include "rftools/tables/solar_transit_table.h"
#include "rftools/tables/table_forms.h"
#include "rftools/tables/table_win.h"
#include "rftools/tables/visible_satellites.h"

namespace tables = orbiscope::tables;

namespace {
// A visible-satellites table, or "None found" when no satellite passed.
bool ShowListed(TTableWin& window, std::optional<tables::TableText> table)
{
    if (!table) {
        platform::MessageBox(&window, "None found", "Visible Satellites", platform::MB_ICONEXCLAMATION);
        return false;
    }
    window.ShowTable(std::move(*table));
    return true;
}
}  // namespace

void TTableWin::StartVisibleSatellites()
{
    if (!RunForm<TRecSiteForm>(FormBuffer<tables::RecSiteRecord>())) return;
    if (!LoadSatList() || !VisibleSatellites()) CloseWindow(0);
}

bool TTableWin::VisibleSatellites()
{
    platform::WaitCursor wait;
    ClearReport();
    return ShowListed(*this, tables::VisibleSatellites(FormBuffer<tables::RecSiteRecord>(), Satellites, Heading()));
}

void TTableWin::StartVisibleSatellites2Sites()
{
    if (!RunForm<TRecSiteForm2>(FormBuffer<tables::RecSite2Record>())) return;
    if (!LoadSatList() || !VisibleSatellites2Sites()) CloseWindow(0);
}

bool TTableWin::VisibleSatellites2Sites()
{
    platform::WaitCursor wait;
    ClearReport();
    return ShowListed(*this,
                      tables::VisibleSatellites2Sites(FormBuffer<tables::RecSite2Record>(), Satellites, Heading()));
}

void TTableWin::SolarTransitTable()
{
    if (!RunForm<TSolarTransitForm>(FormBuffer<tables::SolarTransitRecord>())) return;
    platform::WaitCursor wait;
    ClearReport();
    tables::SolarTransitTable result = tables::SolarTransit(FormBuffer<tables::SolarTransitRecord>(), Heading());
    if (result.belowHorizon) {
        platform::MessageBox(this, kBelowHorizonText, kElevationCaption, platform::MB_ICONEXCLAMATION);
        CloseWindow(0);
        return;
    }
    ShowTable(std::move(result.table));
}

void TTableWin::NoiseFigureTable()
{
    platform::WaitCursor wait;
    ClearReport();
    ShowTable(tables::NoiseFigureTable(Heading()));
}

void TTableWin::AntennaGainTable() { FormTable<TFreqForm, tables::FreqRecord>(tables::AntennaGainTable); }

void TTableWin::BeamwidthTable() { FormTable<TFreqForm, tables::FreqRecord>(tables::BeamwidthTable); }

void TTableWin::IlluminationTable()
{
    graphs::BeamRecord& record = FormBuffer<graphs::BeamRecord>();
    if (!RunForm<TBeamForm>(record)) return;
    // Below 1.22 wavelengths an aperture has no first null: beamwidths
    // computed from it would be figures without meaning.
    const graphs::BeamInputs in = graphs::ReadBeam(record);
    // The beam form takes apertures up to 50 m.
    const std::string refusal =
        orbiscope::sun::ApertureRangeMessage(in.apertureM, in.frequencyGHz, FieldText(record.frequency), 50.0);
    if (!refusal.empty()) {
        platform::MessageBox(this, refusal.c_str(), "Range Error", platform::MB_ICONEXCLAMATION);
        CloseWindow(0);
        return;
    }
    platform::WaitCursor wait;
    ClearReport();
    tables::TableText table = tables::IlluminationTable(record, Heading());
    // The caption names the window itself as well as its frame.
    setWindowTitle(QString::fromLatin1(table.caption.c_str()));
    ShowTable(std::move(table));
}

void TTableWin::OffAxisGainTable()
{
    ClearReport();
    graphs::TemplateRecord& record = FormBuffer<graphs::TemplateRecord>();
    if (!RunForm<TTemplateForm>(record)) return;
    if (const auto warning = graphs::TemplatePolarWarning(graphs::ReadTemplate(record)))
        platform::MessageBox(this, warning->text, warning->caption, warning->flags);
    platform::WaitCursor wait;
    ShowTable(tables::OffAxisGainTable(record, Heading()));
}

void TTableWin::PolarMountTable()
{
    platform::WaitCursor wait;
    ClearReport();
    ShowTable(tables::PolarMountTable(Heading()));
}

void TTableWin::EirpApertureTable()
{
    FormTable<TAntSysSmallForm, tables::AntSysSmallRecord>(tables::EirpApertureTable);
}

void TTableWin::ModulationTable() { FormTable<TBerForm, tables::BerRecord>(tables::ModulationTable); }

void TTableWin::StartNationalLookAngles()
{
    CountryTable<TSatPosForm, tables::SatPosRecord>(tables::NationalLookAngles);
}

void TTableWin::StartDualFeedTable() { CountryTable<TDualTabForm, tables::DualTabRecord>(tables::DualFeedTable); }
