// The country window and its town editor, driven through the dialog scripts:
// the report, the sorted records, the editor's limits and messages, and the
// file the window saves.
#include "tests/framework/databases/db_support.h"

#include <cstring>

#include "platform/command.h"

namespace {

using dbtest::Presses;
using dbtest::Town;
using E = TSelCityWin;
using C = TCityForm;

class CountryWinTest : public dbtest::DatabaseTest {
protected:
    // The city form answers with these texts and OK.
    void AnswerCityForm(const char* name, const char* lat, const char* lon)
    {
        platform::SetDialogDriver(C::kResourceId, Presses({platform::IDOK}, [=](platform::Dialog& d, int) {
                                      d.SetControlText(C::kName, name);
                                      d.SetControlText(C::kLatitude, lat);
                                      d.SetControlText(C::kLongitude, lon);
                                  }));
    }
    std::vector<std::string> Names(const TCountryWin& w) const
    {
        std::vector<std::string> names;
        for (int i = 1; i <= w.TownCount; ++i) names.push_back(RecordText(w.Records[std::size_t(i)].name));
        return names;
    }
};

TEST_F(CountryWinTest, EmptyCountryOpensToItsHeadLines)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0)});
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(f.messages.calls.empty());
    EXPECT_EQ(w->TownCount, 0);
    EXPECT_FALSE(w->Changed);
    EXPECT_EQ(ReportLines(*w), (std::vector<std::string>{"Towns & Cities: Northland", Company() + "~", " ",
                                                        "Town or City\tLat(d.m)\tLong(d.m)\tLat(d)\tLong(d)~", " "}));
    EXPECT_EQ(w->FileName(), (Dir() / "north.twn").string());
    // Courier New, the body at weight 300; tab stops at 20, 30, 50 and 60 characters.
    EXPECT_EQ(w->BodyFont.face, "Courier New");
    EXPECT_EQ(w->BodyFont.weight, 300);
    ASSERT_EQ(w->TabStops.size(), 4u);
    EXPECT_EQ(w->TabStops[3], 3 * w->TabStops[0]);
    EXPECT_EQ(w->TabStops[1] * 2, w->TabStops[0] * 3);
}

TEST_F(CountryWinTest, FilesTheWindowsCannotTakeDoNotOpen)
{
    // The picker takes a later country version; the window does not.
    std::string v1067 = TownFileBytes({Town("N", 0, 0)}), shortFile = v1067;
    v1067[0] = char(0x2B);
    shortFile.pop_back();
    std::string v1994 = SatelliteFileBytes({dbtest::Satellite("List", 0, "")});
    v1994[0] = char(0xCA);
    const std::pair<const char*, std::string> cases[] = {{"bad.twn", v1067}, {"short.twn", shortFile}, {"bad.geo", v1994}};
    for (const auto& [name, bytes] : cases) {
        f.messages.calls.clear();
        dbtest::WriteBytes(Dir() / name, bytes);
        TMyWindow* w = Open(Dir() / name);
        ASSERT_NE(w, nullptr) << name;
        ASSERT_EQ(f.messages.calls.size(), 1u) << name;
        EXPECT_EQ(f.messages.calls[0].text, "Cannot read file " + (Dir() / name).string());
        EXPECT_FALSE(w->HasFileName()) << name;
        EXPECT_EQ(w->Lines(), 0) << name;
    }
}

TEST_F(CountryWinTest, AddingLeedsSortsTheTownsAndReportsBothForms)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("aberdeen", 57.09f, -2.06f),
                                               Town("York", 53.58f, -1.05f)});
    ASSERT_NE(w, nullptr);
    AnswerCityForm("Leeds", "53.48N", "1.33W");
    int selected = -1;
    platform::SetDialogDriver(E::kResourceId, Presses({E::kAdd, E::kDone}, [&](platform::Dialog& d, int step) {
                                  if (step == 1) selected = d.ListSelIndex(E::kList);
                              }));
    platform::SendCommand(w, TCountryWin::kEditCommand);

    EXPECT_EQ(Names(*w), (std::vector<std::string>{"aberdeen", "Leeds", "York"}));
    EXPECT_EQ(w->Records[2].latitude, 53.48f);
    EXPECT_EQ(w->Records[2].longitude, -1.33f);
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(w->Changed);
    const auto lines = ReportLines(*w);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[6], "Leeds\t53.48N\t  1.33W\t53.80N\t  1.55W");
    EXPECT_TRUE(f.messages.calls.empty());

    // Saved, the file holds the three towns in their new order.
    ASSERT_TRUE(w->SaveFile((Dir() / "saved.twn").c_str()));
    EXPECT_FALSE(w->Changed);
    const auto bytes = dbtest::ReadBytes(Dir() / "saved.twn");
    ASSERT_EQ(bytes.size(), 4u + 28u * 4u);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 4 + 28 * 2), "Leeds");
    float lat = 0;
    std::memcpy(&lat, bytes.data() + 4 + 28 * 2 + 20, 4);
    EXPECT_EQ(lat, 53.48f);
}

