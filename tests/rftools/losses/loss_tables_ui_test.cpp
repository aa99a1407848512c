// The loss tables through the Table menu and the loss forms: the forms'
// checks, stored values and help, what closes the window, the elevation
// override and the title.
#include <QApplication>
#include <cstring>
#include <map>

#include "framework/app/mdiclient.h"
#include "loss_ui_support.h"
#include "rftools/losses/loss_forms.h"

namespace {

using namespace lossform;
using namespace orbiscope::losses;

using Texts = std::vector<std::pair<int, const char*>>;

const Texts kLondonSite = {
    {kSiteName, "London"}, {kSatName, "Astra 2E"},  {kSiteLatitude, "51.50N"}, {kSiteLongitude, "0.12W"},
    {kSiteAltitude, "auto"}, {kSatLongitude, "28.2E"}, {kPolarization, "H"},  {kDiameter, "1.2"},
    {kEfficiency, "65"},
};
const Texts kNational = {{kSatName, "Astra 2E"}, {kSatLongitude, "28.2E"}, {kFrequency, "11.7"},
                         {kPolarization, "V"},     {kDiameter, "0.6"},       {kEfficiency, "65"},
                         {kAvailability, "99.9"}};

Texts With(Texts base, Texts more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

class LossTables : public losstest::LossFixture {
protected:
    void SetUp() override
    {
        LossFixture::SetUp();
        // Dublin at 53.21N 6.16W (D.MM).
        WriteFile("Ireland.twn", TownFileBytes({{"Ireland", 0, 0}, {"Dublin", 53.21f, -6.16f}}));
    }
    // Drives a form: the texts, then the button; records whether the
    // hourglass was up while the form showed.
    void DriveForm(int resourceId, Texts texts, int button = platform::IDOK)
    {
        Drive(resourceId, [this, texts](platform::Dialog& d) {
            for (const auto& [id, text] : texts) d.SetControlText(id, text);
            waitCursorInForm = waitCursorInForm || QApplication::overrideCursor() != nullptr;
        }, button);
    }
    bool waitCursorInForm = false;
};

TEST_F(LossTables, AvailabilityTable)
{
    DriveForm(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "AUTO"}}));
    TTableWin* w = RunTable(6425);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(waitCursorInForm);
    EXPECT_EQ(losstest::Lines(w->Report()).at(0), "Availability v Atmospheric Losses 11.7 GHz (ITU-R Model)");
    EXPECT_EQ(Caption(), "Availability v Atmospheric Losses 11.7 GHz (ITU-R Model)");
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Site altitude\t0.250 km"));
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Elevation\t25.40 degrees"));
    const int c = w->AverageCharWidth;
    EXPECT_EQ(w->TabStops, (std::vector<int>{22 * c, 32 * c, 42 * c, 52 * c, 62 * c, 72 * c, 82 * c}));
    // The accepted texts are the form's stored values for next time.
    EXPECT_EQ(transfer::GetText(app->app->FormRecord(TAvailForm::kStoredRecord), 134, 13), "11.7");
}

TEST_F(LossTables, ElevationOverride)
{
    // 30 degrees in place of London's 25.40 to 28.2E.
    DriveForm(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}}));
    TTableWin* w = RunTable(6425);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Elevation\t30.00 degrees"));
    EXPECT_EQ(atm.Find("gas")->args[3], 30.0);

    // The computed elevation is checked first: 2.4 degrees fails whatever the override.
    const std::size_t before = app->app->Client()->Children().size();
    DriveForm(TAvailForm::kResourceId,
          With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}, {kSatLongitude, "72.0E"}}));
    app->messages.calls.clear();
    RunTable(6425);
    EXPECT_EQ(app->app->Client()->Children().size(), before);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Elevation|ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}));
}

