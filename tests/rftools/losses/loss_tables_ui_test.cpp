// The loss tables' builders on a window: their forms (checks, stored values,
// Clear), what closes the window, the elevation override and the title.
#include <QApplication>
#include <cstring>

#include "loss_ui_support.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/loss_table_builders.h"

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

class LossTables : public losstest::LossFixture {
protected:
    void SetUp() override
    {
        LossFixture::SetUp();
        SetLossAtmosphere(&atm);
        NewWindow();
    }
    void TearDown() override
    {
        window.reset();
        SetLossAtmosphere(nullptr);
        LossFixture::TearDown();
    }
    // Drives a form: the texts, then the button; records whether the
    // hourglass was up while the form showed.
    void Drive(int resourceId, Texts texts, int button = platform::IDOK)
    {
        platform::SetDialogDriver(resourceId, [this, texts, button](platform::Dialog& d) {
            for (const auto& [id, text] : texts) d.SetControlText(id, text);
            waitCursorInForm = waitCursorInForm || QApplication::overrideCursor() != nullptr;
            return button;
        });
    }
    void NewWindow()
    {
        window = std::make_unique<TMyWindow>(nullptr, nullptr, nullptr);
        window->SetupWindow();
    }
    bool Closed()
    {
        QCoreApplication::processEvents();
        return window->CloseIfRequested();
    }
    std::vector<std::string> Lines() const { return losstest::Lines(window->Report()); }

    losstest::FakeAtmosphere atm;
    std::unique_ptr<TMyWindow> window;
    bool waitCursorInForm = false;
};

Texts With(Texts base, Texts more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

TEST_F(LossTables, AvailabilityTable)
{
    Drive(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "AUTO"}}));
    AvailLossInputRecord r{};
    AvailabilityLosses(*window, r);
    EXPECT_FALSE(Closed());
    EXPECT_FALSE(waitCursorInForm);
    const std::vector<std::string> lines = Lines();
    ASSERT_GT(lines.size(), 40u);
    EXPECT_EQ(lines[0], "Availability v Atmospheric Losses 11.7 GHz (ITU-R Model)");
    EXPECT_EQ(window->windowTitle().toStdString(), lines[0]);
    EXPECT_TRUE(losstest::HasLine(window->Report(), "Site altitude\t0.250 km"));
    EXPECT_TRUE(losstest::HasLine(window->Report(), "Elevation\t25.40 degrees"));
    const int c = window->AverageCharWidth;
    EXPECT_EQ(window->TabStops, (std::vector<int>{22 * c, 32 * c, 42 * c, 52 * c, 62 * c, 72 * c, 82 * c}));
    // The accepted texts are the form's stored values for next time.
    EXPECT_EQ(transfer::GetText(app->app->FormRecord(TAvailForm::kStoredRecord), 134, 13), "11.7");
    EXPECT_EQ(FieldText(r.frequency), "11.7");
}

TEST_F(LossTables, ElevationOverride)
{
    // 30 degrees in place of London's 25.40 to 28.2E.
    Drive(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}}));
    AvailLossInputRecord r{};
    AvailabilityLosses(*window, r);
    EXPECT_TRUE(losstest::HasLine(window->Report(), "Elevation\t30.00 degrees"));
    EXPECT_EQ(atm.Find("gas")->args[3], 30.0);

    // The computed elevation is checked first: 2.4 degrees fails whatever the override.
    NewWindow();
    Drive(TAvailForm::kResourceId,
          With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}, {kSatLongitude, "72.0E"}}));
    app->messages.calls.clear();
    AvailabilityLosses(*window, r);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Elevation|ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}));
}

TEST_F(LossTables, NationalTable)
{
    const TownRecord towns[] = {{"Ireland", 0, 0}, {"Dublin", 53.21f, -6.16f}};
    int asked = 0;
    Drive(TRain2Form::kResourceId, kNational);
    NationalLossInputRecord r{};
    StartNationalAtmosLosses(*window, r, [&] {
        ++asked;
        return std::span<const TownRecord>(towns);
    });
    EXPECT_FALSE(Closed());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window->windowTitle().toStdString(), "28.2E National Atmospheric Losses  : Ireland");
    EXPECT_EQ(Lines().back(), "Dublin\t53.35N\t6.27W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49");
}

