// A FIFO, device or folder named like a document, a database, a configuration
// file or a map is refused at once, never waited on.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "framework/app/config_files.h"
#include "framework/databases/place_files.h"
#include "framework/output/docfile.h"
#include "platform/atomic_file.h"
#include "platform/registry.h"
#include "propagation/itu_maps.h"
#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

namespace fs = std::filesystem;

namespace {

// A reader, and whether it accepted the name; what it makes goes into the
// test's own folder, whatever name it is given.
struct ReaderCase {
    using Read = std::function<bool(const fs::path& name, const fs::path& folder)>;
    ReaderCase(const char* n, Read r) : name(n), read(std::move(r)) {}
    ReaderCase(const char* n, std::function<bool(const fs::path&)> r)  // one that makes nothing
        : name(n), read([r = std::move(r)](const fs::path& p, const fs::path&) { return r(p); })
    {
    }
    const char* name;
    Read read;
};

const ItuMapFormat kTinyMap{"TINY.TXT", 2, 3, 16, false, 0, 0};

const ReaderCase kReaders[] = {
    {"document", [](const fs::path& p) { return DocumentFile(p).IsOpen(); }},
    {"orbisco.cfg", [](const fs::path& p) { SetUpRecord r; return ReadSetupFile(p, r); }},
    {"orbisco.dat",
     [](const fs::path& p) {
         std::vector<std::uint8_t> bytes(kFormValueFileSize);
         std::vector<std::span<std::uint8_t>> records;
         std::size_t at = 0;
         for (std::uint16_t size : kFormValueRecordSizes) {
             records.emplace_back(bytes.data() + at, size);
             at += size;
         }
         return ReadFormValuesFile(p, records) != FormValuesRead::Missing;
     }},
    {"orbisco.ini", [](const fs::path& p) { return ReadPlacementFile(p).has_value(); }},
    {"country file", [](const fs::path& p) { std::vector<TownRecord> r; return ReadTownFile(p, kTownPickerRule, r); }},
    {"satellite file",
     [](const fs::path& p) { std::vector<SatelliteRecord> r; return ReadSatelliteFile(p, kSatellitePickerRule, r); }},
    {"ITU-R map", [](const fs::path& p) { ItuMapGrid g; return LoadMapFile(p, kTinyMap, g) || g.rows != 0; }},
    // The registry is opened by name: the name given stands at the
    // registry's place through a link, which is followed.
    {"registry",
     [](const fs::path& p, const fs::path& own) {
         const fs::path folder = own / "registry";
         fs::create_directories(folder);
         fs::remove(folder / "registry.ini");
         fs::create_symlink(p, folder / "registry.ini");
         platform::Registry::SetFolder(folder);
         const bool accepted = platform::Registry::Refusals().empty();
         (void)platform::Registry::ReadString("Software\\Orbiscope\\MRU", "File1");
         platform::Registry::SetFolder({});
         return accepted;
     }},
    {"whole file",
     [](const fs::path& p) {
         std::vector<std::uint8_t> b;
         return platform::ReadRegularFile(p, b, 1u << 20) != platform::FileRead::Unreadable;
     }},
};

TEST(HostileNames, EveryReaderRefusesAFifoWithoutWaiting)
{
    testfiles::TempFolder dir;
    const fs::path fifo = dir / "pipe.glb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const ReaderCase& c : kReaders) {
        bool accepted = true;
        EXPECT_FALSE(testfiles::WaitedOnFifo(fifo, [&] { accepted = c.read(fifo, dir.Path()); }))
            << c.name << " waited on a FIFO";
        EXPECT_FALSE(accepted) << c.name;
    }
}

TEST(HostileNames, EveryReaderRefusesAFolderAndADevice)
{
    testfiles::TempFolder dir;
    fs::create_directory(dir / "folder.glb");
    // The zero device's numbers, a device that never ends, made here; a run
    // that may make no device node tries the folder alone.
    const fs::path device = dir / "zero.glb";
    const bool madeDevice = ::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
    for (const ReaderCase& c : kReaders) {
        EXPECT_FALSE(c.read(dir / "folder.glb", dir.Path())) << c.name;
        if (madeDevice) {
            EXPECT_FALSE(c.read(device, dir.Path())) << c.name;
        }
    }
}

// A document window whose reader opens the name as it is given, as the
// isolated budgets' readers do.
class PlainReaderWindow : public TMyWindow {
public:
    explicit PlainReaderWindow(const char* name) : TMyWindow(nullptr, nullptr, name) {}
    bool LoadFile(const char* fileName) override
    {
        std::FILE* f = std::fopen(fileName, "rb");
        if (!f) return false;
        char byte;
        const bool read = std::fread(&byte, 1, 1, f) == 1;
        std::fclose(f);
        return read;
    }
};

TEST(HostileNames, OpeningAFifoAsADocumentShowsTheOpenFailure)
{
    testsupport::AppFixture f;
    orbiscope::RegisterWindowFactory(10, [](const char* name) {
        auto* w = new PlainReaderWindow(name);
        w->OpenDocument(true);
        return w;
    });
    const fs::path fifo = f.dir / "budget.glb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_FALSE(testfiles::WaitedOnFifo(fifo, [&] { f.app->Client()->OpenFile(fifo.c_str()); }));
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "Cannot read file " + fifo.string());
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
}

}  // namespace
