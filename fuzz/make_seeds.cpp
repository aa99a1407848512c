// Writes the fuzz targets' seed corpora with the program's own writers:
//   fuzz_make_seeds FUZZ_FOLDER
// (run by hand when a format changes; the seeds are kept in the sources).
#include <cstdio>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/app/dde.h"
#include "framework/databases/place_files.h"
#include "fuzz/itu_map_copy/map_copy_case.h"
#include "fuzz/window_support.h"
#include "linkbudget/nongeo/nongeo_window.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/geo/geo_window.h"
#include "platform/atomic_file.h"
#include "pointing/sun/solar_out_win.h"
#include "rftools/losses/rain_atten_win.h"
#include "tests/linkbudget/isolated/isolated_fixtures.h"

namespace fs = std::filesystem;

namespace {

void Put(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    if (!platform::WriteFileAtomically(file, bytes)) std::fprintf(stderr, "cannot write %s\n", file.c_str());
}

void SocketSeeds(const fs::path& dir)
{
    using orbiscope::DdeMessage;
    // The first byte is the size of the reads the stream arrives in, less one.
    Put(dir / "open", "\x07" + DdeMessage("Orbiscope", "System", "[Open(/home/user/link.glb)]") + "\n");
    Put(dir / "print", "\xff" + DdeMessage("Orbiscope", "System", "[Print(/home/user/site.twn)]") + "\n");
    Put(dir / "activate", std::string("\x00", 1) + "activate\n" + DdeMessage("orbiscope", "system", "[open()]") + "\n");
}

// What a later start reads back, and names it sends.
void HandOverSeeds(const fs::path& dir)
{
    Put(dir / "taken", platform::HandOverAnswer(true));
    Put(dir / "refused", platform::HandOverAnswer(false, platform::SingleInstance::kRefusedBusy));
    Put(dir / "name", "/home/user/plans/london-madrid.glb");
}

void ConfigSeeds(const fs::path& fuzz)
{
    WriteSetupFile(fuzz / "config_cfg/corpus/default", DefaultSetUpRecord());
    std::vector<std::vector<std::uint8_t>> buffers;
    std::vector<std::span<const std::uint8_t>> records;
    for (std::uint16_t size : kFormValueRecordSizes) buffers.emplace_back(size, std::uint8_t(0));
    buffers[16][162] = 1;  // the evaluator's default button
    for (const auto& b : buffers) records.emplace_back(b);
    WriteFormValuesFile(fuzz / "config_dat/corpus/default", records);
    WindowPlacement wp;
    wp.left = 10, wp.top = 20, wp.right = 910, wp.bottom = 660;
    WritePlacementFile(fuzz / "config_ini/corpus/placement", wp);
    Put(fuzz / "config_ini/corpus/other-sections", "[Other]\nKey=1\n\n[Section]\nName=x\n");
    WritePlacementFile(fuzz / "config_ini/corpus/other-sections", wp);
}

void PlaceSeeds(const fs::path& fuzz)
{
    std::vector<TownRecord> towns(3);
    SetRecordText(towns[0].name, "United Kingdom");
    SetRecordText(towns[1].name, "Liverpool");
    towns[1].latitude = 53.25f, towns[1].longitude = -2.59f;
    SetRecordText(towns[2].name, "Leeds");
    towns[2].latitude = 53.48f, towns[2].longitude = -1.33f;
    Put(fuzz / "town_file/corpus/country", TownFileBytes(towns));
    Put(fuzz / "town_file/corpus/empty", TownFileBytes({}));
    std::vector<SatelliteRecord> sats(3);
    SetRecordText(sats[0].name, "Satellites");
    SetRecordText(sats[1].name, "Alpha 1");
    sats[1].longitude = 19.2f;
    SetRecordText(sats[1].bands, "C,Ku");
    SetRecordText(sats[2].name, "Beta 2");
    sats[2].longitude = -30.0f;
    SetRecordText(sats[2].bands, "Ka,Q/V,?");
    Put(fuzz / "satellite_file/corpus/list", SatelliteFileBytes(sats));
}

void MapSeeds(const fs::path& fuzz)
{
    // Grids laid out as the published map texts: numbers separated by blanks,
    // one row a line.
    std::string floats, heights;
    char number[32];
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 5; ++c) {
            std::snprintf(number, sizeof number, "%s%.5f", c ? " " : "", 1013.25 - 12.5 * r + 0.125 * c);
            floats += number;
        }
        floats += "\r\n";
    }
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            std::snprintf(number, sizeof number, "%s%d", c ? " " : "", -120 + 1375 * r + 7 * c);
            heights += number;
        }
        heights += "\n";
    }
    Put(fuzz / "itu_map/corpus/floats", floats);
    Put(fuzz / "itu_map/corpus/heights", heights);
}

