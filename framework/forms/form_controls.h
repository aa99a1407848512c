// The controls of the input dialogs.  The four bases add context help to the
// dialog's edit, radio button, list box and check box: F1 on the control opens
// the page of its form's help topic at the control's entry, numbered by the
// control's id (a read-only edit shows none).  Control ids repeat from form
// to form, so an entry is looked for on the form's own page only.
// A control with a hint table shows, when it takes the focus, its hint in the
// main window's status bar (through the application's HintText).
//
// A control object is built on a control of its form's table, by id, after
// the form itself; the form owns it.  The dialog's own widget keeps doing the
// transfer; the control object only listens to the widget's keys and focus.
//
// Hint tables map control ids to string ids of the string table (or, for the
// dialogs whose hints have no string id, straight to their texts).  A control
// whose id its class's table lacks shows an empty hint.
#pragma once

#include <QObject>
#include <QPointer>
#include <span>

class QWidget;
class TForm;
class TOrbiscope;

inline constexpr int kAnyControl = -1;

struct HintEntry {
    int controlId;            // kAnyControl: every control of the class
    int stringId;             // string-table id, 0 when the text is given
    const char* text = nullptr;
};
using HintTable = std::span<const HintEntry>;

// The hint of a control in a class's table: its text, or "" when the table
// has no entry for the id or the string table has no text for it.
const char* HintFor(HintTable table, int controlId);

// Makes `topic` the form's help topic and binds its Help button to it.
void BindHelpButton(TForm& form, int topic);

class TMyControl : public QObject {
public:
    TMyControl(TForm* parent, int id);

    int Id() const { return id_; }
    QWidget* Widget() const { return widget_; }
    TForm* Form() const { return form_; }
    TOrbiscope* App() const { return app_; }

    void SetHints(HintTable table) { hints_ = table; }
    HintTable Hints() const { return hints_; }

    // F1: its form's help page, at the control's entry.
    virtual void EvHelp();
    // Focus: the hint (when the class has a table) into the status bar.
    virtual void EvSetFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    virtual bool ShowsHelp() const { return true; }

private:
    TForm* form_;
    int id_;
    QPointer<QWidget> widget_;
    TOrbiscope* app_;
    HintTable hints_;
};

// Writes a hint into the application's HintText (at most 1023 bytes and the
// terminator) and shows it in the frame's status bar.
void ShowStatusHint(TOrbiscope* app, const char* text);

class TMyEdit : public TMyControl {
public:
    // textLimit: the field's bytes including the terminator, as the form's
    // control table gives it.  The dialog holds the edit to it (in bytes:
    // a text's characters, a file's name as the file system spells it).
    TMyEdit(TForm* parent, int id, int textLimit);
    int TextLimit() const { return textLimit_; }

protected:
    bool ShowsHelp() const override;

private:
    int textLimit_;
};

class TMyRadioButton : public TMyControl {
public:
    TMyRadioButton(TForm* parent, int id) : TMyControl(parent, id) {}
};

class TMyListBox : public TMyControl {
public:
    TMyListBox(TForm* parent, int id) : TMyControl(parent, id) {}
};

class TMyCheckBox : public TMyControl {
public:
    TMyCheckBox(TForm* parent, int id) : TMyControl(parent, id) {}
};

// ---- the option buttons with hints -------------------------------------------
// Each class takes its hint from its own table (hint tables in form_controls.cpp).

