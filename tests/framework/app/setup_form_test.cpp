// The set-up dialog and the configuration files read when the client is set
// up: the 148-byte transfer buffer, the close check, the three persistence
// buttons, and the notices of a short "orbisco.cfg" or "orbisco.dat".
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QSysInfo>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/app/setup_form.h"
#include "platform/registry.h"
#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

using F = TSetUpForm;
using testfiles::ReadText;
using testfiles::WriteText;

// Bytes 3, 10, 17, ... so that every offset of a file is told apart.
std::string Pattern(std::size_t n)
{
    std::string v(n, '\0');
    for (std::size_t i = 0; i < n; ++i) v[i] = char((i * 7 + 3) & 0xFF);
    return v;
}

std::string DefaultBytes()
{
    const SetUpRecord r = DefaultSetUpRecord();
    return {r.bytes.begin(), r.bytes.end()};
}

class SetUpTest : public ::testing::Test {
protected:
    SetUpTest() { f.messages.calls.clear(); }
    ~SetUpTest() override
    {
        platform::ClearDialogDrivers();
        TSetUpForm::SetSitePicker({});
    }
    TOrbiscope& App() { return *f.app; }
    std::filesystem::path Cfg() const { return f.dir / "orbisco.cfg"; }
    std::string Record() const { return {f.app->SetUpRecord.begin(), f.app->SetUpRecord.end()}; }
    std::string FormValues() const { return {f.app->FormValueTable.begin(), f.app->FormValueTable.end()}; }
    SetUpRecord Current() const
    {
        SetUpRecord r;
        r.bytes = f.app->SetUpRecord;
        return r;
    }
    // A record of our own, so that the defaults are told apart from it.
    static std::string RecordBytes(const char* company, const char* lat, int save = 0)
    {
        SetUpRecord r;
        r.SetCompany(company);
        r.SetSiteName("Here");
        r.SetLatitude(lat);
        r.SetLongitude("20.00E");
        r.SetSaveDialogEntries(std::uint16_t(save));
        return {r.bytes.begin(), r.bytes.end()};
    }
    void SetRecord(const char* company, const char* lat)
    {
        const std::string bytes = RecordBytes(company, lat);
        std::copy(bytes.begin(), bytes.end(), f.app->SetUpRecord.begin());
    }
    // Runs Options > Setup: `fill` sets the controls, then `buttons` are
    // pressed in turn; once they are used up the dialog is cancelled.
    void RunSetup(std::function<void(platform::Dialog&)> fill, std::vector<int> buttons)
    {
        auto step = std::make_shared<std::size_t>(0);
        platform::SetDialogDriver(F::kResourceId, [fill, buttons, step](platform::Dialog& d) {
            if (*step == 0) fill(d);
            return *step < buttons.size() ? buttons[(*step)++] : platform::IDCANCEL;
        });
        setup::CmSetup(App(), f.app->Client());
    }

    testsupport::AppFixture f;
    testsupport::HelpRecorder help;
};

TEST_F(SetUpTest, TransferBufferIs148BytesWithWordsAtOddOffsets)
{
    F form(nullptr);
    const auto& table = form.Controls();
    ASSERT_EQ(platform::TransferSize(table), F::kTransferSize);
    const std::pair<int, long> offsets[] = {{F::kCompany, 0},      {F::kThisSession, 71}, {F::kAllSessions, 73},
                                            {F::kRestoreDefaults, 75}, {F::kSiteName, 77}, {F::kLatitude, 118},
                                            {F::kLongitude, 131},  {F::kSaveEntries, 144}, {F::kRestrictTilt, 146},
                                            {F::kSiteButton, -1}};
    for (const auto& [id, off] : offsets) EXPECT_EQ(platform::TransferOffset(table, id), off) << id;

    form.SetControlText(F::kCompany, "Acme Teleport");
    form.SetCheck(F::kThisSession, 1);
    form.SetCheck(F::kAllSessions, 1);  // the three buttons are one group
    form.SetControlText(F::kSiteName, "Leeds,UnitedKingdom");
    form.SetControlText(F::kLatitude, "53.80N");
    form.SetControlText(F::kLongitude, "1.55W");
    form.SetCheck(F::kRestrictTilt, 1);

    std::vector<std::uint8_t> buffer(F::kTransferSize, 0xCC);
    form.SetTransferBuffer(buffer.data(), buffer.size());
    form.TransferData(platform::TransferDirection::Get);

    std::vector<std::uint8_t> expected(F::kTransferSize, 0);
    auto put = [&expected](std::size_t at, const char* s) { std::memcpy(expected.data() + at, s, std::strlen(s)); };
    put(0, "Acme Teleport");
    expected[73] = 1;  // "All sessions"
    put(77, "Leeds,UnitedKingdom");
    put(118, "53.80N");
    put(131, "1.55W");
    expected[146] = 1;
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(form.ReadControls(), expected);

    // Buffer to controls: a state word at 75 selects "Restore defaults".
    std::vector<std::uint8_t> in(F::kTransferSize, 0);
    in[75] = 1;
    in[144] = 1;
    std::memcpy(in.data() + 118, "12.5S", 5);
    form.SetTransferBuffer(in.data(), in.size());
    form.TransferData(platform::TransferDirection::Set);
    EXPECT_EQ(form.GetCheck(F::kRestoreDefaults), 1);
    EXPECT_EQ(form.GetCheck(F::kAllSessions), 0);
    EXPECT_EQ(form.GetCheck(F::kSaveEntries), 1);
    EXPECT_EQ(form.GetControlText(F::kLatitude), "12.5S");
    EXPECT_EQ(form.windowTitle().toStdString(), "Orbiscope Set Up Form");
}

