// TTableWin: the "Table" document window (type 2).  Every command of the
// Table menu makes a new one and runs one builder on it: the builder runs
// its form on a transfer buffer the window owns, reads the data it needs,
// and shows the table its engine wrote.  A table window has no document of
// its own: Save and Save As stay disabled, and a builder that cannot build
// (form cancelled, list unreadable, nothing found) closes its window again.
//
// Adding a table: register a builder for the command with
// RegisterTableBuilder (table_registration.h).  Most builders are one call:
// FormTable<Form, Record>(engine) or CountryTable<Form, Record>(engine),
// where the engine function builds the TableText from the form's record (and
// the towns).  Others run their form on FormBuffer<Record>() with RunForm,
// read what they need, build under a wait cursor and ShowTable the result,
// or CloseWindow(0) when there is nothing to show.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "framework/databases/place_files.h"
#include "framework/output/mywindow.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "rftools/tables/table_text.h"

class TTableWin : public TMyWindow {
public:
    static constexpr int kWindowType = 2;

    TTableWin(QWidget* parent, const char* title, const char* fileName);
    ~TTableWin() override;

    void EvSetFocus() override;

    // The transfer buffer of a form, zero-filled when first asked for and
    // kept as long as the window.
    template <class Record>
    Record& FormBuffer()
    {
        static_assert(std::is_trivially_copyable_v<Record>);
        std::shared_ptr<void>& slot = buffers_[std::type_index(typeid(Record))];
        if (!slot) slot = std::make_shared<Record>();  // value-initialised: every byte 0
        return *static_cast<Record*>(slot.get());
    }

    // Runs a form (constructed on the window and the record) modally; any
    // answer but OK closes the window and gives false.
    template <class Form, class Record>
    bool RunForm(Record& record)
    {
        Form form(this, record);
        if (form.Execute() == platform::IDOK) return true;
        CloseWindow(0);
        return false;
    }

    // Lets the user choose a country file and reads it into Towns (records
    // 0..n, record 0 naming the country).  False when none was chosen or the
    // file cannot be read (the latter with a message).
    bool LoadCountryFile();
    // Reads "satlist.geo" of the program directory into Satellites (records
    // 0..n, record 0 not a satellite).  False, with a message, when it is
    // missing or cannot be read.
    bool LoadSatList();
    std::vector<TownRecord> Towns;
    std::vector<SatelliteRecord> Satellites;
    std::int32_t RecordCount = 0;  // towns or satellites of the list read last

    // The company line and today's date for a table's head.
    ReportHeading Heading() const;
    // Puts a built table into the window: report, tab stops, caption, top.
    void ShowTable(orbiscope::tables::TableText table);

    // A table from its form alone: the form on its buffer, then, under the
    // wait cursor, build(record, heading) -> TableText.
    template <class Form, class Record, class Build>
    void FormTable(Build build)
    {
        Record& record = FormBuffer<Record>();
        if (!RunForm<Form>(record)) return;
        platform::WaitCursor wait;
        ClearReport();
        ShowTable(build(record, Heading()));
    }
    // A table of the towns of a country: the form, the country file, then
    // build(record, Towns, heading) -> TableText.
    template <class Form, class Record, class Build>
    void CountryTable(Build build)
    {
        Record& record = FormBuffer<Record>();
        if (!RunForm<Form>(record)) return;
        if (!LoadCountryFile()) {
            CloseWindow(0);
            return;
        }
        platform::WaitCursor wait;
        ClearReport();
        ShowTable(build(record, std::span<const TownRecord>(Towns), Heading()));
    }

    // ---- the builders of the Table menu ----
    void StartVisibleSatellites();        // 6412: form, satellite list, table
    bool VisibleSatellites();             // false when no satellite passes
    void StartVisibleSatellites2Sites();  // 6426
    bool VisibleSatellites2Sites();
    void SolarTransitTable();             // 6415
    void NoiseFigureTable();              // 6410
    void AntennaGainTable();              // 6419
    void BeamwidthTable();                // 6417
    void IlluminationTable();             // 6420
    void OffAxisGainTable();              // 6428
    void PolarMountTable();               // 6414
    void EirpApertureTable();             // 6421
    void ModulationTable();               // 6422
    void StartNationalLookAngles();       // 6411: form, country file, table
    void StartDualFeedTable();            // 6413: form, country file, table

private:
    void EnsureFontMetrics();

    std::map<std::type_index, std::shared_ptr<void>> buffers_;
};
