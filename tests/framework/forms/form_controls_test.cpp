// Field help and hints of the form controls: F1 opens the topic of the
// control's id, the option buttons put their string-table hint in the status
// bar when they take the focus.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <functional>
#include <memory>
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
    std::string Status() const { return f.app->Frame()->StatusText(); }

    testsupport::AppFixture f;
    testsupport::HelpRecorder help;
};

using Maker = std::function<TMyControl*(TForm*, int)>;
template <class T>
Maker Make()
{
    return [](TForm* form, int id) { return new T(form, id); };
}

struct HintCase { const char* className; Maker make; ControlKind kind; int controlId; const char* hint; };

// One row per control class, since each carries a table of its own, and a
// row for each way a lookup can come out empty: an id the class's table does
// not hold (462, 13347, 3452), a string the string table lacks (7353), and
// one id in two classes (14719), which only the class's own table may decide.
// The texts are the string table's, odd spellings included.
std::vector<HintCase> HintCases()
{
    using K = ControlKind;
    const K cb = K::CheckBox, rb = K::RadioButton;
    return {
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 453, "Include S band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 460, "Include Q/V band satellites"},
        {"TBandCheckBox", Make<TBandCheckBox>(), cb, 462, ""},
        {"TIncludeSatCheckBox", Make<TIncludeSatCheckBox>(), cb, 3001, "Check to include this satellite in ASI calculations"},
        {"TIncludeCheckBox", Make<TIncludeCheckBox>(), cb, 2951, "Check box to include this value in the power ratio addition"},
        {"TASIManualCheckBox", Make<TASIManualCheckBox>(), cb, 77, "Check to use alternative manual inputs for Csat/ASIo"},
        {"TModulationRadioButton", Make<TModulationRadioButton>(), rb, 4739, "Select 1 bit/symbol modulation (MSK,GMSK,BPSK etc also set M=2}"},
        {"TTransponderRadioButton", Make<TTransponderRadioButton>(), rb, 14063, "Select for TWTA transponder"},
        {"TDualFadeCheckBox", Make<TDualFadeCheckBox>(), cb, 14720, "Check for rain-up AND rain-down link budget scenario"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14706, "Selects ITU-R model"},
        {"TRainModelRadioButton", Make<TRainModelRadioButton>(), rb, 14702, ""},
        {"TSeasonRadioButton", Make<TSeasonRadioButton>(), rb, 592, "Selects late season sun outage"},
        {"TOutageResRadioButton", Make<TOutageResRadioButton>(), rb, 17006, "Calculate times to the nearest second"},
        {"TOutageBeamRadioButton", Make<TOutageBeamRadioButton>(), rb, 17004, "Use wide beamwidth, 1.5 times that of uniformly illuminated antenna"},
        {"TOutputTimeRadioButton", Make<TOutputTimeRadioButton>(), rb, 17008, "Selects time output in Local Civil Time"},
        {"TOffAxisRadioButton", Make<TOffAxisRadioButton>(), rb, 2656, "Selects cross-polar antenna template"},
        {"TOutputStringRadioButton", Make<TOutputStringRadioButton>(), rb, 13332, "Selects lat/long output in string mode (eg 112.00W)"},
        {"TLongFormatRadioButton", Make<TLongFormatRadioButton>(), rb, 13335, "Sort TLE by longitude degrees west"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13346, "Sort TLE by satellite range"},
        {"TSortRadioButton", Make<TSortRadioButton>(), rb, 13347, ""},
        {"TTargetRadioButton", Make<TTargetRadioButton>(), rb, 5518, "Sets Es/No as the target value"},
        {"TRateRadioButton", Make<TRateRadioButton>(), rb, 4750, "Sets rate input to a be a symbol rate"},
        {"TTxRxRadioButton", Make<TTxRxRadioButton>(), rb, 2659, "Use AP8/S.580 antenna template"},
        {"TOptionRadioButton", Make<TOptionRadioButton>(), rb, 17009, "Save TAB delimired text in vertical mode"},
        {"TPilotsCheckBox", Make<TPilotsCheckBox>(), cb, 247, "Check for active pilots, clear if no pilots (default)"},
        {"TFrameRadioButton", Make<TFrameRadioButton>(), rb, 246, "Select for normal frames"},
        {"TBWSelectRadioButton", Make<TBWSelectRadioButton>(), rb, 2845, "Selects the occupied bandwidth field for input"},
        {"TGEOSelectRadioButton", Make<TGEOSelectRadioButton>(), rb, 5609, "Select NON GEO as the active input"},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3452, ""},
        {"TInterferenceRadioButton", Make<TInterferenceRadioButton>(), rb, 3454, "Select to enter downlink Csat/Io interference inputs (dB-Hz)"},
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
        // F1 on any of them opens its form's page at its entry.
        help.requests.clear();
        PressF1(form, c.controlId);
        EXPECT_EQ(help.requests, (std::vector<std::pair<int, int>>{{5000, c.controlId}})) << c.className;
    }
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
    EXPECT_EQ((new TMyEdit(&form, 201, 20))->TextLimit(), 20);
    new TMyEdit(&form, 202, 20);
    new TMyRadioButton(&form, 203);
    new TMyListBox(&form, 204);
    new TMyCheckBox(&form, 205);
    // 206 has no control object: a plain dialog edit knows no F1.
    for (int id : {201, 202, 203, 204, 205, 206}) PressF1(form, id);
    EXPECT_EQ(help.requests, (std::vector<std::pair<int, int>>{{5001, 201}, {5001, 203}, {5001, 204}, {5001, 205}}));
    // A form whose Help button opens another topic: F1 looks there too.
    BindHelpButton(form, 551);
    help.requests.clear();
    PressF1(form, 201);
    form.OnButton(platform::IDHELP);
    EXPECT_EQ(help.requests, (std::vector<std::pair<int, int>>{{551, 201}, {551, 0}}));

    // The base controls have no hints: the status bar keeps its text.
    f.app->Frame()->SetStatusText("kept");
    for (int id : {201, 203, 204, 205}) Focus(form, id);
    EXPECT_EQ(Status(), "kept");
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