// The copies the loader itself keeps of the two grids of one text.
void MapCopySeeds(const fs::path& corpus)
{
    const fs::path work = corpus / "work";
    fs::create_directories(work);
    Put(work / "MAP.TXT", std::string(fuzzmapcopy::kText));
    for (const bool heights : {false, true}) {
        ItuMapGrid grid;
        if (!LoadMapFileCached(work / "MAP.TXT", fuzzmapcopy::Format(heights), grid, work))
            std::fprintf(stderr, "cannot make the copy\n");
        std::error_code ec;
        fs::rename(work / "MAP.TXT.grid", corpus / (heights ? "heights" : "floats"), ec);
    }
    fs::remove_all(work);
}

template <class Window, class Fill>
void DocumentSeed(const fs::path& file, Fill fill)
{
    fs::create_directories(file.parent_path());
    Window window(nullptr, nullptr, nullptr);
    fill(window.Record());
    if (!window.SaveFile(file.c_str())) std::fprintf(stderr, "cannot write %s\n", file.c_str());
}

void DocumentSeeds(const fs::path& fuzz)
{
    fuzzsupport::WindowHarness::Get();
    DocumentSeed<TUpLinkWin>(fuzz / "doc_geo/corpus/hand.glb", [](GeoLinkInputRecord& r) { FillHandBudget(r); });
    DocumentSeed<TUpLinkWin>(fuzz / "doc_geo/corpus/new.glb", [](GeoLinkInputRecord&) {});
    DocumentSeed<TLeoLinkWin>(fuzz / "doc_nongeo/corpus/new.llb", [](NonGeoLinkInputRecord&) {});
    DocumentSeed<TRgnUpLinkWin>(fuzz / "doc_uplink/corpus/hand.rup", [](UplinkInputRecord& r) { HandRecord(r); });
    DocumentSeed<TRgnDownLinkWin>(fuzz / "doc_downlink/corpus/hand.rdn", [](DownlinkInputRecord& r) { HandDownlink(r); });
}

// A document written field by field as its older versions wrote it: texts
// padded with zeros to their width, words little-endian.
struct OldDocument {
    std::string bytes;
    explicit OldDocument(std::uint16_t version) { Word(version); }
    OldDocument& Text(const char* text, std::size_t width)
    {
        bytes += std::string(text).append(width, '\0').substr(0, width);
        return *this;
    }
    OldDocument& Word(std::uint16_t w)
    {
        bytes += {char(w & 0xFF), char(w >> 8)};
        return *this;
    }
    OldDocument& Filler(std::size_t n)
    {
        bytes.append(n, '\0');
        return *this;
    }
};

void FillSunRecord(SolarOutRecord& r)
{
    PutText(r.siteName, "London, Docklands");
    PutText(r.satName, "Astra 28.2E");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.satLongitude, "28.2E");
    PutText(r.year, "2025");
    PutText(r.zone, "0");
    PutText(r.aperture, "1.2");
    PutText(r.frequency, "11.7");
}