TEST_F(SetUpTest, CloseCheckOrderAndMessages)
{
    struct CloseCase { const char* name; int field; const char* text; const char* caption; const char* message; };
    const CloseCase cases[] = {
        {"empty company", F::kCompany, "", "Empty Field Error", "Company name"},
        {"tilde in the name", F::kSiteName, "Here~There", "Invalid Character Error", "Site name"},
        {"empty site", F::kSiteName, "", "Empty Field Error", "Site name"},
        {"no suffix", F::kLatitude, "53.42", "Suffix Missing Error (N,S,E or W)", "Site latitude"},
        {"west in a latitude", F::kLatitude, "53.42W", "Invalid Character Error", "Site latitude"},
        {"latitude range", F::kLatitude, "95N", "Range Error", "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S"},
        {"longitude range", F::kLongitude, "181E", "Range Error",
         "Site longitude\r\nRange 0.000000 to 180.000000 \xB0W,\xB0" "E"},
        {"suffix first", F::kLongitude, "W3.00", "Incorrectly Placed Suffix Error", "Site longitude"},
    };
    for (const CloseCase& c : cases) {
        f.messages.calls.clear();
        F form(nullptr);
        form.WriteControls(std::vector<std::uint8_t>(F::kTransferSize, 0));
        form.SetControlText(F::kCompany, "Acme");
        form.SetControlText(F::kSiteName, "Here");
        form.SetControlText(F::kLatitude, "53.42N");
        form.SetControlText(F::kLongitude, "3.00W");
        form.SetCheck(F::kThisSession, 1);
        EXPECT_TRUE(form.CanClose()) << c.name;
        form.SetControlText(c.field, c.text);
        // A later field's fault is not reached.
        if (c.field != F::kLongitude) form.SetControlText(F::kLongitude, "999");
        EXPECT_FALSE(form.CanClose()) << c.name;
        ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{c.caption, c.message}})) << c.name;
        EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION) << c.name;
        EXPECT_TRUE(f.messages.calls[0].hasOwner) << c.name;
    }
}

TEST_F(SetUpTest, SilentValidationOfARecordNeverShown)
{
    // A record checked through a form that is never shown: the checks fail
    // without a box.
    std::vector<std::uint8_t> record(F::kTransferSize, 0);
    transfer::SetText(record, F::kCompanyAt, F::kCompanySize, "Acme");
    transfer::SetWord(record, F::kThisSessionAt, 1);
    transfer::SetText(record, F::kSiteNameAt, F::kSiteNameSize, "Here");
    transfer::SetText(record, F::kLatitudeAt, F::kCoordinateSize, "95N");
    transfer::SetText(record, F::kLongitudeAt, F::kCoordinateSize, "3.00W");
    F form(nullptr);
    form.SetTransferBuffer(record.data(), record.size());
    form.SetupWindow();
    form.SetSilent(true);
    EXPECT_FALSE(form.CanClose());
    EXPECT_TRUE(f.messages.calls.empty());
    EXPECT_STREQ(form.MessageBuffer, "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S");
    transfer::SetText(record, F::kLatitudeAt, F::kCoordinateSize, "53.42N");
    form.SetupWindow();
    EXPECT_TRUE(form.CanClose());
}

