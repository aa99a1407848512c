// The town, country and satellite pickers over a temporary program
// directory: what they list, what they leave in the application object, and
// when they answer Cancel.
#include "tests/framework/databases/db_support.h"

#include <QListWidget>
#include <cstring>

#include "framework/databases/pickers.h"

namespace {

using dbtest::Presses;
using dbtest::Satellite;
using dbtest::Town;

class PickerTest : public dbtest::DatabaseTest {
protected:
    void WriteCountry(const char* file, const std::vector<TownRecord>& records)
    {
        dbtest::WriteBytes(Dir() / file, TownFileBytes(records));
    }
    void WriteSatList(const std::vector<SatelliteRecord>& records)
    {
        dbtest::WriteBytes(Dir() / "satlist.geo", SatelliteFileBytes(records));
    }
    // The country selector picks the line that reads `file` and confirms.
    void ChooseCountry(const char* file, std::vector<std::string>* listed = nullptr, int* preselected = nullptr)
    {
        platform::SetDialogDriver(TGetCountryDlg::kResourceId,
                                  Presses({platform::IDOK}, [this, file, listed, preselected](platform::Dialog& d, int) {
                                      if (listed) *listed = ListLines(d, TGetCountryDlg::kList);
                                      if (preselected) *preselected = d.ListSelIndex(TGetCountryDlg::kList);
                                      for (int i = 0; i < d.ListCount(TGetCountryDlg::kList); ++i)
                                          if (d.ListString(TGetCountryDlg::kList, i) == file)
                                              d.ListSetSelIndex(TGetCountryDlg::kList, i);
                                  }));
    }
    void SetPickedSite(const char* name)
    {
        std::strcpy(App().PickedSiteName, name);
        std::strcpy(App().PickedSiteLatitude, "1.00N");
        std::strcpy(App().PickedSiteLongitude, "1.00E");
        std::strcpy(App().PickedSiteAltitude, "0");
    }
};

TEST_F(PickerTest, TownIsListedAsHeldAndPickedInDecimalDegrees)
{
    WriteCountry("Northland.twn", {Town("Northland", 0, 0), Town("Here", 51.30f, -0.10f), Town("Leeds", 53.48f, -1.33f)});
    std::vector<std::string> towns;
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  towns = ListLines(d, TGetTownDlg::kList);
                              }));
    ChooseCountry("Northland.twn");
    ASSERT_TRUE(databases::PickTown(nullptr));
    EXPECT_EQ(towns, (std::vector<std::string>{"Here (51.30N,0.10W)", "Leeds (53.48N,1.33W)"}));
    EXPECT_STREQ(App().PickedSiteName, "Here, Northland");
    EXPECT_STREQ(App().PickedSiteLatitude, "51.50N");
    EXPECT_STREQ(App().PickedSiteLongitude, "0.17W");
    EXPECT_STREQ(App().PickedSiteAltitude, "AUTO");
    EXPECT_EQ(App().SelectedCountryFile, "Northland.twn");
    EXPECT_EQ(App().DefaultCountryFile, "Northland.twn");
    EXPECT_TRUE(f.messages.calls.empty());
}

TEST_F(PickerTest, DoubleClickPicksTheTownAndConfirms)
{
    WriteCountry("Northland.twn", {Town("Northland", 0, 0), Town("Here", 51.30f, -0.10f), Town("Leeds", 53.48f, -1.33f)});
    ChooseCountry("Northland.twn");
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({}, [&](platform::Dialog& d, int) {
                                  DoubleClick(d, TGetTownDlg::kList, 1);
                                  QCoreApplication::processEvents();
                              }));
    ASSERT_TRUE(databases::PickTown(nullptr));
    EXPECT_STREQ(App().PickedSiteName, "Leeds, Northland");
    EXPECT_STREQ(App().PickedSiteLatitude, "53.80N");
    EXPECT_STREQ(App().PickedSiteLongitude, "1.55W");
}

TEST_F(PickerTest, LaterVersionOpensInThePickerButEarlierOnesAndShortFilesDoNot)
{
    struct Case {
        const char* what;
        unsigned char versionLow;   // 1066 is 0x042A
        bool truncate;
        bool picked;
    };
    const Case cases[] = {{"1067", 0x2B, false, true}, {"1065", 0x29, false, false}, {"short", 0x2A, true, false}};
    for (const Case& c : cases) {
        SetPickedSite("Before");
        std::string bytes = TownFileBytes({Town("Northland", 0, 0), Town("Leeds", 53.48f, -1.33f)});
        bytes[0] = char(c.versionLow);
        if (c.truncate) bytes.pop_back();
        dbtest::WriteBytes(Dir() / "Northland.twn", bytes);
        ChooseCountry("Northland.twn");
        platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
        EXPECT_EQ(databases::PickTown(nullptr), c.picked) << c.what;
        EXPECT_STREQ(App().PickedSiteName, c.picked ? "Leeds, Northland" : "Before") << c.what;
        EXPECT_TRUE(f.messages.calls.empty()) << c.what;
    }
}

