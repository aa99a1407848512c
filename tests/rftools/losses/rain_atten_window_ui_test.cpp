// The atmospheric-losses window: New through the menu, its document bytes,
// round trips and older versions, what the form refuses, the elevation
// checks, Cancel, and the picture of the window for the docs.
#include <QImage>
#include <QMdiSubWindow>
#include <cstring>

#include "framework/app/mdiclient.h"
#include "loss_ui_support.h"
#include "propagation/itu_maps.h"
#include "rftools/losses/loss_forms.h"
#include "rftools/losses/rain_atten_win.h"

namespace {

using namespace lossform;

void FillLondon(AtmosLossInputRecord& r)
{
    PutText(r.siteName, "London");
    PutText(r.satName, "Astra 2E");
    PutText(r.siteLatitude, "51.50N");
    PutText(r.siteLongitude, "0.12W");
    PutText(r.siteAltitude, "auto");
    PutText(r.satLongitude, "28.2E");
    PutText(r.frequency, "11.7");
    PutText(r.polarization, "H");
    PutText(r.availability, "99.99");
    PutText(r.systemNoise, "120");
    PutText(r.diameter, "1.2");
    PutText(r.efficiency, "65");
}

class RainAttenWindow : public losstest::LossFixture {
protected:
    void SetUp() override
    {
        LossFixture::SetUp();
        TRainAttenWin::SetAtmosphere(&atm);
    }
    void TearDown() override
    {
        windows.clear();
        TRainAttenWin::SetAtmosphere(nullptr);
        LossFixture::TearDown();
    }
    TRainAttenWin& NewWindow(const char* fileName = nullptr)
    {
        windows.push_back(std::make_unique<TRainAttenWin>(nullptr, nullptr, fileName));
        windows.back()->SetupWindow();
        return *windows.back();
    }
    losstest::FakeAtmosphere atm;
    std::vector<std::unique_ptr<TRainAttenWin>> windows;
};

// File > New > Total Atmospheric Attenuation: the form opens on the new
// window; typed in and confirmed, the window shows its report.
TEST_F(RainAttenWindow, NewThroughTheMenu)
{
    int runs = 0;
    platform::SetDialogDriver(TRainForm::kResourceId, [&](platform::Dialog& d) {
        ++runs;
        const std::pair<int, const char*> texts[] = {
            {kSiteName, "London"}, {kSatName, "Astra 2E"},   {kSiteLatitude, "51.50N"}, {kSiteLongitude, "0.12W"},
            {kSatLongitude, "28.2E"}, {kFrequency, "11.7"},  {kPolarization, "V"},     {kAvailability, "99.9"},
            {kSystemNoise, "120"},  {kDiameter, "0.9"},     {kEfficiency, "70"},
        };
        for (const auto& [id, text] : texts) d.SetControlText(id, text);
        EXPECT_EQ(d.GetControlText(kSiteAltitude), "AUTO");
        EXPECT_EQ(d.GetCheck(kItuAuto), 1);
        return platform::IDOK;
    });
    app->app->Dispatch(6021);
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRainAttenWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(FieldText(w->Record().diameter), "0.9");
    const std::vector<std::string> lines = losstest::Lines(w->Report());
    ASSERT_GT(lines.size(), 30u);
    EXPECT_EQ(lines[0], "Atmospheric Losses");
    EXPECT_EQ(lines[1], "Orbiscope Test Bench~");
    EXPECT_EQ(lines[2], "Tuesday 5 March 2024");
    EXPECT_TRUE(losstest::HasLine(w->Report(), "Site altitude\t0.250\tkm"));  // the terrain height
    EXPECT_EQ(w->TabStops, (std::vector<int>{300, 400}));
    EXPECT_EQ(child->windowTitle().toStdString().rfind("Rain Attenuation", 0), 0u);
    EXPECT_EQ(app->app->PendingWindowType, TRainAttenWin::kWindowType);
}

struct FieldAt {
    const char* name;
    std::size_t offset;
    std::string bytes;
};

// Version 4004, then the record's fields at their offsets in the file.
TEST_F(RainAttenWindow, DocumentBytes)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    w.Record().ituManual.Set(1);
    w.Record().ituAuto.Set(0);
    PutText(w.Record().manualRainRate, "42");
    const std::string path = (Dir() / "london.atn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    const std::string file = losstest::ReadFile(path);
    ASSERT_EQ(file.size(), 224u);
    const FieldAt fields[] = {
        {"version 4004", 0, std::string("\xA4\x0F", 2)},
        {"site name", 2, std::string("London\0", 7)},
        {"satellite name", 43, std::string("Astra 2E\0", 9)},
        {"site latitude", 84, std::string("51.50N\0", 7)},
        {"site longitude", 97, std::string("0.12W\0", 6)},
        {"site altitude", 110, std::string("auto\0", 5)},
        {"satellite longitude", 123, std::string("28.2E\0", 6)},
        {"frequency", 136, std::string("11.7\0", 5)},
        {"polarization", 149, std::string("H\0", 2)},
        {"availability", 151, std::string("99.99\0", 6)},
        {"system noise", 164, std::string("120\0", 4)},
        {"diameter", 177, std::string("1.2\0", 4)},
        {"efficiency", 190, std::string("65\0", 3)},
        {"rain models", 203, std::string("\0\0\0\0\0\0\1\0", 8)},
        {"manual rain rate", 211, std::string("42\0", 3)},
    };
    for (const auto& f : fields) EXPECT_EQ(file.substr(f.offset, f.bytes.size()), f.bytes) << f.name;
}

// Saved and reopened, the window has the same record and report; an ".att"
// document opens as the same type and is saved as ".atn".
TEST_F(RainAttenWindow, RoundTripAndAttFiles)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    w.Recalculate();
    for (const char* name : {"trip.atn", "trip.att"}) {
        const std::string path = (Dir() / name).string();
        ASSERT_TRUE(w.SaveFile(path.c_str()));
        TRainAttenWin& again = NewWindow(path.c_str());
        EXPECT_EQ(std::memcmp(&again.Record(), &w.Record(), sizeof(AtmosLossInputRecord)), 0) << name;
        EXPECT_EQ(again.Report(), w.Report()) << name;
        EXPECT_FALSE(again.Changed) << name;
        EXPECT_EQ(std::filesystem::path(again.FileName()).extension(), ".atn") << name;
    }
    EXPECT_EQ(orbiscope::FindWindowTypeByExtension(".att")->type, TRainAttenWin::kWindowType);
}