TEST_F(CountryWinTest, DuplicateNameIsNotedAndAddedAllTheSame)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("York", 53.58f, -1.05f)});
    AnswerCityForm("York", "53.58N", "1.05W");
    platform::SetDialogDriver(E::kResourceId, Presses({E::kAdd, E::kDone}));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{"Duplicate Town/City", "York"}}));
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONINFORMATION);
    EXPECT_EQ(Names(*w), (std::vector<std::string>{"York", "York"}));
}

TEST_F(CountryWinTest, FullCountryRefusesAddAndReopensWhole)
{
    std::vector<TownRecord> records = {Town("Northland", 0, 0)};
    for (int i = 1; i <= 1999; ++i) records.push_back(Town(("T" + std::to_string(1000 + i)).c_str(), 1.0f, 2.0f));
    TCountryWin* w = OpenCountry("full.twn", records);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->TownCount, 1999);
    EXPECT_EQ(w->Lines(), 5 + 1999);
    platform::SetDialogDriver(E::kResourceId, Presses({E::kAdd, E::kDone}));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    EXPECT_EQ(f.messages.Shown(), (testsupport::Boxes{{"Add Record", "Too many records"}}));
    EXPECT_EQ(w->TownCount, 1999);
    EXPECT_FALSE(w->Changed);
    ASSERT_TRUE(w->SaveFile((Dir() / "again.twn").c_str()));
    EXPECT_EQ(dbtest::ReadBytes(Dir() / "again.twn"), dbtest::ReadBytes(Dir() / "full.twn"));
}

TEST_F(CountryWinTest, DeletingTheLastTownSelectsTheNewLastLine)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("A", 1, 1), Town("B", 2, 2),
                                               Town("C", 3, 3)});
    std::vector<std::string> list;
    int selected = -1;
    platform::SetDialogDriver(E::kResourceId,
                              Presses({E::kDelete, E::kDone}, [&](platform::Dialog& d, int step) {
                                  if (step == 0) d.ListSetSelIndex(E::kList, 2);
                                  if (step == 1) list = ListLines(d, E::kList), selected = d.ListSelIndex(E::kList);
                              }));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    EXPECT_EQ(list, (std::vector<std::string>{"A (1.00N,1.00E)", "B (2.00N,2.00E)"}));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(w->TownCount, 2);
    EXPECT_TRUE(w->Changed);
    EXPECT_TRUE(f.messages.calls.empty());   // deleting asks nothing
}

TEST_F(CountryWinTest, DeletingTheOnlyTownLeavesAnEmptyListAndReport)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("Only", 1, 1)});
    int count = -1;
    platform::SetDialogDriver(E::kResourceId, Presses({E::kDelete, E::kModify, E::kDelete, E::kDone},
                                                      [&](platform::Dialog& d, int step) {
                                                          if (step == 1) count = d.ListCount(E::kList);
                                                      }));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(w->TownCount, 0);
    EXPECT_EQ(w->Lines(), 5);
    ASSERT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{"Modify Record", "No record to modify"}, {"Delete Record", "No record to delete"}}));
    EXPECT_EQ(f.messages.calls[1].Icon(), platform::MB_ICONEXCLAMATION);
}

TEST_F(CountryWinTest, ModifyShowsTheStoredFiguresAndReplacesTheRecord)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("Leeds", 53.48f, -1.33f),
                                               Town("York", 53.58f, -1.05f)});
    std::vector<std::string> shown;
    platform::SetDialogDriver(C::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  shown = {d.GetControlText(C::kName), d.GetControlText(C::kLatitude),
                                           d.GetControlText(C::kLongitude), d.windowTitle().toStdString()};
                                  d.SetControlText(C::kName, "Zeals");
                              }));
    // The double click on the first line runs Modify.
    platform::SetDialogDriver(E::kResourceId, Presses({E::kDone}, [&](platform::Dialog& d, int step) {
                                  if (step == 0) DoubleClick(d, E::kList, 0);
                              }));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    EXPECT_EQ(shown, (std::vector<std::string>{"Leeds", "53.48N", "1.33W", "Modify Town/City Record"}));
    EXPECT_EQ(Names(*w), (std::vector<std::string>{"York", "Zeals"}));
    EXPECT_TRUE(w->Changed);
}