// What OK and Cancel leave in the record and in "orbisco.cfg", by the
// persistence button chosen; the record starts as Acme at 10.00N 20.00E.
TEST_F(SetUpTest, PersistenceButtonsDecideWhatIsKeptAndWritten)
{
    // The whole 142 bytes written out by hand: company at 0, site at 71,
    // latitude at 112, longitude at 125, the tilt word at 140.
    std::string allSessions(142, '\0');
    allSessions.replace(0, 24, "Produced by \xC5ngstr\xF6m Ltd");
    allSessions.replace(71, 4, "Here");
    allSessions.replace(112, 6, "10.00N");
    allSessions.replace(125, 5, "1.55W");
    allSessions[140] = 1;
    const std::string before = RecordBytes("Acme", "10.00N");
    struct Case {
        const char* name;
        std::function<void(platform::Dialog&)> fill;
        std::vector<int> buttons;
        std::string record;
        bool written;  // "orbisco.cfg" holds the record afterwards
        const char* box;
    };
    const Case cases[] = {
        {"restore defaults skips the checks",
         [](platform::Dialog& d) {
             d.SetControlText(F::kCompany, "");
             d.SetControlText(F::kLatitude, "north");
             d.SetCheck(F::kRestoreDefaults, 1);
         },
         {platform::IDOK}, DefaultBytes(), true, nullptr},
        {"this session only keeps the file untouched",
         [](platform::Dialog& d) {
             d.SetControlText(F::kLatitude, "53.5N");
             d.SetCheck(F::kSaveEntries, 1);
         },
         {platform::IDOK}, RecordBytes("Acme", "53.5N", 1), false, nullptr},
        {"all sessions writes the record",
         [](platform::Dialog& d) {
             d.SetCheck(F::kAllSessions, 1);
             d.SetControlText(F::kCompany, "Produced by \xC5ngstr\xF6m Ltd");
             d.SetControlText(F::kLongitude, "1.55W");
             d.SetCheck(F::kRestrictTilt, 1);
         },
         {platform::IDOK}, allSessions, true, nullptr},
        {"cancel changes nothing",
         [](platform::Dialog& d) {
             d.SetCheck(F::kAllSessions, 1);
             d.SetControlText(F::kCompany, "Other");
         },
         {platform::IDCANCEL}, before, false, nullptr},
        // The close check keeps the dialog open; it is then cancelled.
        {"an OK refused", [](platform::Dialog& d) { d.SetControlText(F::kLatitude, "95N"); }, {platform::IDOK}, before,
         false, "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S"},
        {"the site button without a picker", [](platform::Dialog&) {}, {F::kSiteButton, platform::IDOK}, before, false,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::copy(before.begin(), before.end(), f.app->SetUpRecord.begin());
        App().DefaultCountryFile = "uk.twn";
        std::filesystem::remove(Cfg());
        f.messages.calls.clear();
        RunSetup(c.fill, c.buttons);
        EXPECT_EQ(Record(), c.record);
        EXPECT_EQ(ReadText(Cfg()), c.written ? c.record : "");
        EXPECT_EQ(f.messages.Shown(), (c.box ? testsupport::Boxes{{"Range Error", c.box}} : testsupport::Boxes{}));
        EXPECT_EQ(App().SaveDialogValuesOnExit(), c.record[138] == 1);
        EXPECT_EQ(App().RestrictPolarization(), c.record[140] == 1);
        // Only restoring the defaults forgets the default country file.
        EXPECT_EQ(App().DefaultCountryFile, c.record == DefaultBytes() ? "" : "uk.twn");
    }
}

TEST_F(SetUpTest, UnwritableSetupFileIsReportedAndTheRecordKept)
{
    platform::SetProgramDirectoryOverride(f.dir / "missing" / "folder");
    SetRecord("Acme", "10.00N");
    RunSetup([](platform::Dialog& d) { d.SetCheck(F::kAllSessions, 1), d.SetControlText(F::kCompany, "New"); },
             {platform::IDOK});
    ASSERT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{"Unable to open file", "Error writing file orbisco.cfg (check ob.exe write privileges)"}}));
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
    EXPECT_EQ(Current().Company(), "New");
    platform::SetProgramDirectoryOverride(f.dir.Path());
}