// The older versions as the window reads them: the antenna they lacked is
// 1.20 m at 64 %; an 1813 file's typed rate stays in the record, but the map
// rate is used.
TEST_F(RainAttenWindow, OlderVersionsInTheReport)
{
    AtmosLossInputRecord r{};
    FillLondon(r);
    std::string v4000("\xA0\x0F", 2);
    v4000.append(reinterpret_cast<const char*>(&r), 175);
    v4000.append("\1\0" "ABCD" "\0\0" "12\0\0\0\0\0\0\0\0\0\0\0", 2 + 4 + 2 + 13);
    TRainAttenWin& w = NewWindow(WriteFile("old.atn", v4000).c_str());
    EXPECT_TRUE(losstest::HasLine(w.Report(), "Antenna aperture\t1.20\tm"));
    EXPECT_TRUE(losstest::HasLine(w.Report(), "Antenna efficiency\t64\t%"));

    std::string v1813("\x15\x07", 2);
    v1813.append(reinterpret_cast<const char*>(&r), 149);
    v1813.append(reinterpret_cast<const char*>(&r) + 149, 26);
    v1813.append(std::string(8, '\0')).append("55\0\0\0\0\0\0\0\0\0\0\0", 13);
    atm.calls.clear();
    TRainAttenWin& old = NewWindow(WriteFile("older.atn", v1813).c_str());
    EXPECT_EQ(FieldText(old.Record().manualRainRate), "55");
    EXPECT_TRUE(old.Record().ituAuto.On());
    ASSERT_NE(atm.Find("rain"), nullptr);
    EXPECT_EQ(atm.Find("rain")->args[6], 0.0);  // the rain-rate map
    EXPECT_TRUE(losstest::HasLine(old.Report(), "R0.01\tITU-R (31.500)\t(mm/h)"));
}

TEST_F(RainAttenWindow, UnreadableDocumentsAreReported)
{
    const std::string cut = WriteFile("cut.atn", std::string("\xA4\x0F" "London", 8));
    NewWindow(cut.c_str());
    const std::string other = WriteFile("other.atn", std::string("\xA5\x0F", 2) + std::string(222, '\0'));
    NewWindow(other.c_str());
    const std::vector<std::string> m = Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_NE(m[0].find("cut.atn"), std::string::npos);
    EXPECT_NE(m[1].find("other.atn"), std::string::npos);
}

// A document whose values fail the checks opens the form instead.
TEST_F(RainAttenWindow, InvalidDocumentOpensTheForm)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    PutText(w.Record().systemNoise, "600");
    const std::string path = (Dir() / "bad.atn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    int opened = 0;
    platform::SetDialogDriver(TRainForm::kResourceId, [&](platform::Dialog&) {
        ++opened;
        return platform::IDCANCEL;
    });
    TRainAttenWin& again = NewWindow(path.c_str());
    QCoreApplication::processEvents();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(again.Lines(), 0);
    EXPECT_TRUE(Messages().empty());  // checked silently
}