TEST_F(CountryWinTest, EditCountryNameRetitlesTheReport)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0)});
    std::string shown;
    platform::SetDialogDriver(TNameForm::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  shown = d.GetControlText(TNameForm::kName);
                                  d.SetControlText(TNameForm::kName, "Southland");
                              }));
    platform::SetDialogDriver(E::kResourceId, Presses({E::kEditCountryName, E::kDone}));
    platform::SendCommand(w, TCountryWin::kEditCommand);
    EXPECT_EQ(shown, "Northland");
    EXPECT_EQ(w->CountryName(), "Southland");
    EXPECT_EQ(ReportLines(*w)[0], "Towns & Cities: Southland");
    EXPECT_TRUE(w->Changed);
}

TEST_F(CountryWinTest, CityFormChecksItsFieldsInOrder)
{
    struct Case { const char* name; const char* lat; const char* lon; const char* caption; const char* text; };
    const Case cases[] = {
        {"", "53.48N", "1.33W", "Empty Field Error", "Town/City name"},
        {"A~B", "53.48N", "1.33W", "Invalid Character Error", "Town/City name"},
        {"Leeds", "53.65N", "1.33W", "Range Error", "Town/City latitude (min<60)\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S"},
        {"Leeds", "91.00N", "1.33W", "Range Error", "Town/City latitude (min<60)\r\nRange 0.000000 to 90.000000 \xB0N,\xB0S"},
        {"Leeds", "53.48", "1.33W", "Suffix Missing Error (N,S,E or W)", "Town/City latitude (min<60)"},
        {"Leeds", "53.48N", "1.60W", "Range Error",
         "Town/City longitude (min<60)\r\nRange 0.000000 to 180.000000 \xB0W,\xB0" "E"},
        {"Leeds", "53.48N", "1.33N", "Invalid Character Error", "Town/City longitude (min<60)"},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        std::uint8_t buffer[C::kTransferSize] = {};
        TCityForm form(nullptr, "Add Town/City Record");
        form.SetTransferBuffer(buffer, sizeof buffer);
        form.SetupWindow();
        form.SetControlText(C::kName, c.name);
        form.SetControlText(C::kLatitude, c.lat);
        form.SetControlText(C::kLongitude, c.lon);
        EXPECT_FALSE(form.CanClose()) << c.text;
        EXPECT_EQ(f.messages.Shown(), (testsupport::Boxes{{c.caption, c.text}})) << c.text;
    }
}

TEST_F(CountryWinTest, CityFormLayoutClearAndHelp)
{
    EXPECT_EQ(platform::TransferSize(C::ControlTable()), 45u);
    EXPECT_EQ(platform::TransferOffset(C::ControlTable(), C::kLatitude), 19);
    EXPECT_EQ(platform::TransferOffset(C::ControlTable(), C::kLongitude), 32);
    EXPECT_EQ(platform::TransferSize(TNameForm::ControlTable()), 19u);
    std::uint8_t buffer[C::kTransferSize];
    std::memset(buffer, 'x', sizeof buffer);
    TCityForm form(nullptr, "Add Town/City Record");
    form.SetTransferBuffer(buffer, sizeof buffer);
    form.SetupWindow();
    form.OnButton(C::kClear);
    EXPECT_EQ(form.GetControlText(C::kName), "");
    EXPECT_EQ(std::count(std::begin(buffer), std::end(buffer), 0), 45);
    form.OnButton(platform::IDHELP);
    EXPECT_EQ(help.topics, std::vector<int>{560});
}