TEST_F(SetUpTest, HelpButtonAndFieldHelp)
{
    RunSetup([](platform::Dialog&) {}, {platform::IDHELP});
    EXPECT_EQ(help.topics, std::vector<int>{30});

    // A field of the form: its hint on focus, on F1 its entry on the form's page.
    F form(nullptr);
    help.requests.clear();
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.Control(F::kLatitude), &focus);
    EXPECT_EQ(f.app->Frame()->StatusText(), "Earth station latitude (0 to 90 degrees, suffix N or S)");
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Control(F::kLatitude), &f1);
    EXPECT_EQ(help.requests, (std::vector<std::pair<int, int>>{{30, F::kLatitude}}));
}

TEST_F(SetUpTest, ShortOrMissingSetupFileGivesTheNoticeAndTheDefaults)
{
    WriteText(Cfg(), std::string(100, 'A'));
    App().DefaultCountryFile = "uk.twn";
    setup::ReadConfiguration(App(), f.app->Client());
    // A missing "orbisco.dat" is silent.
    ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{"No setup file", "Substituting defaults"}}));
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONINFORMATION);
    EXPECT_TRUE(f.messages.calls[0].hasOwner);
    EXPECT_EQ(Record(), DefaultBytes());
    EXPECT_EQ(App().DefaultCountryFile, "");
    EXPECT_EQ(ReadText(Cfg()).size(), 100u);  // nothing written

    f.messages.calls.clear();
    std::filesystem::remove(Cfg());
    SetRecord("x", "1N");
    setup::ReadConfiguration(App(), f.app->Client());
    EXPECT_EQ(f.messages.Shown(), (testsupport::Boxes{{"No setup file", "Substituting defaults"}}));
    EXPECT_EQ(Record(), DefaultBytes());
}

