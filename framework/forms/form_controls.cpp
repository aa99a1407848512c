#include "framework/forms/form_controls.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <algorithm>
#include <cstring>

#include "framework/app/orbiscope.h"
#include "framework/forms/form.h"
#include "framework/forms/hint_strings.h"
#include "platform/mdi.h"

const char* HintFor(HintTable table, int controlId)
{
    for (const HintEntry& e : table) {
        if (e.controlId != controlId && e.controlId != kAnyControl) continue;
        if (e.text) return e.text;
        return orbiscope::AnyStringText(e.stringId);
    }
    return "";
}

void BindHelpButton(TForm& form, int topic)
{
    form.SetHelpTopic(topic);
    form.SetHandler(platform::IDHELP, [&form, topic] { form.ShowHelp(topic); });
}

void ShowStatusHint(TOrbiscope* app, const char* text)
{
    if (!app) return;
    const std::size_t n = std::min(std::strlen(text), sizeof app->HintText - 1);
    std::memcpy(app->HintText, text, n);
    app->HintText[n] = '\0';
    if (platform::MdiFrame* frame = app->Frame()) frame->SetStatusText(app->HintText);
}

TMyControl::TMyControl(TForm* parent, int id)
    : QObject(parent), form_(parent), id_(id), widget_(parent ? parent->Control(id) : nullptr), app_(TOrbiscope::Current())
{
    if (widget_) widget_->installEventFilter(this);
}

bool TMyControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget_) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            EvHelp();
            return true;
        }
        if (event->type() == QEvent::FocusIn) EvSetFocus();  // then the widget's own focus handling
    }
    return QObject::eventFilter(watched, event);
}

void TMyControl::EvHelp()
{
    if (!ShowsHelp()) return;
    if (form_) form_->ShowFieldHelp(id_);
    else if (app_) app_->ShowHelp(id_);
}

void TMyControl::EvSetFocus()
{
    if (hints_.empty()) return;
    ShowStatusHint(app_, HintFor(hints_, id_));
}

TMyEdit::TMyEdit(TForm* parent, int id, int textLimit) : TMyControl(parent, id), textLimit_(textLimit) {}

bool TMyEdit::ShowsHelp() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(Widget())) return !edit->isReadOnly();
    if (auto* text = qobject_cast<QPlainTextEdit*>(Widget())) return !text->isReadOnly();
    return true;
}

// ---- the option buttons with hints -------------------------------------------

namespace {

constexpr HintEntry kBandCheckBox[] = {{453, 7173}, {454, 7174}, {455, 7175}, {456, 7176}, {457, 7400}, {458, 7401}, {459, 7403}, {460, 7402}, {461, 7404}};
constexpr HintEntry kIncludeSatCheckBox[] = {{kAnyControl, 9204}};
constexpr HintEntry kIncludeCheckBox[] = {{kAnyControl, 9211}};
constexpr HintEntry kASIManualCheckBox[] = {{kAnyControl, 9205}};
constexpr HintEntry kModulationRadioButton[] = {{4739, 7178}, {4740, 7179}, {4741, 7180}};
constexpr HintEntry kTransponderRadioButton[] = {{14062, 7222}, {14063, 7221}, {14066, 7240}};
constexpr HintEntry kDualFadeCheckBox[] = {{kAnyControl, 7363}};
constexpr HintEntry kRainModelRadioButton[] = {{14071, 7350}, {14706, 7350}, {14702, 7353}, {14713, 7353}, {14704, 7354}, {14709, 7354}, {14705, 7355}, {14710, 7355}, {14703, 7364}, {14714, 7364}};
constexpr HintEntry kSeasonRadioButton[] = {{591, 7710}, {592, 7711}};
constexpr HintEntry kOutageResRadioButton[] = {{17005, 7223}, {17006, 7224}};
constexpr HintEntry kOutageBeamRadioButton[] = {{17003, 7207}, {17004, 7208}};
constexpr HintEntry kOutputTimeRadioButton[] = {{17007, 7700}, {17008, 7701}};
constexpr HintEntry kOffAxisRadioButton[] = {{2656, 7233}, {2657, 7232}};
constexpr HintEntry kOutputStringRadioButton[] = {{13331, 7406}, {13332, 7407}};
constexpr HintEntry kLongFormatRadioButton[] = {{13333, 7408}, {13334, 7409}, {13335, 7410}};
constexpr HintEntry kSortRadioButton[] = {{13338, 7411}, {13339, 7412}, {13340, 7413}, {13341, 7414}, {13342, 7415}, {13343, 7416}, {13344, 7417}, {13345, 7418}, {13346, 7419}};
constexpr HintEntry kTargetRadioButton[] = {{5517, 7310}, {5518, 7311}};
constexpr HintEntry kRateRadioButton[] = {{4749, 7312}, {4750, 7313}};
constexpr HintEntry kTxRxRadioButton[] = {{2658, 7231}, {2659, 7234}};
constexpr HintEntry kOptionRadioButton[] = {{17009, 7722}, {17019, 7724}, {17020, 7725}};
constexpr HintEntry kPilotsCheckBox[] = {{kAnyControl, 7133}};
constexpr HintEntry kFrameRadioButton[] = {{240, 7126}, {244, 7127}, {246, 7129}};
constexpr HintEntry kBWSelectRadioButton[] = {{2843, 7603}, {2844, 7604}, {2845, 7605}};
constexpr HintEntry kGEOSelectRadioButton[] = {{5608, 5610}, {5609, 5611}};
constexpr HintEntry kInterferenceRadioButton[] = {{3450, 7072}, {3451, 7073}, {3453, 7370}, {3454, 7371}};
constexpr HintEntry kIncDepolCheckBox[] = {{14717, 7365}, {14718, 7365}};
constexpr HintEntry kXPIColocateCheckBox[] = {{kAnyControl, 7366}};
constexpr HintEntry kArg1CheckBox[] = {{kAnyControl, 6811}};
constexpr HintEntry kArg2CheckBox[] = {{kAnyControl, 6812}};
constexpr HintEntry kArg3CheckBox[] = {{kAnyControl, 6813}};
constexpr HintEntry kHideCmdWindowCheckBox[] = {{kAnyControl, 6815}};
}  // namespace

