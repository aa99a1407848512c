// Field help and hints of the form controls: F1 opens the topic of the
// control's id, the option buttons put their string-table hint in the status
// bar when they take the focus.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/forms/form.h"
#include "framework/forms/form_controls.h"
#include "framework/forms/hint_strings.h"
#include "tests/framework/app/gui_support.h"

using platform::ControlKind;
using platform::ControlSpec;

namespace {

ControlSpec MakeControl(ControlKind kind, int id, int limit = 0, bool readOnly = false)
{
    ControlSpec c;
    c.kind = kind;
    c.id = id;
    c.textLimit = limit;
    c.readOnly = readOnly;
    return c;
}

void Focus(TForm& form, int id)
{
    QFocusEvent event(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.Control(id), &event);
}

void PressF1(TForm& form, int id)
{
    QKeyEvent event(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Control(id), &event);
}

class ControlsTest : public ::testing::Test {
protected:
    ControlsTest()
    {
        platform::HelpViewer::SetSink([this](int id) {
            help.push_back(id);
            return true;
        });
    }
    std::string Status() const { return f.app->Frame()->StatusText(); }

    testsupport::AppFixture f;
    std::vector<int> help;
};

using Maker = std::function<TMyControl*(TForm*, int)>;
template <class T>
Maker Make()
{
    return [](TForm* form, int id) { return new T(form, id); };
}

struct HintCase {
    const char* className;
    Maker make;
    ControlKind kind;
    int controlId;
    const char* hint;
};

// The hint table of the form controls, as the string table holds the texts.
std::vector<HintCase> HintCases()
{
    using K = ControlKind;
    const K cb = K::CheckBox, rb = K::RadioButton;
    return {
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 453, "Include S band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 454, "Include C satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 455, "Include Ku band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 456, "Include Ka band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 457, "Include UHF band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 458, "Include L band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 459, "Include X band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 460, "Include Q/V band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 461, "Include other band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 462, ""},  // not in its table
        {"TIncludeSatCheckBox", Make<TIncludeSatCheckBox>(), cb, 3001, "Check to include this satellite in ASI calculations"},
        {"TIncludeCheckBox", Make<TIncludeCheckBox>(), cb, 2951, "Check box to include this value in the power ratio addition"},
        {"TASIManualCheckBox", Make<TASIManualCheckBox>(), cb, 77, "Check to use alternative manual inputs for Csat/ASIo"},
        {"TModulationRadioButton", Make<TModulationRadioButton>(), rb, 4739, "Select 1 bit/symbol modulation (MSK,GMSK,BPSK etc also set M=2}"},
        {"TModulationRadioButton", Make<TModulationRadioButton>(), rb, 4740, "Select M-ary PSK / APSK modulation (M=4,8,16,32 etc)"},
        {"TModulationRadioButton", Make<TModulationRadioButton>(), rb, 4741, "Select M-ary QAM modulation (M=8,16,64,256)"},
        {"TTransponderRadioButton", Make<TTransponderRadioButton>(), rb, 14062, "Select for SSPA transponder"},
        {"TTransponderRadioButton", Make<TTransponderRadioButton>(), rb, 14063, "Select for TWTA transponder"},
        {"TTransponderRadioButton", Make<TTransponderRadioButton>(), rb, 14066, "Select for LTWTA transponder"},
        {"TDualFadeCheckBox", Make<TDualFadeCheckBox>(), cb, 14720, "Check for rain-up AND rain-down link budget scenario"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14071, "Selects ITU-R model"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14706, "Selects ITU-R model"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14702, ""},  // string 7353 is missing
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14713, ""},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14704, ""},  // string 7354 is missing
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14709, ""},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14705, "Fixed rain attenuation value in dB"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14710, "Fixed rain attenuation value in dB"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14703, "Selects clear sky calculations only"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14714, "Selects clear sky calculations only"},
        {"TSeasonRadioButton", Make<TSeasonRadioButton>(), rb, 591, "Selects early season sun outages"},
        {"TSeasonRadioButton", Make<TSeasonRadioButton>(), rb, 592, "Selects late season sun outage"},
        {"TOutageResRadioButton", Make<TOutageResRadioButton>(), rb, 17005, "Calculate times to the nearest minute"},
        {"TOutageResRadioButton", Make<TOutageResRadioButton>(), rb, 17006, "Calculate times to the nearest second"},
        {"TOutageBeamRadioButton", Make<TOutageBeamRadioButton>(), rb, 17003, "Use beamwidth of uniformly illuminated circular aperture"},
        {"TOutageBeamRadioButton", Make<TOutageBeamRadioButton>(), rb, 17004, "Use wide beamwidth, 1.5 times that of uniformly illuminated antenna"},
        {"TOutputTimeRadioButton", Make<TOutputTimeRadioButton>(), rb, 17007, "Selects time output in Greenwich Mean Time (GMT)"},
        {"TOutputTimeRadioButton", Make<TOutputTimeRadioButton>(), rb, 17008, "Selects time output in Local Civil Time"},
        {"TOffAxisRadioButton", Make<TOffAxisRadioButton>(), rb, 2656, "Selects cross-polar antenna template"},
        {"TOffAxisRadioButton", Make<TOffAxisRadioButton>(), rb, 2657, "Selects co-polar antenna template"},
        {"TOutputStringRadioButton", Make<TOutputStringRadioButton>(), rb, 13331, "Selects lat/long output in numerical mode (eg -112.00)"},
        {"TOutputStringRadioButton", Make<TOutputStringRadioButton>(), rb, 13332, "Selects lat/long output in string mode (eg 112.00W)"},
        {"TLongFormatRadioButton", Make<TLongFormatRadioButton>(), rb, 13333, "Sort TLE by modulo 180 (east +ve)"},
        {"TLongFormatRadioButton", Make<TLongFormatRadioButton>(), rb, 13334, "Sort TLE by longitude degrees east"},
        {"TLongFormatRadioButton", Make<TLongFormatRadioButton>(), rb, 13335, "Sort TLE by longitude degrees west"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13338, "Sort TLE by satellite name"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13339, "Sort TLE by satellite ID (chronological)"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13340, "Sort TLE by orbit inclination"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13341, "Sort TLE by satellite latitude"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13342, "Sort TLE by satellite longitude"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13343, "Sort TLE by satellite altitude"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13344, "Sort TLE by satellite azimuth"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13345, "Sort TLE by satellite elevation"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13346, "Sort TLE by satellite range"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13347, ""},
        {"TTargetRadioButton", Make<TTargetRadioButton>(), rb, 5517, "Sets Eb/No as the target value"},
        {"TTargetRadioButton", Make<TTargetRadioButton>(), rb, 5518, "Sets Es/No as the target value"},
        {"TRateRadioButton", Make<TRateRadioButton>(), rb, 4749, "Sets rate input to be an info rate"},
        {"TRateRadioButton", Make<TRateRadioButton>(), rb, 4750, "Sets rate input to a be a symbol rate"},
        {"TTxRxRadioButton", Make<TTxRxRadioButton>(), rb, 2658, "Use BO.1213 antenna template"},
        {"TTxRxRadioButton", Make<TTxRxRadioButton>(), rb, 2659, "Use AP8/S.580 antenna template"},
        {"TOptionRadioButton", Make<TOptionRadioButton>(), rb, 17009, "Save TAB delimired text in vertical mode"},
        {"TOptionRadioButton", Make<TOptionRadioButton>(), rb, 17019, "Save TAB delimited text in horizontal mode for spreadsheet import"},
        {"TOptionRadioButton", Make<TOptionRadioButton>(), rb, 17020, "Save output as a HTML file"},
        {"TPilotsCheckBox", Make<TPilotsCheckBox>(), cb, 247, "Check for active pilots, clear if no pilots (default)"},
        {"TFrameRadioButton", Make<TFrameRadioButton>(), rb, 240, "Select for short frames"},
        {"TFrameRadioButton", Make<TFrameRadioButton>(), rb, 244, "Select for medium frames"},
        {"TFrameRadioButton", Make<TFrameRadioButton>(), rb, 246, "Select for normal frames"},
        {"TBWSelectRadioButton", Make<TBWSelectRadioButton>(), rb, 2843, "Selects the info rate field for input"},
        {"TBWSelectRadioButton", Make<TBWSelectRadioButton>(), rb, 2844, "Selects the symbol rate field for input"},
        {"TBWSelectRadioButton", Make<TBWSelectRadioButton>(), rb, 2845, "Selects the occupied bandwidth field for input"},
        {"TGEOSelectRadioButton", Make<TGEOSelectRadioButton>(), rb, 5608, "Select GEO as the active input"},
        {"TGEOSelectRadioButton", Make<TGEOSelectRadioButton>(), rb, 5609, "Select NON GEO as the active input"},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3450, "Select to enter uplink C/I interference inputs (dB)"},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3451, "Select to enter uplink C/Io interference inputs (dB-Hz)"},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3452, ""},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3453, "Select to enter downlink C/I interference inputs (dB)"},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3454, "Select to enter downlink Csat/Io interference inputs (dB-Hz)"},
        {"TIncDepolCheckBox", Make<TIncDepolCheckBox>(), cb, 14717, "Check to include rain depolarization (default), uncheck to exclude rain depolarization"},
        {"TIncDepolCheckBox", Make<TIncDepolCheckBox>(), cb, 14718, "Check to include rain depolarization (default), uncheck to exclude rain depolarization"},
        {"TIncDepolCheckBox", Make<TIncDepolCheckBox>(), cb, 14719, ""},
        {"TXPIColocateCheckBox", Make<TXPIColocateCheckBox>(), cb, 14719, "Uncheck if source of XPI is not co-located with uplink site"},
        {"TArg1CheckBox", Make<TArg1CheckBox>(), cb, 6801, "Check for CSV output, uncheck for TAB separated text output"},
        {"TArg2CheckBox", Make<TArg2CheckBox>(), cb, 6802, "Check to include input values in ouput files"},
        {"TArg3CheckBox", Make<TArg3CheckBox>(), cb, 6803, "Check to proceed without showing popup error messages"},
        {"THideCmdWindowCheckBox", Make<THideCmdWindowCheckBox>(), cb, 6805, "Check to hide the command line (cmd.exe) window"},
    };
}

