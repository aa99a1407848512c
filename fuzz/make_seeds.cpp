// Writes the fuzz targets' seed corpora with the program's own writers:
//   fuzz_make_seeds FUZZ_FOLDER
// (run by hand when a format changes; the seeds are kept in the sources).
#include <cstdio>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/app/dde.h"
#include "framework/databases/place_files.h"
#include "fuzz/window_support.h"
#include "linkbudget/nongeo/nongeo_window.h"
#include "linkbudget/isolated/downlink_window.h"
#include "linkbudget/isolated/uplink_window.h"
#include "linkbudget/geo/geo_window.h"
#include "platform/atomic_file.h"
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

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FUZZ_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path fuzz = fs::absolute(argv[1]);
    SocketSeeds(fuzz / "socket_line/corpus");
    ConfigSeeds(fuzz);
    PlaceSeeds(fuzz);
    MapSeeds(fuzz);
    DocumentSeeds(fuzz);
    return 0;
}