// The placement file and the registry (or the registry's lock name) past
// their limit, not regular files, not the user's to use, or a lock held past
// the wait for it: each named once with what the session loses, neither
// read, waited on nor written through, and the start goes on.  Each row runs
// as a user without privileges, for root may use any file, in a program
// folder that root makes afresh below the test's own and then gives away.
TEST_F(SetUpTest, SettingsFilesThatMayNotBeUsedAreNamedAndLeftAlone)
{
    namespace fs = std::filesystem;
    const fs::path user = f.dir / "user";
    const fs::path ini = user / "orbisco.ini";
    const fs::path config = user / "config";
    const fs::path folder = config / "Orbiscope";
    const fs::path registry = folder / "registry.ini";
    const fs::path lock = folder / "registry.ini.lock";
    const std::string mru = "Software\\Orbiscope\\MRU";
    // The null device's numbers, in the test's own folder: a write through
    // a link to it would replace this node, never the system's.
    const fs::path node = f.dir / "node";
    const bool madeNode = ::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    // The unprivileged user may pass through the test's folder to its own.
    fs::permissions(f.dir.Path(), fs::perms(0711));
    platform::SetProgramDirectoryOverride(user);
    const auto tooLarge = [](const fs::path& p) {
        WriteText(p, "[Section]\n");
        fs::resize_file(p, platform::kMaxSettingsFileBytes + 1);
    };
    const auto fifo = [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); };
    // A lock left by a process that has ended, as Qt's lock file writes one.
    const auto leftLock = [&](mode_t mode) {
        WriteText(lock, "4000000\nhost\norbiscope\n");
        fs::permissions(lock, fs::perms(mode));
    };
    const auto hourOld = [](const fs::path& p) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::hours(1));
    };
    const auto kept = [&](mode_t mode) {
        ASSERT_TRUE(platform::Registry::WriteString(mru, "File1", "/kept.glb"));
        fs::permissions(registry, fs::perms(mode));
    };
    const std::string large = "\r\nThis file is larger than 1 MB, more than a settings file holds: ";
    const std::string odd = "\r\nThis is not a regular file (it may be a FIFO, a device, a folder or a broken link): ";
    const std::string unreadable = "\r\nYou may not read this file (it belongs to another user): ";
    const std::string unwritable = "\r\nYou may not write this file (it belongs to another user): ";
    const std::string yoursUnreadable = "\r\nYou may not read this file (its permissions do not let you): ";
    const std::string yoursUnwritable = "\r\nYou may not write this file (its permissions do not let you): ";
    const std::string noFolder = "\r\nYou may not write in this file's folder (it may belong to another user): ";
    const std::string noChain =
        "\r\nThis file's folder does not exist, and you may not make it (a folder above it may belong to another "
        "user): ";
    const std::string readOnly = "\r\nThis file's file system is mounted read-only: ";
    const std::string remount = "Mount its file system for writing to have them saved.";
    const std::string held = "\r\nThis lock was not let go within 2 seconds: it is held by another program, or "
                             "Orbiscope on another machine sharing this home: ";
    const std::string notRead = "the settings were not read, and ";
    const std::string place = "this session's window size and place will not be saved. ";
    const std::string listed = "this session's recent files, file folders and default country file will not be saved. ";
    const std::string shorten = "Remove the file, or shorten it, to have them saved.";
    const std::string replace = "Remove it, or put a regular file in its place, to have them saved.";
    // Removing a settings file loses what it holds: the remedy that keeps it
    // comes first.
    const std::string lose = ", or remove it and lose every setting in it, to have them saved.";
    // Another user's file the user may read, the user can make their own
    // alone, with every setting.
    const std::string own = "Make it yours, keeping every setting in it (copy it, remove it, and rename the copy to "
                            "its name), to have them saved.";
    const std::string makeReadable = "Make it readable and writable for you" + lose;
    const std::string makeWritable = "Make it writable for you" + lose;
    const std::string remove = "Remove it to have them saved.";
    const std::string makeFolder = "Make the folder yours to write in to have them saved.";
    const std::string makeAbove = "Make the nearest folder above it that exists yours to write in to have them saved.";
    const std::string removeHeld = "Remove it, once no other Orbiscope uses this home, to have them saved.";
    const std::string tooLargeBox = "File Too Large", oddBox = "Not A Regular File", deniedBox = "Access Denied",
                      lockedBox = "Settings Locked";
    struct Case {
        const char* name;
        std::function<void()> make;
        std::vector<fs::path> made;  // left exactly as they were; a FIFO among them last
        testsupport::Boxes boxes;
        std::optional<std::string> read = {};  // the recent file the registry still gives
        std::vector<fs::path> root = {};       // another user's: root's, made only by a run as root
        bool needsNode = false;
        bool readOnly = false;  // the registry's folder mounted read-only, in a run as root
        testsupport::Boxes atSave = {};  // named by the save that meets it, after those at the start
        platform::AtomicWriteFault fault = {};
    };
    const Case cases[] = {
        {"both past their limit", [&] { tooLarge(ini); tooLarge(registry); }, {ini, registry},
         {{tooLargeBox, ini.string() + large + notRead + place + shorten},
          {tooLargeBox, registry.string() + large + notRead + listed + shorten}}},
        {"the registry a FIFO, the placement file a folder", [&] { fifo(registry); fs::create_directory(ini); },
         {ini, registry},
         {{oddBox, ini.string() + odd + notRead + place + replace},
          {oddBox, registry.string() + odd + notRead + listed + replace}}},
        // The lock guards writes alone: the registry is still read.
        {"the registry's lock name a FIFO", [&] { kept(0644); fifo(lock); }, {lock},
         {{oddBox, lock.string() + odd + listed + remove}}, "/kept.glb"},
        {"the registry a link to a device", [&] { fs::create_symlink(node, registry); }, {registry},
         {{oddBox, registry.string() + odd + notRead + listed + replace}}, {}, {}, true},
        {"the registry's lock a leftover of the user's, mode 000", [&] { kept(0644); leftLock(0); }, {lock},
         {{deniedBox, lock.string() + yoursUnreadable + listed + remove}}, "/kept.glb"},
        {"the registry's lock left by root, mode 0600", [&] { leftLock(0600); }, {lock},
         {{deniedBox, lock.string() + unreadable + listed + remove}}, {}, {lock}},
        // A lock is removed only by one who may replace it.
        {"the registry's lock left by root, mode 0644", [&] { kept(0644); leftLock(0644); }, {lock},
         {{deniedBox, lock.string() + unwritable + listed + remove}}, "/kept.glb", {lock}},
        {"the registry the user's, mode 000", [&] { kept(0); }, {registry},
         {{deniedBox, registry.string() + yoursUnreadable + notRead + listed + makeReadable}}},
        {"the registry the user's, mode 0444", [&] { kept(0444); }, {registry},
         {{deniedBox, registry.string() + yoursUnwritable + listed + makeWritable}}, "/kept.glb"},
        {"the registry root's, mode 0644", [&] { kept(0644); }, {registry},
         {{deniedBox, registry.string() + unwritable + listed + own}}, "/kept.glb", {registry}},
        {"the placement file the user's, mode 000", [&] { WriteText(ini, "[Section]\n"); fs::permissions(ini, {}); },
         {ini}, {{deniedBox, ini.string() + yoursUnreadable + notRead + place + makeReadable}}},
        {"the registry's folder not the user's to write in",
         [&] { fs::permissions(folder, fs::perms(0555)); }, {folder},
         {{deniedBox, registry.string() + noFolder + listed + makeFolder}}},
        {"the placement file in a folder not the user's to write in",
         [&] { WriteText(ini, "[Section]\n"); fs::permissions(user, fs::perms(0555)); }, {ini, user},
         {{deniedBox, ini.string() + noFolder + place + makeFolder}}},
        // A home the user may not write in: the folders would have to be made.
        {"the registry's folder absent, the one above not the user's to write in",
         [&] { fs::remove(folder); fs::permissions(config, fs::perms(0555)); }, {config},
         {{deniedBox, registry.string() + noChain + listed + makeAbove}}},
        // Another machine sharing the home crashed while writing: its
        // process cannot be judged from here.
        {"the registry's lock another machine's, fresh",
         [&] { kept(0644); WriteText(lock, "4194301\norbiscope\nanother-host\n"); }, {lock},
         {{lockedBox, lock.string() + held + listed + removeHeld}}, "/kept.glb"},
        // A crash while writing leaves the lock: removed, and nothing else
        // opened for that (a lock's remover's name of earlier versions).
        {"the registry's lock left by this machine's process that has gone, a FIFO beside it",
         [&] {
             kept(0644);
             const std::string pidMax = ReadText("/proc/sys/kernel/pid_max");
             WriteText(lock, pidMax.substr(0, pidMax.find('\n')) + "\norbiscope\n" +
                                 QSysInfo::machineHostName().toStdString() + "\n");
             fifo(lock.string() + ".rmlock");
         },
         {fs::path(lock.string() + ".rmlock")}, {}, "/kept.glb"},
        // No one holds these, and no write holds a lock for an hour: a kill
        // between making a lock and writing its lines, another machine's
        // crash.
        {"the registry's lock empty and an hour old",
         [&] { kept(0644), WriteText(lock, ""), hourOld(lock); }, {user / "orbisco.cfg"}, {}, "/kept.glb"},
        {"the registry's lock another machine's, an hour old",
         [&] { kept(0644), WriteText(lock, "4194301\norbiscope\nanother-host\n"), hourOld(lock); },
         {user / "orbisco.cfg"}, {}, "/kept.glb"},
        {"the registry on a file system mounted read-only", [&] { kept(0644); }, {folder},
         {{deniedBox, registry.string() + readOnly + listed + remount}}, "/kept.glb", {}, false, true},
        // The system's refusal of a save, and a save the program would no
        // longer read: named, the file left as it was.
        {"the registry's disk full", [&] { kept(0644); }, {registry}, {}, "/kept.glb", {}, false, false,
         {{"Settings Not Saved", registry.string() + "\r\nThe system did not save this file (No space left on "
                                 "device): this session's recent files, file folders and default country file are "
                                 "not saved yet. Make room on its disk, or mend what the system names: the next "
                                 "change then saves them."}},
         [&](platform::AtomicWriteStep, const fs::path& target) { return target == registry ? ENOSPC : 0; }},
        {"the registry a few bytes short of its limit",
         [&] {
             WriteText(registry, "[Notes]\nfiller=" + std::string(platform::kMaxSettingsFileBytes - 20, 'x') + "\n");
         },
         {registry}, {}, {}, {}, false, false,
         {{tooLargeBox, registry.string() + "\r\nThis file would be larger than 1 MB, more than a settings file "
                                            "holds: " + listed + "Shorten it to have them saved."}}},
    };
    const auto kinds = [](const std::vector<fs::path>& names) {
        std::string k;
        for (const fs::path& n : names) {
            struct stat st {};
            ::lstat(n.c_str(), &st);
            k += std::to_string(int(fs::symlink_status(n).type())) + "/" + std::to_string(int(fs::status(n).type())) +
                 "/" + std::to_string(fs::is_regular_file(n) ? fs::file_size(n) : 0) + "/" +
                 std::to_string(st.st_mode) + "/" + std::to_string(st.st_uid) + " ";
        }
        return k;
    };
    // An unprivileged run may not empty folders it made 0555.
    const auto clear = [&] {
        std::error_code ec;
        if (!testfiles::RunningAsRoot())
            for (const fs::path& d : {user, config, folder}) fs::permissions(d, fs::perms(0755), ec);
        fs::remove_all(user);
    };
    for (const Case& c : cases) {
        if (c.needsNode && !madeNode) continue;  // an unprivileged run makes no device node
        // Another user's file is only made by a run as root.
        if (!c.root.empty() && !testfiles::RunningAsRoot()) continue;
        // Made afresh, so that root follows no name the last row's user made.
        clear();
        fs::create_directories(folder);
        platform::Registry::SetFolder(folder);
        App().SetProgramDir();
        WriteText(user / "orbisco.cfg", RecordBytes("Ours", "10.00N"));
        c.make();
        testfiles::GiveToUnprivilegedUser(user);
        for (const fs::path& n : c.root) ASSERT_EQ(::lchown(n.c_str(), 0, 0), 0) << c.name;
        const std::string before = kinds(c.made);
        f.messages.calls.clear();
        platform::SetAtomicWriteFault(c.fault);
        std::function<bool()> readOnlyMount;
        if (c.readOnly) readOnlyMount = [&] { return testfiles::MountReadOnlyHere(folder); };
        testfiles::AsUnprivilegedUser([&] {
            bool registryWritten = true, placementWritten = true;
            std::optional<std::string> read;
            EXPECT_FALSE(testfiles::WaitedOnFifo(c.made.back(), [&] {
                setup::ReadConfiguration(App(), f.app->Client());
                // Named at the start, not left to the first save to find.
                EXPECT_EQ(f.messages.Shown(), c.boxes) << c.name << ", as the configuration is read";
                read = platform::Registry::ReadString(mru, "File1");
                registryWritten = platform::Registry::WriteString(mru, "File1", "/a.glb");
                platform::Registry::RemoveLeftovers();
                placementWritten = WritePlacementFile(ini, WindowPlacement{});
            })) << c.name;
            testsupport::Boxes all = c.boxes;
            all.insert(all.end(), c.atSave.begin(), c.atSave.end());
            EXPECT_EQ(f.messages.Shown(), all) << c.name;
            EXPECT_EQ(read, c.read) << c.name;
            const bool registryRefused = std::any_of(c.made.begin(), c.made.end(), [&](const fs::path& n) {
                return n == registry || n == lock || n == folder || n == config;
            });
            EXPECT_NE(registryWritten, registryRefused) << c.name;
            EXPECT_EQ(placementWritten, c.made.front() != ini) << c.name;
            EXPECT_EQ(kinds(c.made), before) << c.name;
            EXPECT_EQ(Current().Company(), "Ours") << c.name;
        }, std::chrono::seconds(10), readOnlyMount);
        platform::SetAtomicWriteFault({});
    }
    clear();
    platform::SetProgramDirectoryOverride(f.dir.Path());
    platform::Registry::SetFolder(f.dir.Path() / "registry");
    App().SetProgramDir();
}

