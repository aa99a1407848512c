// The satellite window and its editor: the report, the longitude order, the
// band text, the editor's limits and the form's checks.
#include "tests/framework/databases/db_support.h"

#include "platform/command.h"

namespace {

using dbtest::Presses;
using dbtest::Satellite;
using E = TSelGeoWin;
using G = TGeoForm;

// Box ids in band-table order: P L S C X Ku Ka Q/V other.
constexpr int kC = 454, kKu = 455, kOther = 461;

class SatelliteWinTest : public dbtest::DatabaseTest {
protected:
    void AnswerGeoForm(const char* name, const char* lon, std::vector<int> boxes)
    {
        platform::SetDialogDriver(G::kResourceId, Presses({platform::IDOK}, [=](platform::Dialog& d, int) {
                                      d.SetControlText(G::kName, name);
                                      d.SetControlText(G::kLongitude, lon);
                                      for (int id : G::kBandBoxes) d.SetCheck(id, 0);
                                      for (int id : boxes) d.SetCheck(id, 1);
                                  }));
    }
};

TEST_F(SatelliteWinTest, EmptyListIs48BytesAndOpensToItsTitle)
{
    TSatelliteWin* w = OpenSatellites("list.geo", {Satellite("Fleet West", 0, "")});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(std::filesystem::file_size(Dir() / "list.geo"), 48u);
    EXPECT_EQ(ReportLines(*w),
              (std::vector<std::string>{"Fleet West", Company() + "~", " ", "Satellite\tLong.\tBands~", " "}));
    ASSERT_EQ(w->TabStops.size(), 2u);
    EXPECT_EQ(w->TabStops[0] * 7, w->TabStops[1] * 5);
    EXPECT_EQ(w->HeadingFont.face, "Courier New");
}

TEST_F(SatelliteWinTest, AddedSatellitesRunWestToEast)
{
    TSatelliteWin* w = OpenSatellites("list.geo", {Satellite("Satellite List", 0, "")});
    std::vector<std::string> list;
    int selected = -1;
    platform::SetDialogDriver(E::kResourceId,
                              Presses({E::kAdd, E::kAdd, E::kAdd, E::kDone}, [&](platform::Dialog& d, int step) {
                                  if (step == 0) AnswerGeoForm("Alpha", "19.2E", {kC});
                                  if (step == 1) AnswerGeoForm("Beta", "13.0E", {kKu});
                                  if (step == 2) AnswerGeoForm("Gamma", "30.0W", {kC, kKu});
                                  if (step == 3) list = ListLines(d, E::kList), selected = d.ListSelIndex(E::kList);
                              }));
    platform::SendCommand(w, TSatelliteWin::kEditCommand);
    EXPECT_EQ(list, (std::vector<std::string>{"Gamma (30.00W)", "Beta (13.00E)", "Alpha (19.20E)"}));
    EXPECT_EQ(selected, 0);   // the line of the satellite added last
    const auto lines = ReportLines(*w);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "Gamma             \t 30.00W\tC,Ku              ");
    EXPECT_EQ(lines[6], "Beta              \t 13.00E\tKu                ");
    EXPECT_EQ(lines[7], "Alpha             \t 19.20E\tC                 ");
    EXPECT_TRUE(w->Changed);

    // A save that fails is said once, by the save; the list stays changed.
    const std::string bad = (Dir() / "no-such-folder" / "out.geo").string();
    f.messages.calls.clear();
    platform::QueueFileDialogAnswer({{bad}});
    EXPECT_FALSE(w->SaveAs());
    EXPECT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{orbiscope::kMainTitle, "Unable to write file " + bad + " to disk."}}));
    EXPECT_TRUE(w->Changed);

    ASSERT_TRUE(w->SaveFile((Dir() / "out.geo").c_str()));
    const auto bytes = dbtest::ReadBytes(Dir() / "out.geo");
    ASSERT_EQ(bytes.size(), 4u + 44u * 4u);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 4 + 44 + 24), "C,Ku");
    float lon = 0;
    std::memcpy(&lon, bytes.data() + 4 + 44 + 20, 4);
    EXPECT_EQ(lon, -30.0f);
}

TEST_F(SatelliteWinTest, ModifyTicksExactlyTheStoredBands)
{
    TSatelliteWin* w = OpenSatellites("list.geo", {Satellite("List", 0, ""), Satellite("Alpha", 19.2f, "C,Ku")});
    std::vector<int> ticked;
    std::string lon;
    platform::SetDialogDriver(G::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  for (int id : G::kBandBoxes)
                                      if (d.GetCheck(id)) ticked.push_back(id);
                                  lon = d.GetControlText(G::kLongitude);
                                  d.SetCheck(kOther, 1);
                              }));
    platform::SetDialogDriver(E::kResourceId, Presses({E::kModify, E::kDone}));
    platform::SendCommand(w, TSatelliteWin::kEditCommand);
    EXPECT_EQ(ticked, (std::vector<int>{kC, kKu}));
    EXPECT_EQ(lon, "19.20E");
    EXPECT_EQ(RecordText(w->Records[1].bands), "C,Ku,?");
}

