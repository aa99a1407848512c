// The set-up dialog and the configuration files read when the client is set
// up: the 148-byte transfer buffer, the close check, the three persistence
// buttons, and the notices of a short "orbisco.cfg" or "orbisco.dat".
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "framework/app/setup_form.h"
#include "tests/framework/app/gui_support.h"

namespace {

using F = TSetUpForm;

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> Pattern(std::size_t n)
{
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::uint8_t((i * 7 + 3) & 0xFF);
    return v;
}

std::vector<std::uint8_t> DefaultBytes()
{
    const SetUpRecord r = DefaultSetUpRecord();
    return {r.bytes.begin(), r.bytes.end()};
}

class SetUpTest : public ::testing::Test {
protected:
    SetUpTest()
    {
        platform::HelpViewer::SetSink([this](int id) {
            help.push_back(id);
            return true;
        });
        f.messages.calls.clear();
    }
    ~SetUpTest() override
    {
        platform::ClearDialogDrivers();
        TSetUpForm::SetSitePicker({});
    }
    TOrbiscope& App() { return *f.app; }
    QWidget* Client() { return f.app->Client(); }
    std::filesystem::path Cfg() const { return f.dir / "orbisco.cfg"; }
    std::vector<std::uint8_t> Record() const { return {f.app->SetUpRecord.begin(), f.app->SetUpRecord.end()}; }
    // A record of our own, so that the defaults are told apart from it.
    void SetRecord(const char* company, const char* site, const char* lat, const char* lon, int save, int tilt)
    {
        SetUpRecord r;
        r.SetCompany(company);
        r.SetSiteName(site);
        r.SetLatitude(lat);
        r.SetLongitude(lon);
        r.SetSaveDialogEntries(std::uint16_t(save));
        r.SetRestrictTilt(std::uint16_t(tilt));
        f.app->SetUpRecord = r.bytes;
    }
    // The dialog is answered by `script`: it sets the controls and names the
    // buttons to press in turn; once they are used up it cancels.
    void Drive(std::function<void(platform::Dialog&)> fill, std::vector<int> buttons)
    {
        auto step = std::make_shared<std::size_t>(0);
        platform::SetDialogDriver(F::kResourceId, [fill, buttons, step](platform::Dialog& d) {
            if (*step == 0) fill(d);
            return *step < buttons.size() ? buttons[(*step)++] : platform::IDCANCEL;
        });
    }