TEST_F(LossTables, FrequencyAndNationalTables)
{
    DriveForm(TAttenExtForm::kResourceId,
          With(kLondonSite, {{kAvailability, "99.9"}, {kRangeStart, "10"}, {kRangeEnd, "20"}}));
    TTableWin* w = RunTable(6429);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "Frequency v Atmospheric Losses");
    EXPECT_EQ(losstest::Lines(w->Report()).back().substr(0, 6), "20.00\t");

    DriveForm(TRain2Form::kResourceId, kNational);
    ChooseCountry("Ireland.twn");
    w = RunTable(6427);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "28.2E National Atmospheric Losses  : Ireland");
    EXPECT_EQ(losstest::Lines(w->Report()).back(), "Dublin\t53.35N\t6.27W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49");
}

// Cancel, or no country file chosen, closes the window without a table.
TEST_F(LossTables, NationalTableCloses)
{
    for (const bool cancel : {true, false}) {
        DriveForm(TRain2Form::kResourceId, kNational, cancel ? platform::IDCANCEL : platform::IDOK);
        Drive(TGetCountryDlg::kResourceId, {}, platform::IDCANCEL);
        RunTable(6427);
        EXPECT_TRUE(app->app->Client()->Children().empty()) << cancel;
    }
}

struct FormCheck {
    const char* name;
    int resourceId;
    Texts texts;          // over the form's valid ones
    bool manualRate;      // "ITU-R (mm/h)" selected rather than "ITU-R (auto)"
    const char* message;  // caption|text of the refusal, or null
};

TEST_F(LossTables, FormChecks)
{
    const std::map<int, Texts> valid = {
        {TRainForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kAvailability, "99.99"}, {kSystemNoise, "120"}})},
        {TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "auto"}})},
        {TAttenExtForm::kResourceId, With(kLondonSite, {{kAvailability, "99.9"}, {kRangeStart, "10"}, {kRangeEnd, "20"}})},
    };
    const FormCheck cases[] = {
        {"altitude auto in any case", TRainForm::kResourceId, {{kSiteAltitude, "Auto"}}, false, nullptr},
        {"altitude 5.1 km", TRainForm::kResourceId, {{kSiteAltitude, "5.1"}}, false,
         "Range Error|Site altitude\r\nRange 0.000000 to 5.000000 km"},
        {"availability 39", TRainForm::kResourceId, {{kAvailability, "39"}}, false,
         "Range Error|Signal availability\r\nRange 40.000000 to 99.999990 % of average year"},
        {"system noise 501", TRainForm::kResourceId, {{kSystemNoise, "501"}}, false,
         "Range Error|Total system noise\r\nRange 10.000000 to 500.000000 K"},
        {"manual rate unchecked with the map", TRainForm::kResourceId, {{kManualRate, ""}}, false, nullptr},
        {"manual rate 201", TRainForm::kResourceId, {{kManualRate, "201"}}, true,
         "Range Error|Manual rain attenuation value\r\nRange 0.000000 to 200.000000 mm/hr"},
        {"table altitude 25.5 km", TAvailForm::kResourceId, {{kSiteAltitude, "25.5"}}, false,
         "Range Error|Site altitude\r\nRange -0.500000 to 25.000000 km"},
        {"override 3", TAvailForm::kResourceId, {{kElevationOverride, "3"}}, false,
         "Range Error|Elevation override\r\nRange 4.000000 to 90.000000 degrees"},
        {"end below start", TAttenExtForm::kResourceId, {{kRangeEnd, "9.5"}}, false,
         "Range Error|Frequency axis end\r\nRange 10.000000 to 55.000000 GHz"},
        {"end equal to start", TAttenExtForm::kResourceId, {{kRangeEnd, "10"}}, false, nullptr},
    };
    for (const FormCheck& c : cases) {
        AtmosLossInputRecord atn{};
        AvailLossInputRecord avail{};
        FreqLossInputRecord freq{};
        std::unique_ptr<TForm> form;
        if (c.resourceId == TRainForm::kResourceId) form = std::make_unique<TRainForm>(nullptr, atn);
        else if (c.resourceId == TAvailForm::kResourceId) form = std::make_unique<TAvailForm>(nullptr, avail);
        else form = std::make_unique<TAttenExtForm>(nullptr, freq);
        form->SetupWindow();
        for (const auto& [id, text] : With(valid.at(c.resourceId), c.texts)) form->SetControlText(id, text);
        if (c.resourceId == TRainForm::kResourceId) form->SetCheck(c.manualRate ? kItuManual : kItuAuto, 1);
        app->messages.calls.clear();
        EXPECT_EQ(form->CanClose(), c.message == nullptr) << c.name;
        EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}) << c.name;
    }
}

