// The table forms: their records byte for byte in the stored dialog values,
// the field checks in order, Clear, Help and the Site and Satellite buttons.
#include "tables_ui_support.h"

namespace {

using namespace orbiscope::tables;
using tablesui::SetTexts;

// Every field of a form filled, the bytes each lands on in its record.
struct RecordCase {
    const char* form;
    std::function<std::unique_ptr<TTableForm>(std::vector<std::uint8_t>&)> make;
    int storedRecord;
    std::size_t size;
    std::map<int, std::string> texts;
    std::vector<std::pair<std::size_t, std::string>> bytes;  // offset, expected bytes
};

template <class Form, class Record>
std::function<std::unique_ptr<TTableForm>(std::vector<std::uint8_t>&)> Maker()
{
    return [](std::vector<std::uint8_t>& buffer) {
        buffer.assign(sizeof(Record), 0);
        return std::make_unique<Form>(nullptr, *reinterpret_cast<Record*>(buffer.data()));
    };
}

std::string Z(const char* text) { return std::string(text) + '\0'; }

const RecordCase kRecords[] = {
    {"TRecSiteForm", Maker<TRecSiteForm, RecSiteRecord>(), 27, 98,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {1380, "5"}},
     {{0, Z("London")}, {41, Z("51.50N")}, {54, Z("0.12W")}, {67, Z("5")},
      {80, std::string("\0\0\0\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0", 18)}}},
    {"TRecSiteForm2", Maker<TRecSiteForm2, RecSite2Record>(), 28, 165,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {232, "Madrid"}, {233, "40.42N"}, {234, "3.70W"}, {1380, "2"}},
     {{0, Z("London")}, {41, Z("51.50N")}, {54, Z("0.12W")}, {67, Z("Madrid")}, {108, Z("40.42N")},
      {121, Z("3.70W")}, {134, Z("2")}, {157, std::string("\1\0", 2)}}},
    {"TSolarTransitForm", Maker<TSolarTransitForm, SolarTransitRecord>(), 30, 119,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "0"}, {107, "28.2E"}, {105, "3"}, {106, "2024"}},
     {{0, Z("London")}, {41, Z("51.50N")}, {54, Z("0.12W")}, {67, Z("0")}, {80, Z("28.2E")}, {93, Z("3")},
      {106, Z("2024")}}},
    {"TFreqForm", Maker<TFreqForm, FreqRecord>(), 21, 13, {{208, "12"}}, {{0, Z("12")}}},
    {"TAntSysSmallForm", Maker<TAntSysSmallForm, AntSysSmallRecord>(), 4, 39,
     {{208, "12"}, {311, "150"}, {14002, "36"}}, {{0, Z("12")}, {13, Z("150")}, {26, Z("36")}}},
    {"TBerForm", Maker<TBerForm, BerRecord>(), 9, 13, {{4738, "-5"}}, {{0, Z("-5")}}},
    {"TSatPosForm", Maker<TSatPosForm, SatPosRecord>(), 29, 26, {{206, "28.2E"}, {207, "-10"}},
     {{0, Z("28.2E")}, {13, Z("-10")}}},
    {"TDualTabForm", Maker<TDualTabForm, DualTabRecord>(), 15, 147,
     {{201, "Alpha"}, {229, "Beta"}, {206, "28.2E"}, {2863, "19.2E"}, {14027, "1.2"}, {8704, "0.6"}, {8705, "1.1"}},
     {{0, Z("Alpha")}, {41, Z("Beta")}, {82, Z("28.2E")}, {95, Z("19.2E")}, {108, Z("1.2")}, {121, Z("0.6")},
      {134, Z("1.1")}}},
};

class TableForms : public tablesui::TableFixture {};

// OK stores the dialog's bytes at their offsets in the stored values; the
// next form of the kind starts from them.
TEST_F(TableForms, RecordsByteForByte)
{
    for (const RecordCase& c : kRecords) {
        SCOPED_TRACE(c.form);
        std::vector<std::uint8_t> buffer;
        {
            auto form = c.make(buffer);
            form->SetupWindow();
            SetTexts(*form, c.texts);
            ASSERT_TRUE(form->CanClose());
        }
        const auto stored = app->app->FormRecord(c.storedRecord);
        ASSERT_EQ(stored.size(), c.size);
        const std::string bytes(stored.begin(), stored.end());
        for (const auto& [offset, expected] : c.bytes) EXPECT_EQ(bytes.substr(offset, expected.size()), expected) << offset;
        auto again = c.make(buffer);
        again->SetupWindow();
        for (const auto& [id, text] : c.texts) EXPECT_EQ(again->GetControlText(id), text) << id;
    }
    EXPECT_TRUE(Messages().empty());
}