    testsupport::AppFixture f;
    std::vector<int> help;
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

TEST_F(SetUpTest, EditsTakeTheirFieldSizeLessOne)
{
    F form(nullptr);
    const std::pair<int, std::size_t> limits[] = {
        {F::kCompany, 70}, {F::kSiteName, 40}, {F::kLatitude, 12}, {F::kLongitude, 12}};
    for (const auto& [id, most] : limits) {
        form.SetControlText(id, std::string(100, '7'));
        EXPECT_EQ(form.GetControlText(id).size(), most) << id;
    }
}

TEST_F(SetUpTest, LatitudeOutOfRangeKeepsTheDialogOpen)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    const auto before = Record();
    Drive([](platform::Dialog& d) { d.SetControlText(F::kLatitude, "95N"); }, {platform::IDOK});
    setup::CmSetup(App(), Client());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    const auto& box = f.messages.calls[0];
    EXPECT_EQ(box.caption, "Range Error");
    EXPECT_EQ(box.text, "Site latitude\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S");
    EXPECT_EQ(box.Icon(), platform::MB_ICONEXCLAMATION);
    EXPECT_TRUE(box.hasOwner);
    // Cancelled afterwards: nothing changed, nothing written.
    EXPECT_EQ(Record(), before);
    EXPECT_FALSE(std::filesystem::exists(Cfg()));
}

struct CloseCase {
    const char* name;
    int field;
    const char* text;
    const char* caption;
    const char* message;
};

TEST_F(SetUpTest, CloseCheckOrderAndMessages)
{
    const CloseCase cases[] = {
        {"empty company", F::kCompany, "", "Empty Field Error", "Company name"},
        {"tilde in the name", F::kSiteName, "Here~There", "Invalid Character Error", "Site name"},
        {"empty site", F::kSiteName, "", "Empty Field Error", "Site name"},
        {"no suffix", F::kLatitude, "53.42", "Suffix Missing Error (N,S,E or W)", "Site latitude"},
        {"west in a latitude", F::kLatitude, "53.42W", "Invalid Character Error", "Site latitude"},
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
        ASSERT_EQ(f.messages.calls.size(), 1u) << c.name;
        EXPECT_EQ(f.messages.calls[0].caption, c.caption) << c.name;
        EXPECT_EQ(f.messages.calls[0].text, c.message) << c.name;
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

TEST_F(SetUpTest, RestoreDefaultsSkipsTheChecksAndWritesTheDefaultRecord)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 1, 1);
    App().DefaultCountryFile = "uk.twn";
    Drive(
        [](platform::Dialog& d) {
            d.SetControlText(F::kCompany, "");
            d.SetControlText(F::kLatitude, "north");
            d.SetCheck(F::kRestoreDefaults, 1);
        },
        {platform::IDOK});
    setup::CmSetup(App(), Client());
    EXPECT_TRUE(f.messages.calls.empty());
    EXPECT_EQ(Record(), DefaultBytes());
    EXPECT_EQ(ReadFile(Cfg()), DefaultBytes());
    EXPECT_EQ(ReadFile(Cfg()).size(), 142u);
    EXPECT_EQ(App().DefaultCountryFile, "");
}

TEST_F(SetUpTest, ThisSessionOnlyKeepsTheFileUntouched)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    Drive(
        [](platform::Dialog& d) {
            d.SetControlText(F::kLatitude, "53.5N");
            d.SetCheck(F::kSaveEntries, 1);
        },
        {platform::IDOK});
    setup::CmSetup(App(), Client());
    EXPECT_TRUE(f.messages.calls.empty());
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.Latitude(), "53.5N");
    EXPECT_EQ(r.Company(), "Acme");
    EXPECT_EQ(r.SaveDialogEntries(), 1);
    EXPECT_TRUE(App().SaveDialogValuesOnExit());
    EXPECT_FALSE(std::filesystem::exists(Cfg()));
}

TEST_F(SetUpTest, AllSessionsWritesTheRecordByteForByte)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    Drive(
        [](platform::Dialog& d) {
            d.SetCheck(F::kAllSessions, 1);
            d.SetControlText(F::kCompany, "Produced by \xC5ngstr\xF6m Ltd");
            d.SetControlText(F::kLongitude, "1.55W");
            d.SetCheck(F::kRestrictTilt, 1);
        },
        {platform::IDOK});
    setup::CmSetup(App(), Client());
    EXPECT_TRUE(f.messages.calls.empty());
    std::vector<std::uint8_t> expected(142, 0);
    std::memcpy(expected.data(), "Produced by \xC5ngstr\xF6m Ltd", 24);
    std::memcpy(expected.data() + 71, "Here", 4);
    std::memcpy(expected.data() + 112, "10.00N", 6);
    std::memcpy(expected.data() + 125, "1.55W", 5);
    expected[140] = 1;
    EXPECT_EQ(ReadFile(Cfg()), expected);
    EXPECT_EQ(Record(), expected);
    EXPECT_TRUE(App().RestrictPolarization());
}

TEST_F(SetUpTest, CancelChangesNothing)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 1, 0);
    const auto before = Record();
    Drive(
        [](platform::Dialog& d) {
            d.SetCheck(F::kAllSessions, 1);
            d.SetControlText(F::kCompany, "Other");
        },
        {platform::IDCANCEL});
    setup::CmSetup(App(), Client());
    EXPECT_EQ(Record(), before);
    EXPECT_FALSE(std::filesystem::exists(Cfg()));
}

TEST_F(SetUpTest, UnwritableSetupFileIsReportedAndTheRecordKept)
{
    platform::SetProgramDirectoryOverride(f.dir / "missing" / "folder");
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    Drive([](platform::Dialog& d) { d.SetCheck(F::kAllSessions, 1), d.SetControlText(F::kCompany, "New"); },
          {platform::IDOK});
    setup::CmSetup(App(), Client());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "Error writing file orbisco.cfg (check ob.exe write privileges)");
    EXPECT_EQ(f.messages.calls[0].caption, "Unable to open file");
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.Company(), "New");
    platform::SetProgramDirectoryOverride(f.dir.Path());
}