// clang-format off
class TBandCheckBox : public TMyCheckBox { public: TBandCheckBox(TForm* parent, int id); static HintTable Table(); };
class TIncludeSatCheckBox : public TMyCheckBox { public: TIncludeSatCheckBox(TForm* parent, int id); static HintTable Table(); };
class TIncludeCheckBox : public TMyCheckBox { public: TIncludeCheckBox(TForm* parent, int id); static HintTable Table(); };
class TASIManualCheckBox : public TMyCheckBox { public: TASIManualCheckBox(TForm* parent, int id); static HintTable Table(); };
class TModulationRadioButton : public TMyRadioButton { public: TModulationRadioButton(TForm* parent, int id); static HintTable Table(); };
class TTransponderRadioButton : public TMyRadioButton { public: TTransponderRadioButton(TForm* parent, int id); static HintTable Table(); };
class TDualFadeCheckBox : public TMyCheckBox { public: TDualFadeCheckBox(TForm* parent, int id); static HintTable Table(); };
class TRainModelRadioButton : public TMyRadioButton { public: TRainModelRadioButton(TForm* parent, int id); static HintTable Table(); };
class TSeasonRadioButton : public TMyRadioButton { public: TSeasonRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOutageResRadioButton : public TMyRadioButton { public: TOutageResRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOutageBeamRadioButton : public TMyRadioButton { public: TOutageBeamRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOutputTimeRadioButton : public TMyRadioButton { public: TOutputTimeRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOffAxisRadioButton : public TMyRadioButton { public: TOffAxisRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOutputStringRadioButton : public TMyRadioButton { public: TOutputStringRadioButton(TForm* parent, int id); static HintTable Table(); };
class TLongFormatRadioButton : public TMyRadioButton { public: TLongFormatRadioButton(TForm* parent, int id); static HintTable Table(); };
class TSortRadioButton : public TMyRadioButton { public: TSortRadioButton(TForm* parent, int id); static HintTable Table(); };
class TTargetRadioButton : public TMyRadioButton { public: TTargetRadioButton(TForm* parent, int id); static HintTable Table(); };
class TRateRadioButton : public TMyRadioButton { public: TRateRadioButton(TForm* parent, int id); static HintTable Table(); };
class TTxRxRadioButton : public TMyRadioButton { public: TTxRxRadioButton(TForm* parent, int id); static HintTable Table(); };
class TOptionRadioButton : public TMyRadioButton { public: TOptionRadioButton(TForm* parent, int id); static HintTable Table(); };
class TPilotsCheckBox : public TMyCheckBox { public: TPilotsCheckBox(TForm* parent, int id); static HintTable Table(); };
class TFrameRadioButton : public TMyRadioButton { public: TFrameRadioButton(TForm* parent, int id); static HintTable Table(); };
class TBWSelectRadioButton : public TMyRadioButton { public: TBWSelectRadioButton(TForm* parent, int id); static HintTable Table(); };
class TGEOSelectRadioButton : public TMyRadioButton { public: TGEOSelectRadioButton(TForm* parent, int id); static HintTable Table(); };
class TInterferenceRadioButton : public TMyRadioButton { public: TInterferenceRadioButton(TForm* parent, int id); static HintTable Table(); };
class TIncDepolCheckBox : public TMyCheckBox { public: TIncDepolCheckBox(TForm* parent, int id); static HintTable Table(); };
class TXPIColocateCheckBox : public TMyCheckBox { public: TXPIColocateCheckBox(TForm* parent, int id); static HintTable Table(); };
class TArg1CheckBox : public TMyCheckBox { public: TArg1CheckBox(TForm* parent, int id); static HintTable Table(); };
class TArg2CheckBox : public TMyCheckBox { public: TArg2CheckBox(TForm* parent, int id); static HintTable Table(); };
class TArg3CheckBox : public TMyCheckBox { public: TArg3CheckBox(TForm* parent, int id); static HintTable Table(); };
class THideCmdWindowCheckBox : public TMyCheckBox { public: THideCmdWindowCheckBox(TForm* parent, int id); static HintTable Table(); };
// clang-format on

// Hinted controls of a dialog that lists its own hints: an edit, radio
// button or check box with the table given at construction (the table must
// outlive the control: keep it static).
class THintedEdit : public TMyEdit {
public:
    THintedEdit(TForm* parent, int id, int textLimit, HintTable table) : TMyEdit(parent, id, textLimit)
    {
        SetHints(table);
    }
};
class THintedRadioButton : public TMyRadioButton {
public:
    THintedRadioButton(TForm* parent, int id, HintTable table) : TMyRadioButton(parent, id) { SetHints(table); }
};
class THintedCheckBox : public TMyCheckBox {
public:
    THintedCheckBox(TForm* parent, int id, HintTable table) : TMyCheckBox(parent, id) { SetHints(table); }
};