struct CheckCase {
    const char* name;
    std::function<std::unique_ptr<TTableForm>(std::vector<std::uint8_t>&)> make;
    std::map<int, std::string> texts;
    std::string message;  // caption|text start; empty: accepted
};

const CheckCase kChecks[] = {
    {"one site accepts 15 degrees", Maker<TRecSiteForm, RecSiteRecord>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {1380, "15"}}, ""},
    {"two sites refuse 15 degrees", Maker<TRecSiteForm2, RecSite2Record>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {232, "Y"}, {233, "40.42N"}, {234, "3.70W"}, {1380, "15"}},
     "Range Error|Minimum elevation\r\nRange 0.000000 to 10.000000 degrees"},
    {"site 2 checked after site 1", Maker<TRecSiteForm2, RecSite2Record>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {232, ""}, {233, "95N"}, {234, "3.70W"}, {1380, "5"}},
     "Empty Field Error|Site 2 name"},
    {"a latitude without its letter", Maker<TRecSiteForm, RecSiteRecord>(),
     {{200, "X"}, {202, "51.50"}, {203, "0.12W"}, {1380, "5"}}, "Suffix Missing Error (N,S,E or W)|"},
    {"year 1979", Maker<TSolarTransitForm, SolarTransitRecord>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "0"}, {107, "0.12W"}, {105, "3"}, {106, "1979"}},
     "Range Error|Year\r\nRange 1980.000000 to 3000.000000 "},
    {"time zone 14.5", Maker<TSolarTransitForm, SolarTransitRecord>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "14.5"}, {107, "0.12W"}, {105, "3"}, {106, "2024"}},
     "Range Error|International time zone\r\nRange -12.000000 to 14.000000 "},
    {"month 2.5 is no whole number", Maker<TSolarTransitForm, SolarTransitRecord>(),
     {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "1"}, {107, "0.12W"}, {105, "2.5"}, {106, "2024"}},
     "Invalid Character Error|Month"},
    {"frequency above 55 GHz", Maker<TFreqForm, FreqRecord>(), {{208, "56"}},
     "Range Error|Frequency\r\nRange 0.000700 to 55.000000 GHz"},
    {"system noise below 10 K", Maker<TAntSysSmallForm, AntSysSmallRecord>(),
     {{208, "12"}, {311, "9"}, {14002, "36"}}, "Range Error|Total system noise\r\nRange 10.000000 to 500.000000 K"},
    {"log BER -15 accepted", Maker<TBerForm, BerRecord>(), {{4738, "-15"}}, ""},
    {"log BER -20 refused, whatever the hint says", Maker<TBerForm, BerRecord>(), {{4738, "-20"}},
     "Range Error|Minimum log10(BER)\r\nRange -15.000000 to -0.100000 "},
    {"cant beyond 90", Maker<TSatPosForm, SatPosRecord>(), {{206, "28.2E"}, {207, "91"}},
     "Range Error|Spot polarization cant\r\nRange -90.000000 to 90.000000 \xB0"},
    {"beamfactor above 1.5", Maker<TDualTabForm, DualTabRecord>(),
     {{201, "A"}, {229, "B"}, {206, "28.2E"}, {2863, "19.2E"}, {14027, "1.2"}, {8704, "0.6"}, {8705, "1.6"}},
     "Range Error|Beamfactor\r\nRange 0.500000 to 1.500000 "},
};

TEST_F(TableForms, FieldChecksInOrder)
{
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> buffer;
        auto form = c.make(buffer);
        form->SetupWindow();
        SetTexts(*form, c.texts);
        app->messages.calls.clear();
        EXPECT_EQ(form->CanClose(), c.message.empty());
        if (c.message.empty()) {
            EXPECT_TRUE(Messages().empty());
        } else {
            ASSERT_EQ(Messages().size(), 1u);
            EXPECT_EQ(Messages()[0].substr(0, c.message.size()), c.message);
        }
    }
}

TEST_F(TableForms, BandBoxes)
{
    RecSiteRecord record{};
    TRecSiteForm form(nullptr, record);
    form.SetupWindow();
    EXPECT_EQ(form.GetCheck(455), 1) << "K&u band is ticked at first start";
    SetTexts(form, {{200, "X"}, {202, "51.50N"}, {203, "0.12W"}, {1380, "5"}});
    form.SetCheck(455, 0);
    EXPECT_FALSE(form.CanClose());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Check Box Error|No active band selected"});
    form.SetCheck(461, 1);
    EXPECT_TRUE(form.CanClose());
}