TEST_F(SetUpTest, SiteButtonTakesThePickedTown)
{
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    // Without a picker the button changes nothing.
    Drive([](platform::Dialog&) {}, {F::kSiteButton, platform::IDOK});
    setup::CmSetup(App(), Client());
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.SiteName(), "Here");

    int picks = 0;
    TSetUpForm::SetSitePicker([this, &picks](TForm&) {
        ++picks;
        std::strcpy(App().PickedSiteName, "Leeds, Northland");
        std::strcpy(App().PickedSiteLatitude, "53.80N");
        std::strcpy(App().PickedSiteLongitude, "1.55W");
        return picks == 1;  // the second run is cancelled
    });
    Drive([](platform::Dialog&) {}, {F::kSiteButton, platform::IDOK});
    setup::CmSetup(App(), Client());
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.SiteName(), "Leeds, Northland");
    EXPECT_EQ(r.Latitude(), "53.80N");
    EXPECT_EQ(r.Longitude(), "1.55W");

    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    Drive([](platform::Dialog&) {}, {F::kSiteButton, platform::IDOK});
    setup::CmSetup(App(), Client());
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.SiteName(), "Here");
    EXPECT_EQ(picks, 2);
}

TEST_F(SetUpTest, HelpButtonFieldHelpAndHints)
{
    Drive([](platform::Dialog&) {}, {platform::IDHELP});
    setup::CmSetup(App(), Client());
    EXPECT_EQ(help, std::vector<int>{30});

    F form(nullptr);
    const std::pair<int, const char*> hints[] = {
        {F::kCompany, "Company name to appear on printouts"},
        {F::kSiteName, "Name of earth station location"},
        {F::kLatitude, "Earth station latitude (0 to 90 degrees, suffix N or S)"},
        {F::kLongitude, "Earth station longitude (0 to 180 degrees, suffix E or W)"},
        {F::kThisSession, "Restricts persistence of Setup changes to current session"},
        {F::kAllSessions, "Save set-up changes for next use"},
        {F::kRestoreDefaults, "Restores the default Setup configuration"},
        {F::kSaveEntries, "Save, non-file based, form data when closing application"},
        {F::kRestrictTilt, "Restricts linear polarization to H=0 or V=90 degrees (ie not calculated)"},
    };
    for (const auto& [id, text] : hints) {
        help.clear();
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(form.Control(id), &focus);
        EXPECT_EQ(f.app->Frame()->StatusText(), text) << id;
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QCoreApplication::sendEvent(form.Control(id), &f1);
        EXPECT_EQ(help, std::vector<int>{id});
    }
}

TEST_F(SetUpTest, ShortSetupFileGivesTheNoticeAndTheDefaults)
{
    WriteFile(Cfg(), std::vector<std::uint8_t>(100, 'A'));
    App().DefaultCountryFile = "uk.twn";
    setup::ReadConfiguration(App(), Client());
    ASSERT_EQ(f.messages.calls.size(), 1u);  // a missing "orbisco.dat" is silent
    EXPECT_EQ(f.messages.calls[0].text, "Substituting defaults");
    EXPECT_EQ(f.messages.calls[0].caption, "No setup file");
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONINFORMATION);
    EXPECT_TRUE(f.messages.calls[0].hasOwner);
    EXPECT_EQ(Record(), DefaultBytes());
    EXPECT_EQ(App().DefaultCountryFile, "");
    EXPECT_EQ(ReadFile(Cfg()).size(), 100u);  // nothing written

    f.messages.calls.clear();
    std::filesystem::remove(Cfg());
    SetRecord("x", "y", "1N", "1E", 0, 0);
    setup::ReadConfiguration(App(), Client());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].caption, "No setup file");
    EXPECT_EQ(Record(), DefaultBytes());
}