TEST_F(PickerTest, TheDefaultCountryIsPreselectedAndFollowsTheLastPick)
{
    WriteCountry("Alpha.twn", {Town("Alpha", 0, 0), Town("A1", 1, 1)});
    WriteCountry("beta.TWN", {Town("Beta", 0, 0), Town("B1", 2, 2)});
    WriteCountry("Gamma.twn", {Town("Gamma", 0, 0), Town("G1", 3, 3)});
    dbtest::WriteBytes(Dir() / "notes.txt", "not a country");
    std::filesystem::create_directory(Dir() / "folder.twn");
    App().DefaultCountryFile = "GAMMA.TWN";
    std::vector<std::string> listed;
    int preselected = -1;
    ChooseCountry("beta.TWN", &listed, &preselected);
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    EXPECT_TRUE(databases::PickTown(nullptr));
    EXPECT_EQ(listed, (std::vector<std::string>{"Alpha.twn", "beta.TWN", "Gamma.twn"}));
    EXPECT_EQ(preselected, 2);
    EXPECT_STREQ(App().PickedSiteName, "B1, Beta");

    ChooseCountry("", &listed, &preselected);   // confirms what is selected
    ASSERT_TRUE(databases::PickTown(nullptr));
    EXPECT_EQ(preselected, 1);
    EXPECT_STREQ(App().PickedSiteName, "B1, Beta");
}

// Country files named outside Latin-1 are listed as the file manager names
// them, and a picked line opens its file.
TEST_F(PickerTest, CountryFilesAreListedAsTheFileManagerNamesThem)
{
    WriteCountry("Zürich.twn", {Town("Zurich", 0, 0), Town("Z1", 1, 1)});
    WriteCountry("Москва.twn", {Town("Moskva", 0, 0), Town("M1", 2, 2)});
    QStringList listed;
    platform::SetDialogDriver(TGetCountryDlg::kResourceId, Presses({platform::IDOK}, [&listed](platform::Dialog& d, int) {
        const auto* list = qobject_cast<QListWidget*>(d.Control(TGetCountryDlg::kList));
        for (int i = 0; list && i < list->count(); ++i) listed << list->item(i)->text();
        d.ListSetSelIndex(TGetCountryDlg::kList, 1);
    }));
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    ASSERT_TRUE(databases::PickTown(nullptr));
    EXPECT_EQ(listed, (QStringList{QString::fromUtf8("Zürich.twn"), QString::fromUtf8("Москва.twn")}));
    EXPECT_EQ(App().SelectedCountryFile, "Москва.twn");
    EXPECT_STREQ(App().PickedSiteName, "M1, Moskva");
}

TEST_F(PickerTest, NothingToPickAnswersCancelAndKeepsTheFields)
{
    // No country file at all: the selector's list is empty and OK keeps the
    // earlier choice, which cannot be read here.
    SetPickedSite("Before");
    std::vector<std::string> listed = {"x"};
    ChooseCountry("", &listed);
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    EXPECT_FALSE(databases::PickTown(nullptr));
    EXPECT_TRUE(listed.empty());

    // A country without towns: OK answers Cancel.
    WriteCountry("Empty.twn", {Town("Nowhere", 0, 0)});
    int lines = -1;
    ChooseCountry("Empty.twn");
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  lines = d.ListCount(TGetTownDlg::kList);
                              }));
    EXPECT_FALSE(databases::PickTown(nullptr));
    EXPECT_EQ(lines, 0);
    EXPECT_STREQ(App().PickedSiteName, "Before");
    EXPECT_STREQ(App().PickedSiteAltitude, "0");

    // The selector cancelled: the picker never shows.
    int townRuns = 0;
    platform::SetDialogDriver(TGetCountryDlg::kResourceId, Presses({platform::IDCANCEL}));
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog&, int) {
                                  ++townRuns;
                              }));
    EXPECT_FALSE(databases::PickTown(nullptr));
    EXPECT_EQ(townRuns, 0);
    EXPECT_TRUE(f.messages.calls.empty());
}

TEST_F(PickerTest, LongNamesStayWithinThePickedField)
{
    // Unterminated 20-byte names on both sides are cut at their last byte.
    std::string bytes = TownFileBytes({Town("C", 0, 0), Town("T", 1, 1)});
    std::memset(bytes.data() + 4, 'C', 20);
    std::memset(bytes.data() + 4 + 28, 'T', 20);
    dbtest::WriteBytes(Dir() / "Long.twn", bytes);
    ChooseCountry("Long.twn");
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    ASSERT_TRUE(databases::PickTown(nullptr));
    EXPECT_EQ(std::string(App().PickedSiteName), std::string(19, 'T') + ", " + std::string(19, 'C'));
}