TEST_F(SetUpTest, WholeSetupFileIsTakenWithItsTextsTerminated)
{
    std::string bytes(142, 'X');
    bytes.replace(138, 4, std::string("\1\0\0\0", 4));
    WriteText(Cfg(), bytes);
    App().CurrentFileName = "left.glb";
    EXPECT_TRUE(setup::ReadSetupFile(App()));
    EXPECT_EQ(App().CurrentFileName, "");
    EXPECT_EQ(Current().Company(), std::string(70, 'X'));
    EXPECT_EQ(Current().SiteName(), std::string(40, 'X'));
    EXPECT_EQ(Current().Latitude(), std::string(12, 'X'));
    EXPECT_EQ(Current().Longitude(), std::string(12, 'X'));
    EXPECT_TRUE(App().SaveDialogValuesOnExit());
}

TEST_F(SetUpTest, ShortDialogValuesFileKeepsTheRecordsItHolds)
{
    // Records 1 to 32 end at byte 2994; 33 to 47 are read only when all of
    // 1 to 32 were, and keep their defaults otherwise.
    const std::string defaults = FormValues();
    for (const std::size_t size : {2994u, 2993u}) {
        SCOPED_TRACE(size);
        f.messages.calls.clear();
        std::copy(defaults.begin(), defaults.end(), f.app->FormValueTable.begin());
        WriteText(Cfg(), DefaultBytes());
        WriteText(f.dir / "orbisco.dat", Pattern(size));
        setup::ReadConfiguration(App(), f.app->Client());
        ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, "Error reading file - 'orbisco.dat'"}}));
        EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
        EXPECT_TRUE(f.messages.calls[0].hasOwner);
        EXPECT_EQ(FormValues().substr(0, size), Pattern(size));
        EXPECT_EQ(FormValues().substr(size), defaults.substr(size));
    }
}