TBandCheckBox::TBandCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TBandCheckBox::Table() { return kBandCheckBox; }
TIncludeSatCheckBox::TIncludeSatCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TIncludeSatCheckBox::Table() { return kIncludeSatCheckBox; }
TIncludeCheckBox::TIncludeCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TIncludeCheckBox::Table() { return kIncludeCheckBox; }
TASIManualCheckBox::TASIManualCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TASIManualCheckBox::Table() { return kASIManualCheckBox; }
TModulationRadioButton::TModulationRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TModulationRadioButton::Table() { return kModulationRadioButton; }
TTransponderRadioButton::TTransponderRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TTransponderRadioButton::Table() { return kTransponderRadioButton; }
TDualFadeCheckBox::TDualFadeCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TDualFadeCheckBox::Table() { return kDualFadeCheckBox; }
TRainModelRadioButton::TRainModelRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TRainModelRadioButton::Table() { return kRainModelRadioButton; }
TSeasonRadioButton::TSeasonRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TSeasonRadioButton::Table() { return kSeasonRadioButton; }
TOutageResRadioButton::TOutageResRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOutageResRadioButton::Table() { return kOutageResRadioButton; }
TOutageBeamRadioButton::TOutageBeamRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOutageBeamRadioButton::Table() { return kOutageBeamRadioButton; }
TOutputTimeRadioButton::TOutputTimeRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOutputTimeRadioButton::Table() { return kOutputTimeRadioButton; }
TOffAxisRadioButton::TOffAxisRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOffAxisRadioButton::Table() { return kOffAxisRadioButton; }
TOutputStringRadioButton::TOutputStringRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOutputStringRadioButton::Table() { return kOutputStringRadioButton; }
TLongFormatRadioButton::TLongFormatRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TLongFormatRadioButton::Table() { return kLongFormatRadioButton; }
TSortRadioButton::TSortRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TSortRadioButton::Table() { return kSortRadioButton; }
TTargetRadioButton::TTargetRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TTargetRadioButton::Table() { return kTargetRadioButton; }
TRateRadioButton::TRateRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TRateRadioButton::Table() { return kRateRadioButton; }
TTxRxRadioButton::TTxRxRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TTxRxRadioButton::Table() { return kTxRxRadioButton; }
TOptionRadioButton::TOptionRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TOptionRadioButton::Table() { return kOptionRadioButton; }
TPilotsCheckBox::TPilotsCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TPilotsCheckBox::Table() { return kPilotsCheckBox; }
TFrameRadioButton::TFrameRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TFrameRadioButton::Table() { return kFrameRadioButton; }
TBWSelectRadioButton::TBWSelectRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TBWSelectRadioButton::Table() { return kBWSelectRadioButton; }
TGEOSelectRadioButton::TGEOSelectRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TGEOSelectRadioButton::Table() { return kGEOSelectRadioButton; }
TInterferenceRadioButton::TInterferenceRadioButton(TForm* parent, int id) : TMyRadioButton(parent, id) { SetHints(Table()); }
HintTable TInterferenceRadioButton::Table() { return kInterferenceRadioButton; }
TIncDepolCheckBox::TIncDepolCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TIncDepolCheckBox::Table() { return kIncDepolCheckBox; }
TXPIColocateCheckBox::TXPIColocateCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TXPIColocateCheckBox::Table() { return kXPIColocateCheckBox; }
TArg1CheckBox::TArg1CheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TArg1CheckBox::Table() { return kArg1CheckBox; }
TArg2CheckBox::TArg2CheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TArg2CheckBox::Table() { return kArg2CheckBox; }
TArg3CheckBox::TArg3CheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable TArg3CheckBox::Table() { return kArg3CheckBox; }
THideCmdWindowCheckBox::THideCmdWindowCheckBox(TForm* parent, int id) : TMyCheckBox(parent, id) { SetHints(Table()); }
HintTable THideCmdWindowCheckBox::Table() { return kHideCmdWindowCheckBox; }