TEST_F(ControlsTest, OptionButtonsShowTheirHintOnFocus)
{
    for (const HintCase& c : HintCases()) {
        TForm form(nullptr, 5000, "Hints", {MakeControl(c.kind, c.controlId)});
        c.make(&form, c.controlId);
        f.app->Frame()->SetStatusText("before");
        Focus(form, c.controlId);
        EXPECT_EQ(Status(), c.hint) << c.className << " " << c.controlId;
        EXPECT_STREQ(f.app->HintText, c.hint) << c.className << " " << c.controlId;
        // F1 on any of them opens the topic of its id.
        help.clear();
        PressF1(form, c.controlId);
        EXPECT_EQ(help, std::vector<int>{c.controlId}) << c.className;
    }
}

TEST_F(ControlsTest, EveryOptionClassIsInTheHintCases)
{
    std::set<std::string> classes;
    for (const HintCase& c : HintCases()) classes.insert(c.className);
    EXPECT_EQ(classes.size(), 31u);
}

TEST_F(ControlsTest, MovingBetweenBandBoxesChangesTheStatusBar)
{
    TForm form(nullptr, 450, "Satellite", {MakeControl(ControlKind::CheckBox, 457), MakeControl(ControlKind::CheckBox, 461)});
    new TBandCheckBox(&form, 457);
    new TBandCheckBox(&form, 461);
    Focus(form, 457);
    EXPECT_EQ(Status(), "Include UHF band satellites");
    Focus(form, 461);
    EXPECT_EQ(Status(), "Include other band satellites");
}

