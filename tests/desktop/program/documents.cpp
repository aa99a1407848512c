#include "tests/desktop/program/documents.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/app/mdiclient.h"
#include "framework/app/registration.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_window.h"
#include "pointing/alignment/angle_win.h"
#include "pointing/alignment/dual_win.h"
#include "pointing/sun/solar_out_win.h"
#include "rftools/losses/rain_atten_win.h"
#include "tests/linkbudget/geo/real_budget_scenario.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"
#include "tests/linkbudget/nongeo/nongeo_support.h"

namespace wholeprogram {

namespace fs = std::filesystem;

namespace {

const fs::path kImageCorpus = ORBISCOPE_IMAGE_CORPUS_DIR;

// The calculation documents hold what a user could have typed: the budgets
// of the link-budget tests, a site in Madrid for the pointing documents.
template <std::size_t N>
void Put(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

void FillLookAngles(LookAngleInputRecord& r)
{
    r = NewLookAngleRecord();
    Put(r.siteName, "Madrid");
    Put(r.satelliteName, "Hispasat 30W");
    Put(r.siteLatitude, "40.42N");
    Put(r.siteLongitude, "3.70W");
    Put(r.satelliteLongitude, "30.0W");
}

void FillDualFeed(DualFeedInputRecord& r)
{
    r = {};
    Put(r.siteName, "Madrid");
    Put(r.primaryName, "Astra 19.2E");
    Put(r.secondaryName, "Hotbird 13E");
    Put(r.siteLatitude, "40.42N");
    Put(r.siteLongitude, "3.70W");
    Put(r.primaryLongitude, "19.2E");
    Put(r.secondaryLongitude, "13.0E");
    Put(r.aperture, "0.9");
    Put(r.efficiency, "65");
    Put(r.frequency, "11.7");
    Put(r.fOverD, "0.6");
    Put(r.beamfactor, "1.0");
}

void FillSolarOutage(SolarOutRecord& r)
{
    orbiscope::sun::SetSolarOutDefaults(r);
    Put(r.siteName, "Madrid");
    Put(r.satName, "Hispasat 30W");
    Put(r.siteLatitude, "40.42N");
    Put(r.siteLongitude, "3.70W");
    Put(r.satLongitude, "30.0W");
    Put(r.year, "2026");
    Put(r.zone, "1");
    Put(r.aperture, "1.2");
    Put(r.frequency, "11.7");
}

void FillAtmosphericLosses(AtmosLossInputRecord& r)
{
    orbiscope::losses::SetAtmosLossDefaults(r);
    Put(r.siteName, "Madrid");
    Put(r.satName, "Hispasat 30W");
    Put(r.siteLatitude, "40.42N");
    Put(r.siteLongitude, "3.70W");
    Put(r.satLongitude, "30.0W");
    Put(r.frequency, "11.7");
    Put(r.polarization, "H");
    Put(r.availability, "99.9");
    Put(r.systemNoise, "120");
    Put(r.diameter, "1.2");
    Put(r.efficiency, "65");
}

// The isolated budgets of their tests, with the names a document carries.
void FillUplink(UplinkInputRecord& r)
{
    HandRecord(r);
    Put(r.satName, "Hispasat 30W");
    Put(r.serviceName, "Contribution");
}

void FillDownlink(DownlinkInputRecord& r)
{
    HandDownlink(r);
    Put(r.satName, "Hispasat 30W");
    Put(r.serviceName, "Contribution");
}

// Written by the document window's own writer.
template <class Window, class Fill>
bool WriteWith(const fs::path& file, Fill fill)
{
    Window window(nullptr, nullptr, nullptr);
    fill(window.Record());
    return window.SaveFile(file.c_str());
}

struct CalculationDocument {
    int windowType;
    const char* name;
    bool (*write)(const fs::path& file);
};
const CalculationDocument kCalculationDocuments[] = {
    {5, "look.ang", [](const fs::path& f) { return WriteWith<TAngleWin>(f, FillLookAngles); }},
    {6, "dual.duo", [](const fs::path& f) { return WriteWith<TDualWin>(f, FillDualFeed); }},
    {11, "outage.sun", [](const fs::path& f) { return WriteWith<TSolarOutWin>(f, FillSolarOutage); }},
    {14, "losses.atn", [](const fs::path& f) { return WriteWith<TRainAttenWin>(f, FillAtmosphericLosses); }},
    {10, "london-madrid.glb",
     [](const fs::path& f) { return WriteWith<TUpLinkWin>(f, [](auto& r) { scenario::FillLondonMadrid(r); }); }},
    {16, "leo.llb",
     [](const fs::path& f) { return WriteWith<TLeoLinkWin>(f, [](auto& r) { lbtest::FillNamedLeoHandBudget(r); }); }},
    {15, "uplink.rup", [](const fs::path& f) { return WriteWith<TRgnUpLinkWin>(f, FillUplink); }},
    {17, "downlink.rdn", [](const fs::path& f) { return WriteWith<TRgnDownLinkWin>(f, FillDownlink); }},
};

// The documents read as they come: one file of each picture format, a TLE
// file, a country file and the satellite list.
struct DataFile {
    int windowType;
    fs::path source;
    const char* name;
};
std::vector<DataFile> DataFiles(const fs::path& build, const fs::path& program)
{
    return {
        {1, kImageCorpus / "bmp-8bit.bmp", "picture.bmp"},   {1, kImageCorpus / "gif-256colours.gif", "picture.gif"},
        {1, kImageCorpus / "pcx-8bit.pcx", "picture.pcx"},   {1, kImageCorpus / "tif-rgb-lzw.tif", "picture.tif"},
        {1, kImageCorpus / "jpg-baseline.jpg", "picture.jpg"}, {4, build / "orbit-data" / "geo.tle", "geo.tle"},
        {7, program / "United Kingdom.twn", "towns.twn"},    {8, program / "satlist.geo", "satellites.geo"},
    };
}

// Tables and graphs are no documents: menu commands that need no form.
constexpr int kTableCommand = 6410;  // Noise Temperature v Noise Figure
constexpr int kGraphCommand = 6310;  // Noise Temperature v Noise Figure

}  // namespace

Documents::Documents(InstalledProgram& program) : program_(program)
{
    for (const CalculationDocument& d : kCalculationDocuments) {
        const fs::path path = program_.Documents() / d.name;
        if (d.write(path)) files_.push_back({d.windowType, path});
        else problems_.push_back(std::string(d.name) + ": its window could not write it");
    }
    for (const DataFile& f : DataFiles(InstalledProgram::BuildDir(), program_.ProgramDir()))
        AddDataFile(f.windowType, f.source, f.name);
    // The older extensions of a document type (".upd", ".dlb", ".dnd", ".leo",
    // ".att") read the same files as the type's own.
    for (const orbiscope::WindowTypeInfo& t : orbiscope::WindowTypes()) {
        if (t.extensions.size() < 2) continue;
        for (const SampleDocument& f : std::vector<SampleDocument>(files_)) {
            if (f.windowType != t.type || f.path.extension() != t.extensions.front()) continue;
            for (std::size_t i = 1; i < t.extensions.size(); ++i)
                AddDataFile(t.type, f.path, (f.path.stem().string() + t.extensions[i]).c_str());
        }
    }
}

void Documents::AddDataFile(int windowType, const fs::path& source, const char* name)
{
    const fs::path path = program_.Documents() / name;
    std::error_code ec;
    fs::copy_file(source, path, fs::copy_options::overwrite_existing, ec);
    if (ec) problems_.push_back(source.string() + ": " + ec.message());
    else files_.push_back({windowType, path});
}

platform::MdiChild* Documents::NewWindowFromCommand(int command)
{
    TOrbiscope& app = program_.App();
    app.Dispatch(command);
    SettleEvents();
    return app.Client()->ActiveChild();
}

platform::MdiChild* Documents::OpenWindow(int windowType)
{
    TOrbiscope& app = program_.App();
    if (windowType == orbiscope::kTableWindowType) return NewWindowFromCommand(kTableCommand);
    if (windowType == orbiscope::kGraphWindowType) return NewWindowFromCommand(kGraphCommand);
    for (const SampleDocument& f : files_) {
        if (f.windowType != windowType) continue;
        app.Client()->OpenFile(f.path.c_str());
        SettleEvents();
        return app.Client()->ActiveChild();
    }
    return nullptr;
}

}  // namespace wholeprogram