// After Add or Modify the selection marks the record added or modified at
// its sorted place, in both editors, wherever it lands; Delete, which asks
// nothing, then removes that record and no other.
TEST_F(CountryWinTest, DeleteAfterAddOrModifyRemovesThatRecord)
{
    struct Row {
        bool towns;
        int button;
        const char* name;
        const char* coordinate;  // the town's latitude, the satellite's longitude
        const char* lands;
    };
    const Row rows[] = {
        {true, E::kModify, "Aston", "51.30N", "before"},  {true, E::kModify, "Zeals", "51.30N", "after"},
        {true, E::kModify, "Otley", "51.30N", "in place"}, {true, E::kAdd, "Leed", "53.00N", "before a longer name"},
        {false, E::kModify, "B", "20.0W", "before"},       {false, E::kModify, "B", "30.0E", "after"},
        {false, E::kModify, "B", "5.0E", "in place"},      {false, E::kAdd, "A", "20.0W", "before its namesake"},
    };
    const std::vector<TownRecord> towns = {Town("Northland", 0, 0), Town("Leeds", 53.48f, -1.33f),
                                           Town("Oxford", 51.45f, -1.15f), Town("York", 53.58f, -1.05f)};
    const std::vector<SatelliteRecord> satellites = {dbtest::Satellite("List", 0, ""), dbtest::Satellite("A", -10, "C"),
                                                     dbtest::Satellite("B", 0, "Ku"), dbtest::Satellite("C", 10, "C")};
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.towns ? "towns, " : "satellites, ") + (r.button == E::kAdd ? "Add " : "Modify ") +
                     r.lands);
        const std::string file = "list" + std::to_string(++n) + (r.towns ? ".twn" : ".geo");
        const int form = r.towns ? C::kResourceId : TGeoForm::kResourceId;
        platform::SetDialogDriver(form, Presses({platform::IDOK}, [&r](platform::Dialog& d, int) {
                                      d.SetControlText(r.towns ? int(C::kName) : int(TGeoForm::kName), r.name);
                                      d.SetControlText(r.towns ? int(C::kLatitude) : int(TGeoForm::kLongitude),
                                                       r.coordinate);
                                      if (r.towns) d.SetControlText(C::kLongitude, "1.33W");
                                      else d.SetCheck(TGeoForm::kBandBoxes[3], 1);
                                  }));
        const int list = r.towns ? int(E::kList) : int(TSelGeoWin::kList);
        platform::SetDialogDriver(r.towns ? E::kResourceId : TSelGeoWin::kResourceId,
                                  Presses({r.button, E::kDelete, E::kDone}, [list](platform::Dialog& d, int step) {
                                      if (step == 0) d.ListSetSelIndex(list, 1);  // the middle record
                                  }));
        TMyWindow* w = r.towns ? static_cast<TMyWindow*>(OpenCountry(file.c_str(), towns))
                               : OpenSatellites(file.c_str(), satellites);
        ASSERT_NE(w, nullptr);
        platform::SendCommand(w, r.towns ? TCountryWin::kEditCommand : TSatelliteWin::kEditCommand);
        ASSERT_TRUE(w->SaveFile((Dir() / file).c_str()));
        // Every other record, byte for byte: a modified record goes, an added one never stays.
        const std::vector<std::size_t> kept = r.button == E::kAdd ? std::vector<std::size_t>{0, 1, 2, 3}
                                                                  : std::vector<std::size_t>{0, 1, 3};
        std::vector<TownRecord> keptTowns;
        std::vector<SatelliteRecord> keptSatellites;
        for (std::size_t i : kept) keptTowns.push_back(towns[i]), keptSatellites.push_back(satellites[i]);
        const std::string left = r.towns ? TownFileBytes(keptTowns) : SatelliteFileBytes(keptSatellites);
        EXPECT_EQ(dbtest::ReadBytes(Dir() / file), std::vector<std::uint8_t>(left.begin(), left.end()));
    }
}

// A new country or satellite list opens its editor on an empty table; neither
// window offers the report's output commands, both always offer the editor.
TEST_F(CountryWinTest, NewPlaceWindowsRunTheirEditorAndOfferNoReportOutput)
{
    struct Case { int type, editCommand, editor, list; const char* title; };
    const Case cases[] = {{TCountryWin::kWindowType, TCountryWin::kEditCommand, E::kResourceId, E::kList, ""},
                          {TSatelliteWin::kWindowType, TSatelliteWin::kEditCommand, TSelGeoWin::kResourceId,
                           TSelGeoWin::kList, "Satellite List"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        int runs = 0, lines = -1;
        platform::SetDialogDriver(c.editor, Presses({E::kDone}, [&](platform::Dialog& d, int) {
                                      ++runs;
                                      lines = d.ListCount(c.list);
                                  }));
        f.app->Client()->CmNewDocument(c.type);
        QCoreApplication::processEvents();
        EXPECT_EQ(runs, 1);
        EXPECT_EQ(lines, 0);
        TMyWindow* w = f.app->Client()->ActiveDocumentChild()->Document();
        EXPECT_EQ(w->WindowType(), c.type);
        EXPECT_FALSE(w->HasFileName());
        auto* country = dynamic_cast<TCountryWin*>(w);
        auto* satellites = dynamic_cast<TSatelliteWin*>(w);
        EXPECT_EQ(country ? country->CountryName() : satellites->ListTitle(), c.title);
        for (int id : {6019, 6020, 24337, 24338, 24340, 24323})
            EXPECT_FALSE(platform::CommandEnabledOn({w, f.app->Client()}, id)) << id;
        EXPECT_TRUE(platform::CommandEnabledOn({w}, c.editCommand));
        EXPECT_EQ(App().PendingWindowType, c.type);
    }
}

TEST_F(CountryWinTest, UnwritableFileIsReportedAndNothingIsLost)
{
    TCountryWin* w = OpenCountry("north.twn", {Town("Northland", 0, 0), Town("A", 1, 1)});
    const std::string target = (Dir() / "no-such-folder" / "x.twn").string();
    platform::QueueFileDialogAnswer({{target}});
    EXPECT_FALSE(w->SaveAs());
    // Said once, by the save.
    EXPECT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{orbiscope::kMainTitle, "Unable to write file " + target + " to disk."}}));
    EXPECT_EQ(w->TownCount, 1);
    EXPECT_EQ(w->FileName(), (Dir() / "north.twn").string());
}

}  // namespace