TEST_F(ControlsTest, RealFocusChangeShowsTheHint)
{
    TForm form(nullptr, 451, "Satellite", {MakeControl(ControlKind::CheckBox, 457), MakeControl(ControlKind::CheckBox, 461)});
    new TBandCheckBox(&form, 457);
    new TBandCheckBox(&form, 461);
    form.show();
    form.activateWindow();
    QCoreApplication::processEvents();
    form.Control(461)->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    if (!form.Control(461)->hasFocus()) GTEST_SKIP() << "the platform gives no keyboard focus";
    EXPECT_EQ(Status(), "Include other band satellites");
}

TEST_F(ControlsTest, HelpOnEveryBaseControlButNotAReadOnlyEdit)
{
    using K = ControlKind;
    TForm form(nullptr, 5001, "Help",
               {MakeControl(K::Edit, 201, 20), MakeControl(K::Edit, 202, 20, true), MakeControl(K::RadioButton, 203),
                MakeControl(K::ListBox, 204), MakeControl(K::CheckBox, 205), MakeControl(K::Edit, 206, 20)});
    new TMyEdit(&form, 201, 20);
    new TMyEdit(&form, 202, 20);
    new TMyRadioButton(&form, 203);
    new TMyListBox(&form, 204);
    new TMyCheckBox(&form, 205);
    // 206 has no control object: a plain dialog edit knows no F1.
    for (int id : {201, 202, 203, 204, 205, 206}) PressF1(form, id);
    EXPECT_EQ(help, (std::vector<int>{201, 203, 204, 205}));

    // The base controls have no hints: the status bar keeps its text.
    f.app->Frame()->SetStatusText("kept");
    for (int id : {201, 203, 204, 205}) Focus(form, id);
    EXPECT_EQ(Status(), "kept");
}