struct ElevationCase {
    const char* name;
    const char* satLongitude;
    std::vector<std::string> messages;
    bool newReport;
};

// London sees 69.0E at about 4.3 degrees and 72.0E at about 2.6.
TEST_F(RainAttenWindow, LowElevations)
{
    const ElevationCase cases[] = {
        {"warning, then the report", "69.0E",
         {"Elevation|Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)"}, true},
        {"error, the old report stays", "72.0E",
         {"Elevation|ERROR: Elevation < 3 degrees (some atmospheric models are invalid)"}, false},
    };
    for (const ElevationCase& c : cases) {
        TRainAttenWin& w = NewWindow();
        FillLondon(w.Record());
        w.Recalculate();
        const std::string before = w.Report();
        PutText(w.Record().satLongitude, c.satLongitude);
        app->messages.calls.clear();
        w.Recalculate();
        EXPECT_EQ(Messages(), c.messages) << c.name;
        EXPECT_EQ(w.Report() != before, c.newReport) << c.name;
    }
}

// Cancel keeps the typed text for the next save without a recalculation;
// the window then asks before it closes unsaved.  OK over a report marks the
// document changed too.
TEST_F(RainAttenWindow, CancelKeepsTheTypedText)
{
    TRainAttenWin& w = NewWindow();
    FillLondon(w.Record());
    w.Recalculate();
    const std::string report = w.Report();
    platform::SetDialogDriver(TRainForm::kResourceId, [](platform::Dialog& d) {
        d.SetControlText(kSystemNoise, "9999");
        return platform::IDCANCEL;
    });
    w.CmEditInputs();
    EXPECT_EQ(FieldText(w.Record().systemNoise), "9999");
    EXPECT_EQ(w.Report(), report);
    EXPECT_TRUE(w.Changed);
    const std::string path = (Dir() / "cancelled.atn").string();
    ASSERT_TRUE(w.SaveFile(path.c_str()));
    EXPECT_EQ(losstest::ReadFile(path).substr(164, 5), std::string("9999\0", 5));

    TRainAttenWin& other = NewWindow();
    FillLondon(other.Record());
    other.Recalculate();
    platform::SetDialogDriver(TRainForm::kResourceId, [](platform::Dialog&) { return platform::IDCANCEL; });
    other.CmEditInputs();
    EXPECT_FALSE(other.Changed);
    platform::SetDialogDriver(TRainForm::kResourceId, [](platform::Dialog&) { return platform::IDOK; });
    other.CmEditInputs();
    EXPECT_TRUE(other.Changed);
}

// "Crane USA" computes with the map rate and leaves both buttons set.
TEST_F(RainAttenWindow, CraneUsesTheMapRate)
{
    TRainAttenWin& itu = NewWindow();
    FillLondon(itu.Record());
    itu.Recalculate();
    TRainAttenWin& crane = NewWindow();
    FillLondon(crane.Record());
    crane.Record().ituAuto.Set(0);
    crane.Record().craneUsa.Set(1);
    crane.Recalculate();
    EXPECT_EQ(crane.Report(), itu.Report());
    EXPECT_TRUE(crane.Record().ituAuto.On());
    EXPECT_TRUE(crane.Record().craneUsa.On());
}

struct FormCase {
    const char* name;
    int field;
    const char* text;
    bool manual;      // "ITU-R (mm/h)" selected
    const char* message;  // caption|text of the refusal, or null
};

const FormCase kForms[] = {
    {"altitude auto in any case", kSiteAltitude, "Auto", false, nullptr},
    {"altitude 5 km", kSiteAltitude, "5", false, nullptr},
    {"altitude 5.1 km", kSiteAltitude, "5.1", false,
     "Range Error|Site altitude\r\nRange 0.000000 to 5.000000 km"},
    {"frequency 56 GHz", kFrequency, "56", false, "Range Error|Frequency\r\nRange 0.000700 to 55.000000 GHz"},
    {"polarization X", kPolarization, "X", false, "Invalid Character Error|Polarization"},
    {"availability 39", kAvailability, "39", false,
     "Range Error|Signal availability\r\nRange 40.000000 to 99.999990 % of average year"},
    {"system noise 501", kSystemNoise, "501", false, "Range Error|Total system noise\r\nRange 10.000000 to 500.000000 K"},
    {"diameter empty", kDiameter, "", false, "Empty Field Error|Antenna aperture"},
    {"efficiency 9", kEfficiency, "9", false, "Range Error|Antenna efficiency\r\nRange 10.000000 to 100.000000 %"},
    {"manual rate unchecked with the map", kManualRate, "", false, nullptr},
    {"manual rate 201", kManualRate, "201", true,
     "Range Error|Manual rain attenuation value\r\nRange 0.000000 to 200.000000 mm/hr"},
    {"manual rate 0", kManualRate, "0", true, nullptr},
};