// Cancel, or no country file, closes the window without a table.
TEST_F(LossTables, NationalTableCloses)
{
    for (const bool cancel : {true, false}) {
        NewWindow();
        Drive(TRain2Form::kResourceId, kNational, cancel ? platform::IDCANCEL : platform::IDOK);
        NationalLossInputRecord r{};
        StartNationalAtmosLosses(*window, r, [] { return std::span<const TownRecord>(); });
        EXPECT_TRUE(Closed()) << cancel;
        EXPECT_EQ(window->Lines(), 0) << cancel;
    }
}

struct TableFormCase {
    const char* name;
    int resourceId;
    Texts texts;
    const char* message;  // caption|text of the refusal, or null
};

TEST_F(LossTables, FormChecks)
{
    const Texts avail = With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "auto"}});
    const Texts freq = With(kLondonSite, {{kAvailability, "99.9"}, {kRangeStart, "10"}, {kRangeEnd, "20"}});
    const TableFormCase cases[] = {
        {"altitude 25.5 km", TAvailForm::kResourceId, With(avail, {{kSiteAltitude, "25.5"}}),
         "Range Error|Site altitude\r\nRange -0.500000 to 25.000000 km"},
        {"override 3", TAvailForm::kResourceId, With(avail, {{kElevationOverride, "3"}}),
         "Range Error|Elevation override\r\nRange 4.000000 to 90.000000 degrees"},
        {"end below start", TAttenExtForm::kResourceId, With(freq, {{kRangeEnd, "9.5"}}),
         "Range Error|Frequency axis end\r\nRange 10.000000 to 55.000000 GHz"},
        {"end equal to start", TAttenExtForm::kResourceId, With(freq, {{kRangeEnd, "10"}}), nullptr},
    };
    for (const TableFormCase& c : cases) {
        AvailLossInputRecord a{};
        FreqLossInputRecord f{};
        std::unique_ptr<TLossTableForm> form;
        if (c.resourceId == TAvailForm::kResourceId) form = std::make_unique<TAvailForm>(nullptr, a);
        else form = std::make_unique<TAttenExtForm>(nullptr, f);
        form->SetupWindow();
        for (const auto& [id, text] : c.texts) form->SetControlText(id, text);
        app->messages.calls.clear();
        EXPECT_EQ(form->CanClose(), c.message == nullptr) << c.name;
        EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}) << c.name;
    }
}

// The stored values fill the form when it shows; Clear empties every entry.
TEST_F(LossTables, StoredValuesAndClear)
{
    auto stored = app->app->FormRecord(TRain2Form::kStoredRecord);
    ASSERT_EQ(stored.size(), sizeof(NationalLossInputRecord));
    transfer::SetText(stored, 0, 41, "Hispasat 30W-5");
    transfer::SetText(stored, 41, 13, "30.0W");
    NationalLossInputRecord r{};
    TRain2Form form(nullptr, r);
    form.SetupWindow();
    EXPECT_EQ(form.GetControlText(kSatName), "Hispasat 30W-5");
    EXPECT_EQ(form.GetControlText(kSatLongitude), "30.0W");
    form.CmClear();
    EXPECT_EQ(form.GetControlText(kSatName), "");
    EXPECT_EQ(form.GetControlText(kSatLongitude), "");
}

// The Help button of each losses form opens its own page, and F1 on any of
// its fields reaches a topic of the help folder the program ships.
TEST_F(LossTables, EveryHelpIdHasATopic)
{
    platform::SetProgramDirectoryOverride(QCoreApplication::applicationDirPath().toStdString());
    std::vector<int> sent;
    platform::HelpViewer::SetSink([&](int id) { return sent.push_back(id), true; });
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
