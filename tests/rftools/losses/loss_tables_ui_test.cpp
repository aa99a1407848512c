// The loss tables through the Table menu: their forms (checks, stored values,
// help), what closes the window, the elevation override and the title.
#include <QApplication>
#include <QMdiSubWindow>
#include <fstream>

#include "framework/app/mdiclient.h"
#include "framework/databases/pickers.h"
#include "loss_ui_support.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/loss_table_builders.h"
#include "rftools/tables/table_registration.h"
#include "rftools/tables/table_win.h"

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
        orbiscope::RegisterTableWindows();
        orbiscope::RegisterLossWindows();
        SetLossAtmosphere(&atm);
        // Dublin at 53.21N 6.16W (D.MM).
        const TownRecord towns[] = {{"Ireland", 0, 0}, {"Dublin", 53.21f, -6.16f}};
        std::ofstream(app->dir / "Ireland.twn", std::ios::binary)
            << TownFileBytes(std::vector<TownRecord>(std::begin(towns), std::end(towns)));
    }
    void TearDown() override
    {
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
    void ChooseIreland()
    {
        platform::SetDialogDriver(TGetCountryDlg::kResourceId, [](platform::Dialog& d) {
            for (int i = 0; i < d.ListCount(TGetCountryDlg::kList); ++i)
                if (d.ListString(TGetCountryDlg::kList, i) == "Ireland.twn") d.ListSetSelIndex(TGetCountryDlg::kList, i);
            return platform::IDOK;
        });
    }
    // Runs a Table command; the table window it leaves, or null.
    TTableWin* Run(int command)
    {
        app->app->Client()->ShowTable(command);
        QCoreApplication::processEvents();
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<TTableWin*>(child->Document()) : nullptr;
    }
    std::string Caption() const { return app->app->Client()->ActiveDocumentChild()->windowTitle().toStdString(); }

    losstest::FakeAtmosphere atm;
    bool waitCursorInForm = false;
};

TEST_F(LossTables, AvailabilityTable)
{
    Drive(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "AUTO"}}));
    TTableWin* w = Run(6425);
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
    Drive(TAvailForm::kResourceId, With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}}));
    TTableWin* w = Run(6425);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Elevation\t30.00 degrees"));
    EXPECT_EQ(atm.Find("gas")->args[3], 30.0);

    // The computed elevation is checked first: 2.4 degrees fails whatever the override.
    const std::size_t before = app->app->Client()->Children().size();
    Drive(TAvailForm::kResourceId,
          With(kLondonSite, {{kFrequency, "11.7"}, {kElevationOverride, "30"}, {kSatLongitude, "72.0E"}}));
    app->messages.calls.clear();
    Run(6425);
    EXPECT_EQ(app->app->Client()->Children().size(), before);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Elevation|ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}));
}

TEST_F(LossTables, FrequencyAndNationalTables)
{
    Drive(TAttenExtForm::kResourceId,
          With(kLondonSite, {{kAvailability, "99.9"}, {kRangeStart, "10"}, {kRangeEnd, "20"}}));
    TTableWin* w = Run(6429);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "Frequency v Atmospheric Losses");
    EXPECT_EQ(losstest::Lines(w->Report()).back().substr(0, 6), "20.00\t");

    Drive(TRain2Form::kResourceId, kNational);
    ChooseIreland();
    w = Run(6427);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(Caption(), "28.2E National Atmospheric Losses  : Ireland");
    EXPECT_EQ(losstest::Lines(w->Report()).back(), "Dublin\t53.35N\t6.27W\t0.250\t0.31\t0.53\t0.42\t31.500\t6.64\t7.49");
}

// Cancel, or no country file chosen, closes the window without a table.
TEST_F(LossTables, NationalTableCloses)
{
    for (const bool cancel : {true, false}) {
        Drive(TRain2Form::kResourceId, kNational, cancel ? platform::IDCANCEL : platform::IDOK);
        platform::SetDialogDriver(TGetCountryDlg::kResourceId, [](platform::Dialog&) { return platform::IDCANCEL; });
        Run(6427);
        EXPECT_TRUE(app->app->Client()->Children().empty()) << cancel;
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