TEST_F(SatelliteWinTest, FullListRefusesAddAndEmptyListHasNothingToEdit)
{
    std::vector<SatelliteRecord> records = {Satellite("List", 0, "")};
    for (int i = 1; i <= 999; ++i) records.push_back(Satellite("S", float(i % 360 - 180), "C"));
    TSatelliteWin* full = OpenSatellites("full.geo", records);
    ASSERT_EQ(full->SatelliteCount, 999);
    platform::SetDialogDriver(E::kResourceId, Presses({E::kAdd, E::kDone}));
    platform::SendCommand(full, TSatelliteWin::kEditCommand);
    EXPECT_EQ(f.messages.Shown(), (testsupport::Boxes{{"Add Record", "Too many records"}}));

    f.messages.calls.clear();
    TSatelliteWin* empty = OpenSatellites("empty.geo", {Satellite("List", 0, "")});
    platform::SetDialogDriver(E::kResourceId, Presses({E::kModify, E::kDelete, E::kDone}));
    platform::SendCommand(empty, TSatelliteWin::kEditCommand);
    EXPECT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{"Modify Record", "No record to modify"}, {"Delete Record", "No record to delete"}}));
}

TEST_F(SatelliteWinTest, DeleteMovesTheLaterRecordsDown)
{
    TSatelliteWin* w = OpenSatellites("list.geo", {Satellite("List", 0, ""), Satellite("A", -10, "C"),
                                                   Satellite("B", 0, "C"), Satellite("C", 10, "C")});
    platform::SetDialogDriver(E::kResourceId, Presses({E::kDelete, E::kDone}, [&](platform::Dialog& d, int step) {
                                  if (step == 0) d.ListSetSelIndex(E::kList, 0);
                              }));
    platform::SendCommand(w, TSatelliteWin::kEditCommand);
    ASSERT_EQ(w->SatelliteCount, 2);
    EXPECT_EQ(RecordText(w->Records[1].name), "B");
    EXPECT_EQ(RecordText(w->Records[2].name), "C");
    EXPECT_TRUE(w->Changed);
}

TEST_F(SatelliteWinTest, GeoFormChecksNameLongitudeAndBands)
{
    struct Case {
        const char* name;
        const char* lon;
        std::vector<int> boxes;
        const char* caption;   // "" when the form closes
        const char* text;
    };
    const std::vector<int> all(std::begin(G::kBandBoxes), std::end(G::kBandBoxes));
    const Case cases[] = {
        {"", "19.2E", {kC}, "Empty Field Error", "Satellite name"},
        {"Alpha", "181E", {kC}, "Range Error",
         "Satellite longitude\r\nRange 0.000000 to 180.000000 \xB0W,\xB0" "E"},
        {"Alpha", "19.2N", {kC}, "Invalid Character Error", "Satellite longitude"},
        {"Alpha", "19.2E", {}, "Check Box Error", "No Active Band selected"},
        {"Alpha", "19.2E", all, "Check Box Error", "Too many bands selected: clear one of them"},
        {"Alpha", "19.2E", {457, 458, 453, 454, 459, 455, 456, 460}, "", ""},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        std::uint8_t buffer[G::kTransferSize] = {};
        TGeoForm form(nullptr, "Add Satellite Record");
        form.SetTransferBuffer(buffer, sizeof buffer);
        form.SetupWindow();
        form.SetControlText(G::kName, c.name);
        form.SetControlText(G::kLongitude, c.lon);
        for (int id : c.boxes) form.SetCheck(id, 1);
        const bool closes = *c.caption == '\0';
        EXPECT_EQ(form.CanClose(), closes) << c.text;
        if (closes) {
            EXPECT_TRUE(f.messages.calls.empty());
            continue;
        }
        ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{c.caption, c.text}})) << c.text;
        EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);
    }
}

TEST_F(SatelliteWinTest, GeoFormTransferLayoutFollowsTheBandTable)
{
    const auto table = G::ControlTable();
    EXPECT_EQ(platform::TransferSize(table), 50u);
    EXPECT_EQ(platform::TransferOffset(table, G::kLongitude), 19);
    const int expected[] = {457, 458, 453, 454, 459, 455, 456, 460, 461};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(platform::TransferOffset(table, expected[i]), 32 + 2 * i) << expected[i];
}

}  // namespace