TEST_F(SetUpTest, WholeSetupFileIsTakenWithItsTextsTerminated)
{
    std::vector<std::uint8_t> bytes(142, 'X');
    bytes[138] = 1, bytes[139] = 0, bytes[140] = 0, bytes[141] = 0;
    WriteFile(Cfg(), bytes);
    App().CurrentFileName = "left.glb";
    EXPECT_TRUE(setup::ReadSetupFile(App()));
    EXPECT_EQ(App().CurrentFileName, "");
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.Company(), std::string(70, 'X'));
    EXPECT_EQ(r.SiteName(), std::string(40, 'X'));
    EXPECT_EQ(r.Latitude(), std::string(12, 'X'));
    EXPECT_EQ(r.Longitude(), std::string(12, 'X'));
    EXPECT_TRUE(App().SaveDialogValuesOnExit());
}

TEST_F(SetUpTest, DialogValuesFileOfRecordsOneTo32Only)
{
    WriteFile(Cfg(), DefaultBytes());
    const std::vector<std::uint8_t> defaults(App().FormValueTable.begin(), App().FormValueTable.end());
    const auto data = Pattern(2994);
    WriteFile(f.dir / "orbisco.dat", data);
    setup::ReadConfiguration(App(), Client());
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "Error reading file - 'orbisco.dat'");
    EXPECT_EQ(f.messages.calls[0].caption, orbiscope::kMainTitle);
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
    EXPECT_TRUE(f.messages.calls[0].hasOwner);
    const std::vector<std::uint8_t> table(App().FormValueTable.begin(), App().FormValueTable.end());
    EXPECT_TRUE(std::equal(data.begin(), data.end(), table.begin()));
    EXPECT_TRUE(std::equal(defaults.begin() + 2994, defaults.end(), table.begin() + 2994));
}

TEST_F(SetUpTest, DialogValuesFileShortInRecord32)
{
    WriteFile(Cfg(), DefaultBytes());
    const std::vector<std::uint8_t> defaults(App().FormValueTable.begin(), App().FormValueTable.end());
    const auto data = Pattern(2993);
    WriteFile(f.dir / "orbisco.dat", data);
    EXPECT_FALSE(setup::ReadFormValues(App()));
    const std::vector<std::uint8_t> table(App().FormValueTable.begin(), App().FormValueTable.end());
    EXPECT_TRUE(std::equal(data.begin(), data.end(), table.begin()));
    EXPECT_EQ(table[2993], defaults[2993]);
    EXPECT_TRUE(std::equal(defaults.begin() + 2994, defaults.end(), table.begin() + 2994));
}

TEST_F(SetUpTest, DialogValuesRoundTripThroughTheApplication)
{
    const auto data = Pattern(5980);
    WriteFile(f.dir / "orbisco.dat", data);
    EXPECT_TRUE(setup::ReadFormValues(App()));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), App().FormValueTable.begin()));
    std::filesystem::remove(f.dir / "orbisco.dat");

    // Written at exit only when the set-up option asks for it.
    App().SetUpRecord[138] = 0;
    EXPECT_TRUE(App().CanClose());
    EXPECT_FALSE(std::filesystem::exists(f.dir / "orbisco.dat"));
    App().SetUpRecord[138] = 1;
    EXPECT_TRUE(App().CanClose());
    EXPECT_EQ(ReadFile(f.dir / "orbisco.dat"), data);

    // A missing file is no failure and leaves the values alone.
    std::filesystem::remove(f.dir / "orbisco.dat");
    EXPECT_TRUE(setup::ReadFormValues(App()));
    EXPECT_TRUE(std::equal(data.begin(), data.end(), App().FormValueTable.begin()));
}

TEST_F(SetUpTest, SetupCommandIsBoundToTheClient)
{
    setup::RegisterSetUpCommand();
    SetRecord("Acme", "Here", "10.00N", "20.00E", 0, 0);
    Drive([](platform::Dialog& d) { d.SetControlText(F::kCompany, "Routed"); }, {platform::IDOK});
    EXPECT_TRUE(App().Dispatch(orbiscope::CM_SETUP));
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.Company(), "Routed");
}

}  // namespace