TEST_F(RainAttenWindow, FormChecks)
{
    for (const FormCase& c : kForms) {
        AtmosLossInputRecord r{};
        FillLondon(r);
        r.ituAuto.Set(c.manual ? 0 : 1);
        r.ituManual.Set(c.manual ? 1 : 0);
        TRainForm form(nullptr, r);
        form.SetupWindow();
        form.SetControlText(c.field, c.text);
        app->messages.calls.clear();
        const bool accepted = form.CanClose();
        EXPECT_EQ(accepted, c.message == nullptr) << c.name;
        if (c.message) {
            ASSERT_EQ(app->messages.calls.size(), 1u) << c.name;
            const std::string m = Messages()[0];
            EXPECT_EQ(m.substr(0, std::strlen(c.message)), c.message) << c.name;
        }
    }
}

// The Site and Satellite buttons copy the pickers' choice into the form.
TEST_F(RainAttenWindow, SiteAndSatellitePickers)
{
    SetPickers(
        [](TForm& f) {
            std::strcpy(f.App()->PickedSiteName, "Quito, Ecuador");
            std::strcpy(f.App()->PickedSiteLatitude, "0.22S");
            std::strcpy(f.App()->PickedSiteLongitude, "78.51W");
            std::strcpy(f.App()->PickedSiteAltitude, "AUTO");
            return true;
        },
        [](TForm& f) {
            std::strcpy(f.App()->PickedSatName, "Amazonas 3");
            std::strcpy(f.App()->PickedSatLongitude, "61.0W");
            return true;
        });
    AtmosLossInputRecord r{};
    FillLondon(r);
    PutText(r.siteAltitude, "0.1");
    TRainForm form(nullptr, r);
    form.SetupWindow();
    form.CmSite();
    form.CmSatellite();
    EXPECT_EQ(form.GetControlText(kSiteName), "Quito, Ecuador");
    EXPECT_EQ(form.GetControlText(kSiteLatitude), "0.22S");
    EXPECT_EQ(form.GetControlText(kSiteLongitude), "78.51W");
    EXPECT_EQ(form.GetControlText(kSiteAltitude), "AUTO");
    EXPECT_EQ(form.GetControlText(kSatName), "Amazonas 3");
    EXPECT_EQ(form.GetControlText(kSatLongitude), "61.0W");
    EXPECT_EQ(form.GetControlText(kFrequency), "11.7");
    SetPickers({}, {});
}

class Quiet final : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string&) override { ++failures; }
    int failures = 0;
};

// The window in the frame over the real maps, as a user sees it, drawn to
// docs/atmospheric-losses.png; the form beside it to the build folder.
TEST_F(RainAttenWindow, Screenshot)
{
    Quiet observer;
    LoadItuMaps(startDir, observer);
    ASSERT_EQ(observer.failures, 0) << "the ITU-R maps are unpacked into the build folder";
    TRainAttenWin::SetAtmosphere(nullptr);
    auto& frame = *app->app->Frame();
    frame.resize(900, 860);
    app->app->Dispatch(6021);  // its form is cancelled
    QCoreApplication::processEvents();
    auto* child = app->app->Client()->ActiveDocumentChild();
    ASSERT_NE(child, nullptr);
    auto* w = dynamic_cast<TRainAttenWin*>(child->Document());
    ASSERT_NE(w, nullptr);
    FillLondon(w->Record());
    w->Recalculate();
    EXPECT_TRUE(losstest::HasLine(w->Report(), "R0.01\tITU-R (26.485)\t(mm/h)"));
    child->move(0, 0);
    child->resize(820, 770);
    QCoreApplication::processEvents();
    const QImage img = frame.grab().toImage();
    ASSERT_FALSE(img.isNull());
    const std::filesystem::path docs = std::filesystem::path(__FILE__).parent_path() / "../../../docs";
    EXPECT_TRUE(img.save(QString::fromStdString((docs / "atmospheric-losses.png").lexically_normal().string())));

    TRainForm form(nullptr, w->Record());
    form.SetupWindow();
    form.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().toImage().save(QString::fromStdString((startDir / "atmospheric-losses-form.png").string())));
    FreeItuMaps();
}

}  // namespace