TEST_F(TableForms, ClearLeavesKuAlone)
{
    RecSite2Record record{};
    TRecSiteForm2 form(nullptr, record);
    form.SetupWindow();
    SetTexts(form, {{200, "X"}, {233, "1.00N"}, {1380, "5"}});
    for (int id : {457, 458, 453, 454, 459, 455, 456, 460, 461}) form.SetCheck(id, 1);
    form.OnButton(TTableForm::kClear);
    for (int id : {200, 202, 203, 232, 233, 234, 1380}) EXPECT_EQ(form.GetControlText(id), "") << id;
    for (int id : {457, 458, 453, 454, 459, 456, 460, 461}) EXPECT_EQ(form.GetCheck(id), 0) << id;
    EXPECT_EQ(form.GetCheck(455), 1);

    FreqRecord frequency{};
    TFreqForm plain(nullptr, frequency);
    plain.SetupWindow();
    plain.SetControlText(208, "12");
    plain.OnButton(TTableForm::kClear);
    EXPECT_EQ(plain.GetControlText(208), "");
}

TEST_F(TableForms, HelpOpensTheDialogsTopic)
{
    std::vector<int> topics;
    platform::HelpViewer::SetSink([&](int id) {
        topics.push_back(id);
        return true;
    });
    std::vector<std::uint8_t> buffer;
    for (const RecordCase& c : kRecords) {
        auto form = c.make(buffer);
        form->SetupWindow();
        form->OnButton(platform::IDHELP);
    }
    EXPECT_EQ(topics, (std::vector<int>{718, 236, 900, 9235, 320, 16520, 3883, 8706}));
}

// The pickers leave their choice in the application; the buttons copy it.
class TablePickers : public tablesui::TableFixture {
protected:
    void SetUp() override
    {
        tablesui::TableFixture::SetUp();
        TTableForm::SetPickers(
            [this](TForm&) {
                std::strcpy(app->app->PickedSiteName, "Leeds, Testland");
                std::strcpy(app->app->PickedSiteLatitude, "53.80N");
                std::strcpy(app->app->PickedSiteLongitude, "1.55W");
                return true;
            },
            [this](TForm&) {
                std::strcpy(app->app->PickedSatName, "Alpha");
                std::strcpy(app->app->PickedSatLongitude, "28.20E");
                return true;
            });
    }
};

TEST_F(TablePickers, SolarTransitSiteGivesTransitAndSatelliteCoincidence)
{
    SolarTransitRecord record{};
    TSolarTransitForm form(nullptr, record);
    form.SetupWindow();
    form.OnButton(TTableForm::kSite);
    EXPECT_EQ(form.GetControlText(200), "Leeds, Testland");
    EXPECT_EQ(form.GetControlText(202), "53.80N");
    EXPECT_EQ(form.GetControlText(203), "1.55W");
    EXPECT_EQ(form.GetControlText(107), "1.55W") << "the site's own longitude: a transit table";
    form.OnButton(TTableForm::kSatellite);
    EXPECT_EQ(form.GetControlText(107), "28.20E");
    EXPECT_EQ(form.GetControlText(200), "Leeds, Testland");
}

TEST_F(TablePickers, SecondSiteButtonFillsSiteTwo)
{
    RecSite2Record record{};
    TRecSiteForm2 form(nullptr, record);
    form.SetupWindow();
    form.OnButton(TRecSiteForm2::kSite2);
    EXPECT_EQ(form.GetControlText(232), "Leeds, Testland");
    EXPECT_EQ(form.GetControlText(234), "1.55W");
    EXPECT_EQ(form.GetControlText(200), "");
}

TEST_F(TablePickers, SatellitePositionTakesTheLongitudeOnly)
{
    SatPosRecord record{};
    TSatPosForm form(nullptr, record);
    form.SetupWindow();
    form.SetControlText(207, "5");
    form.OnButton(TTableForm::kSatellite);
    EXPECT_EQ(form.GetControlText(206), "28.20E");
    EXPECT_EQ(form.GetControlText(207), "5");
}

TEST_F(TablePickers, DualFeedSatelliteFollowsTheLastFocusedField)
{
    struct Case {
        int focused;
        int name, longitude;
    };
    for (const Case& c : {Case{201, 201, 206}, Case{206, 201, 206}, Case{229, 229, 2863}, Case{14027, 229, 2863}}) {
        DualTabRecord record{};
        TDualTabForm form(nullptr, record);
        form.SetupWindow();
        app->app->LastFocusedEntry = c.focused;
        form.OnButton(TTableForm::kSatellite);
        EXPECT_EQ(form.GetControlText(c.name), "Alpha") << c.focused;
        EXPECT_EQ(form.GetControlText(c.longitude), "28.20E") << c.focused;
    }
}

}  // namespace