void SunSeeds(const fs::path& dir)
{
    DocumentSeed<TSolarOutWin>(dir / "new.sun", [](SolarOutRecord&) {});
    DocumentSeed<TSolarOutWin>(dir / "london.sun", FillSunRecord);
    DocumentSeed<TSolarOutWin>(dir / "sydney-seconds-gmt.sun", [](SolarOutRecord& r) {
        FillSunRecord(r);
        PutText(r.siteName, "Sydney");
        PutText(r.siteLatitude, "33.87S");
        PutText(r.siteLongitude, "151.21E");
        PutText(r.satLongitude, "156.0E");
        PutText(r.zone, "10");
        PutText(r.aperture, "2.4");
        PutText(r.frequency, "4.0");
        r.standard.Set(0), r.wide.Set(1);
        r.minute.Set(0), r.second.Set(1);
        r.local.Set(0), r.gmt.Set(1);
    });
    // Version 1945 (and 1946) ended before the time-output buttons.
    OldDocument old(1945);
    old.Text("Quito", 41).Text("Intelsat 34.5W", 41).Text("0.18S", 13).Text("78.47W", 13).Text("34.5W", 13)
        .Text("2030", 13).Text("-5", 13).Text("3.7", 13).Text("3.9", 13).Word(1).Word(0).Word(1).Word(0);
    Put(dir / "quito-1945.sun", old.bytes);
}

// The fields every version of an atmospheric-losses document starts with, up
// to the polarization.
OldDocument& LossCommon(OldDocument& d)
{
    return d.Text("Manchester", 41).Text("Eutelsat 10A", 41).Text("53.48N", 13).Text("2.24W", 13).Text("auto", 13)
        .Text("10.0E", 13).Text("12.5", 13).Text("V", 2);
}

void LossSeeds(const fs::path& dir)
{
    DocumentSeed<TRainAttenWin>(dir / "new.atn", [](AtmosLossInputRecord&) {});
    DocumentSeed<TRainAttenWin>(dir / "manchester.atn", [](AtmosLossInputRecord& r) {
        PutText(r.siteName, "Manchester");
        PutText(r.satName, "Eutelsat 10A");
        PutText(r.siteLatitude, "53.48N");
        PutText(r.siteLongitude, "2.24W");
        PutText(r.satLongitude, "10.0E");
        PutText(r.frequency, "12.5");
        PutText(r.polarization, "V");
        PutText(r.availability, "99.95");
        PutText(r.systemNoise, "150");
        PutText(r.diameter, "0.9");
        PutText(r.efficiency, "70");
    });
    DocumentSeed<TRainAttenWin>(dir / "singapore-typed-rate.att", [](AtmosLossInputRecord& r) {
        PutText(r.siteName, "Singapore");
        PutText(r.satName, "Measat 91.5E");
        PutText(r.siteLatitude, "1.35N");
        PutText(r.siteLongitude, "103.82E");
        PutText(r.siteAltitude, "0.02");
        PutText(r.satLongitude, "91.5E");
        PutText(r.frequency, "19.7");
        PutText(r.polarization, "C");
        PutText(r.availability, "99.5");
        PutText(r.systemNoise, "200");
        PutText(r.diameter, "2.4");
        PutText(r.efficiency, "65");
        r.ituAuto.Set(0), r.ituManual.Set(1);
        PutText(r.manualRainRate, "120");
    });
    // The older versions, each as it was written.
    for (std::uint16_t version : {4000, 4001, 4002, 4003}) {
        OldDocument d(version);
        LossCommon(d).Text("99.95", 13).Text("150", 13).Word(1);
        if (version < 4001) d.Filler(4);
        if (version >= 4003) d.Word(0).Word(1);
        d.Word(0).Text("38.5", 13);
        Put(dir / ("manchester-" + std::to_string(version) + ".atn"), d.bytes);
    }
    for (std::uint16_t version : {1812, 1813}) {
        OldDocument d(version);
        LossCommon(d);
        if (version == 1812) d.Filler(4);
        d.Text("99.95", 13).Text("150", 13);
        if (version == 1813) d.Filler(8).Text("38.5", 13);
        Put(dir / ("manchester-" + std::to_string(version) + ".att"), d.bytes);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FUZZ_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path fuzz = fs::absolute(argv[1]);
    SocketSeeds(fuzz / "socket_line/corpus");
    HandOverSeeds(fuzz / "handover/corpus");
    ConfigSeeds(fuzz);
    PlaceSeeds(fuzz);
    MapSeeds(fuzz);
    MapCopySeeds(fuzz / "itu_map_copy/corpus");
    DocumentSeeds(fuzz);
    SunSeeds(fuzz / "doc_sun/corpus");
    LossSeeds(fuzz / "doc_losses/corpus");
    return 0;
}