TEST_F(PickerTest, SatelliteIsListedAndPickedWithTwoDecimals)
{
    WriteSatList({Satellite("Satellite List", 0, ""), Satellite("West", -30.0f, "C"), Satellite("Alpha 1", 19.2f, "Ku")});
    std::vector<std::string> lines;
    platform::SetDialogDriver(TGetSatDlg::kResourceId, Presses({platform::IDOK}, [&](platform::Dialog& d, int) {
                                  lines = ListLines(d, TGetSatDlg::kList);
                                  d.ListSetSelIndex(TGetSatDlg::kList, 1);
                              }));
    ASSERT_TRUE(databases::PickSatellite(nullptr));
    EXPECT_EQ(lines, (std::vector<std::string>{"West (30.00W)", "Alpha 1 (19.20E)"}));
    EXPECT_STREQ(App().PickedSatName, "Alpha 1");
    EXPECT_STREQ(App().PickedSatLongitude, "19.20E");

    platform::SetDialogDriver(TGetSatDlg::kResourceId, Presses({}, [&](platform::Dialog& d, int) {
                                  DoubleClick(d, TGetSatDlg::kList, 0);
                                  QCoreApplication::processEvents();
                              }));
    ASSERT_TRUE(databases::PickSatellite(nullptr));
    EXPECT_STREQ(App().PickedSatName, "West");
    EXPECT_STREQ(App().PickedSatLongitude, "30.00W");
}

TEST_F(PickerTest, MissingOrEmptySatelliteListsPickNothing)
{
    std::strcpy(App().PickedSatName, "Before");
    std::strcpy(App().PickedSatLongitude, "1.00E");
    platform::SetDialogDriver(TGetSatDlg::kResourceId, Presses({platform::IDOK}));

    EXPECT_FALSE(databases::PickSatellite(nullptr));
    ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{"Unable to open file", "satlist.geo"}}));
    EXPECT_EQ(f.messages.calls[0].Icon(), platform::MB_ICONEXCLAMATION);

    // A list of no satellites: silently nothing (the files the reader refuses are its own tests').
    f.messages.calls.clear();
    WriteSatList({Satellite("List", 0, "")});
    EXPECT_FALSE(databases::PickSatellite(nullptr));
    EXPECT_TRUE(f.messages.calls.empty());
    EXPECT_STREQ(App().PickedSatName, "Before");
    EXPECT_STREQ(App().PickedSatLongitude, "1.00E");
}

TEST_F(PickerTest, PickerHelpHintsAndStatusBar)
{
    WriteSatList({Satellite("List", 0, ""), Satellite("S", 1, "C")});
    platform::SetDialogDriver(TGetSatDlg::kResourceId, Presses({platform::IDHELP, platform::IDOK}));
    std::strcpy(App().HintText, "old hint");
    ASSERT_TRUE(databases::PickSatellite(nullptr));
    EXPECT_EQ(help.topics, std::vector<int>{651});
    EXPECT_STREQ(App().HintText, "");
    EXPECT_STREQ(HintFor(TGetSatListBox(nullptr, 0).Hints(), TGetSatDlg::kList), "Select satellite from the list box");
    EXPECT_STREQ(HintFor(TGetCountryListBox(nullptr, 0).Hints(), TGetCountryDlg::kList),
                 "Select the country data filename from the list box");
    EXPECT_STREQ(HintFor(TGetTownListBox(nullptr, 0).Hints(), TGetTownDlg::kList), "Select town/city from the list box");
}

TEST_F(PickerTest, SetUpDialogSiteButtonTakesThePickedTown)
{
    WriteCountry("Northland.twn", {Town("Northland", 0, 0), Town("Leeds", 53.48f, -1.33f)});
    ChooseCountry("Northland.twn");
    platform::SetDialogDriver(TGetTownDlg::kResourceId, Presses({platform::IDOK}));
    std::vector<std::string> fields;
    platform::SetDialogDriver(TSetUpForm::kResourceId,
                              Presses({TSetUpForm::kSiteButton, platform::IDOK}, [&](platform::Dialog& d, int step) {
                                  if (step == 1)
                                      fields = {d.GetControlText(TSetUpForm::kSiteName),
                                                d.GetControlText(TSetUpForm::kLatitude),
                                                d.GetControlText(TSetUpForm::kLongitude)};
                              }));
    setup::CmSetup(App(), f.app->Client());
    EXPECT_EQ(fields, (std::vector<std::string>{"Leeds, Northland", "53.80N", "1.55W"}));
    SetUpRecord r;
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.SiteName(), "Leeds, Northland");
    EXPECT_EQ(r.Latitude(), "53.80N");

    // A pick cancelled in the country selector leaves the fields as they were.
    r.SetSiteName("Here");
    App().SetUpRecord = r.bytes;
    platform::SetDialogDriver(TGetCountryDlg::kResourceId, Presses({platform::IDCANCEL}));
    setup::CmSetup(App(), f.app->Client());
    EXPECT_EQ(fields[0], "Here");
    r.bytes = App().SetUpRecord;
    EXPECT_EQ(r.SiteName(), "Here");
    EXPECT_EQ(r.Latitude(), "53.80N");
}

}  // namespace