// Site and Satellite copy the picked town (with its altitude) and satellite
// into the form's own entries; a picker cancelled changes nothing.
TEST_F(LossTables, SiteAndSatelliteButtons)
{
    bool picked = false;
    lossform::SetPickers(
        [&](TForm&) {
            std::strcpy(app->app->PickedSiteName, "Leeds, Testland");
            std::strcpy(app->app->PickedSiteLatitude, "53.80N");
            std::strcpy(app->app->PickedSiteLongitude, "1.55W");
            std::strcpy(app->app->PickedSiteAltitude, "0.05");
            return picked;
        },
        [&](TForm&) {
            std::strcpy(app->app->PickedSatName, "Alpha");
            std::strcpy(app->app->PickedSatLongitude, "28.20E");
            return picked;
        });
    const std::vector<std::string> pickedTexts = {"Leeds, Testland", "53.80N", "1.55W", "0.05", "Alpha", "28.20E"};
    AtmosLossInputRecord atn{};
    AvailLossInputRecord avail{};
    std::unique_ptr<TForm> forms[] = {std::make_unique<TRainForm>(nullptr, atn),
                                      std::make_unique<TAvailForm>(nullptr, avail)};
    for (auto& form : forms) {
        form->SetupWindow();
        const auto texts = [&form] {
            std::vector<std::string> t;
            for (int id : {kSiteName, kSiteLatitude, kSiteLongitude, kSiteAltitude, kSatName, kSatLongitude})
                t.push_back(form->GetControlText(id));
            return t;
        };
        const std::vector<std::string> before = texts();
        for (const bool pick : {false, true}) {
            picked = pick;
            form->OnButton(kSite);
            form->OnButton(kSatellite);
            EXPECT_EQ(texts(), pick ? pickedTexts : before) << form->ResourceId();
        }
    }
    lossform::SetPickers({}, {});
}

// The Help button of each losses form opens its own page, and F1 on any of
// its fields reaches a topic of the help folder the program ships.
TEST_F(LossTables, EveryHelpIdHasATopic)
{
    platform::SetProgramDirectoryOverride(QCoreApplication::applicationDirPath().toStdString());
    std::vector<int> sent;
    platform::HelpViewer::SetSink([&](const platform::HelpRequest& r) { return sent.push_back(r.contextId), true; });
    AtmosLossInputRecord atn{};
    NationalLossInputRecord national{};
    AvailLossInputRecord avail{};
    FreqLossInputRecord freq{};
    std::unique_ptr<TForm> forms[] = {std::make_unique<TRainForm>(nullptr, atn),
                                      std::make_unique<TRain2Form>(nullptr, national),
                                      std::make_unique<TAvailForm>(nullptr, avail),
                                      std::make_unique<TAttenExtForm>(nullptr, freq)};
    std::vector<int> buttons;
    for (auto& form : forms) {
        form->OnButton(platform::IDHELP);
        buttons.push_back(sent.back());
        for (QObject* child : form->children())
            if (auto* control = dynamic_cast<TMyControl*>(child)) control->EvHelp();
    }
    platform::HelpViewer::SetSink({});
    EXPECT_EQ(buttons, (std::vector<int>{5800, 5819, 5820, 8492}));
    EXPECT_GT(sent.size(), 40u);
    for (int id : sent) EXPECT_TRUE(platform::FindHelpTopic(id).has_value()) << id;
}

}  // namespace