TEST_F(SetUpTest, DialogValuesRoundTripThroughTheApplication)
{
    const auto data = Pattern(5980);
    WriteText(f.dir / "orbisco.dat", data);
    EXPECT_TRUE(setup::ReadFormValues(App()));
    EXPECT_EQ(FormValues(), data);
    std::filesystem::remove(f.dir / "orbisco.dat");

    // Written at exit only when the set-up option asks for it.
    App().SetUpRecord[138] = 0;
    EXPECT_TRUE(App().CanClose());
    EXPECT_FALSE(std::filesystem::exists(f.dir / "orbisco.dat"));
    App().SetUpRecord[138] = 1;
    EXPECT_TRUE(App().CanClose());
    EXPECT_EQ(ReadText(f.dir / "orbisco.dat"), data);

    // A missing file is no failure and leaves the values alone.
    std::filesystem::remove(f.dir / "orbisco.dat");
    EXPECT_TRUE(setup::ReadFormValues(App()));
    EXPECT_EQ(FormValues(), data);
}

// The end's save refused by the system with what the session kept still
// unsaved: after the box the session showed, the end says what ending loses;
// a Retry refused again asks again with the new reason, and a Retry once
// room is made saves it.
TEST_F(SetUpTest, TheEndsRefusedSaveSaysWhatItLosesAndOffersRetry)
{
    const std::filesystem::path registry = f.dir / "registry" / "registry.ini";
    const std::string country = "Software\\Orbiscope\\DefaultCountryFile";
    ASSERT_TRUE(platform::Registry::WriteString(country, "", "uk.twn"));
    setup::ReadConfiguration(App(), f.app->Client());
    // What the saves after each box meet; Retry at the end's boxes.
    const int script[] = {ENOSPC, EIO, 0};
    int failing = ENOSPC;
    platform::SetAtomicWriteFault([&](platform::AtomicWriteStep step, const std::filesystem::path& target) {
        return step == platform::AtomicWriteStep::Write && target == registry ? failing : 0;
    });
    f.messages.calls.clear();
    platform::SetMessageBoxSink([&](const platform::MessageBoxCall& call) {
        f.messages.calls.push_back(call);
        if (f.messages.calls.size() > std::size(script)) return platform::IDCANCEL;
        failing = script[f.messages.calls.size() - 1];
        return call.RetryCancel() ? platform::IDRETRY : platform::IDOK;
    });
    EXPECT_FALSE(platform::Registry::WriteString(country, "", "fr.twn"));
    App().DefaultCountryFile = "es.twn";
    EXPECT_TRUE(App().CanClose());
    platform::SetAtomicWriteFault({});
    platform::SetMessageBoxSink({});
    const std::string head = registry.string() + "\r\nThe system did not save this file (",
                      lost = "): this session's recent files, file folders and default country file ",
                      atEnd = "are lost if Orbiscope ends now. Make room on its disk, or mend what the system names, "
                              "then choose Retry to save them, or Cancel to end without them.";
    EXPECT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{"Settings Not Saved", head + "No space left on device" + lost +
                                                             "are not saved yet. Make room on its disk, or mend what "
                                                             "the system names: the next change then saves them."},
                                  {"Settings Not Saved", head + "No space left on device" + lost + atEnd},
                                  {"Settings Not Saved", head + "Input/output error" + lost + atEnd}}));
    EXPECT_EQ(f.messages.calls.back().flags, platform::MB_RETRYCANCEL | platform::MB_ICONEXCLAMATION);
    EXPECT_EQ(platform::Registry::ReadString(country, ""), "es.twn");
}

TEST_F(SetUpTest, SetupCommandIsBoundToTheClient)
{
    setup::RegisterSetUpCommand();
    SetRecord("Acme", "10.00N");
    platform::SetDialogDriver(F::kResourceId, [](platform::Dialog& d) {
        d.SetControlText(F::kCompany, "Routed");
        return platform::IDOK;
    });
    EXPECT_TRUE(App().Dispatch(orbiscope::CM_SETUP));
    EXPECT_EQ(Current().Company(), "Routed");
}

}  // namespace