TEST_F(ControlsTest, EditTakesAtMostItsLimitLessOne)
{
    TForm form(nullptr, 5002, "Limit", {MakeControl(ControlKind::Edit, 300, 13)});
    auto* edit = new TMyEdit(&form, 300, 13);
    EXPECT_EQ(edit->TextLimit(), 13);
    form.SetControlText(300, "123456789012345");
    EXPECT_EQ(form.GetControlText(300), "123456789012");
}

TEST(HintStrings, ApplicationTableFirstThenTheFormHints)
{
    EXPECT_STREQ(orbiscope::FormStringText(7404), "Include other band satellites");
    EXPECT_STREQ(orbiscope::FormStringText(7353), "");
    EXPECT_STREQ(orbiscope::FormStringText(7354), "");
    EXPECT_STREQ(orbiscope::FormStringText(0), "");
    EXPECT_STREQ(orbiscope::AnyStringText(7178), "Select 1 bit/symbol modulation (MSK,GMSK,BPSK etc also set M=2}");
    EXPECT_STREQ(orbiscope::AnyStringText(32550), "Untitled");
    EXPECT_STREQ(orbiscope::AnyStringText(6610), "Set preferences");
}

TEST(HintStrings, LookupOfAClassTable)
{
    static constexpr HintEntry table[] = {{10, 7173}, {kAnyControl, 7174}};
    static constexpr HintEntry texts[] = {{5, 0, "given text"}};
    EXPECT_STREQ(HintFor(table, 10), "Include S band satellites");
    EXPECT_STREQ(HintFor(table, 11), "Include C satellites");
    EXPECT_STREQ(HintFor(texts, 5), "given text");
    EXPECT_STREQ(HintFor(texts, 6), "");
    EXPECT_STREQ(HintFor({}, 6), "");
}

}  // namespace
