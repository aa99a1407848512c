// TForm: the base of every input dialog.  A form keeps its values in a
// transfer buffer of fixed-width texts and 16-bit button states; when the
// user confirms, the form's own CanClose checks its fields one by one with the
// member checks below and stops at the first that fails, whose message is
// shown while the dialog stays open.  A document window that validates a
// reopened document through a form it never shows sets the silent flag: the
// checks then fail without a box.
//
// A derived form passes its control table (the dialog resource) to the
// constructor, builds its control objects (TMyEdit and the option buttons of
// form_controls.h) on the controls' ids, binds its buttons with SetHandler
// (Help, Clear, Site, ...) and overrides CanClose.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/forms/field_check.h"
#include "platform/dialog.h"
#include "platform/filedialog.h"

class TOrbiscope;

// What a cancelled run of a form over a document's record left typed, every
// field as typed (a text OK would refuse too); empty when it left nothing
// that differs from the record.
using CancelledTyping = platform::TypedValues;

class TForm : public platform::Dialog {
public:
    static constexpr std::size_t kMessageBufferSize = 1024;

    TForm(QWidget* parent, int resourceId, const std::string& caption, std::vector<platform::ControlSpec> controls);
    ~TForm() override;

    // A text field holding a character that no document can store, or a
    // one-line field holding a line break, tab or other control character,
    // is refused on OK before the form's own checks: its message names the
    // field by its label and says what it takes, and the field takes the
    // focus.
    bool AcceptTexts() override;
    // A form whose CanClose is not overridden never closes with OK.
    bool CanClose() override;
    // Escape and the close box press Cancel.
    void reject() override { OnButton(platform::IDCANCEL); }

    // A form over a document's record keeps what a cancelled run typed in
    // `kept`, never in the record: the document saves, and its report is
    // computed from, what the last OK left in the record, while the next run
    // over the same `kept` shows the cancelled typing again, whole: a text no
    // document can hold is kept as typed beside the rest, never the record's
    // text beside another field's typing (a name put back while the places
    // Reverse moved stay).  OK empties it.
    void KeepCancelledTyping(CancelledTyping& kept) { kept_ = &kept; }
    // After an OK whose calculation stopped before its report: the record
    // goes back to what it held when the run began, and what was typed is
    // kept as a cancelled run's typing is.
    void TakeBackConfirmedTyping();
    // The record into the controls, then what a cancelled run kept.
    void SetupWindow() override;

    TOrbiscope* App() const { return app_; }

    bool Silent() const { return silent_ != 0; }
    void SetSilent(bool silent) { silent_ = silent ? 1 : 0; }

    // Shows a field-check failure in the application's box, owned by the
    // form, with the exclamation icon; nothing when the form is silent.  The
    // text is kept in the message buffer.
    void ReportFieldError(std::string_view text, std::string_view caption);
    // The sink that the shared checks report through.
    FieldMessageSink MessageSink();
    // The same for the check of one field: before its message shows, the
    // field takes the focus on the page that holds it.  The field is the one
    // the text is viewed from in the checked record (below), else the
    // FieldControl of (label, text).
    FieldMessageSink MessageSinkFor(std::string_view label, std::string_view text);
    // A form's own message about one field, given by its text as the check
    // read it: the field takes the focus on its page first.
    void ReportAboutField(std::string_view fieldText, std::string_view text, std::string_view caption);

    // While it lives, the form's checks read `record`, a copy of the
    // controls laid out as the transfer buffer (a close check's scratch
    // record): a text viewed from it names its field exactly, however many
    // entries hold the same text and whatever their labels say.
    class CheckedRecord {
    public:
        CheckedRecord(TForm& form, std::span<const std::uint8_t> record);
        ~CheckedRecord();
        CheckedRecord(const CheckedRecord&) = delete;
        CheckedRecord& operator=(const CheckedRecord&) = delete;

    private:
        TForm& form_;
        std::span<const std::uint8_t> previous_;
    };

    // The edit a check of (label, text) speaks of when the text is not
    // viewed from a checked record: the one edit holding the text, or among
    // several the one whose own label shares most words with the check's
    // label; 0 when that is not plain.
    int FieldControl(std::string_view label, std::string_view text);

    // A closed form leaves no hint of its controls in the status bar.
    void AfterExecute() override;

    // The shared field checks, reporting as above.
    bool CheckField(std::string_view label, std::string_view text, FieldType type, double minimum, double maximum,
                    std::string_view unit);
    static bool IsValidChar(char c, FieldType type) { return ::IsValidChar(c, type); }
    static bool InRange(std::string_view text, FieldType type, double minimum, double maximum)
    {
        return ::InRange(text, type, minimum, maximum);
    }
    bool CheckDate(int day, int month, int year);
    bool CheckMary(std::string_view mText, bool oneBitPerSymbol, bool qam);
    bool CheckAntennaGain(std::string_view diameterM, std::string_view gainDbi, std::string_view frequencyGHz,
                          int link);
    bool CheckFraction(std::string_view text, double minimum, double maximum, std::string_view label);
    bool CheckSatelliteSpacing(std::string_view wanted, std::string_view adjacent1, std::string_view adjacent2,
                               std::string_view adjacent3, std::string_view adjacent4, std::uint16_t include2,
                               std::uint16_t include3, std::uint16_t include4);
    bool CheckCarrierSpacing(std::string_view first, std::string_view second);

    // Context help at a topic (a dialog's Help button passes its own id).
    void ShowHelp(int contextId) const;
    // The form's help topic: the page its Help button opens, on which F1
    // finds its fields' entries.  The form's resource id unless set.
    int HelpTopic() const { return helpTopic_ ? helpTopic_ : ResourceId(); }
    void SetHelpTopic(int topic) { helpTopic_ = topic; }
    // F1 in a field: the form's help page at the field's entry.
    void ShowFieldHelp(int controlId) const;

    // For forms that ask for a file.
    platform::FileDialogData FileData;
    // Formatting space for a form's own messages.
    char MessageBuffer[kMessageBufferSize] = {};

private:
    int CheckedRecordField(std::string_view text) const;
    // The text of the static that labels an edit.
    std::string FieldLabel(int id);
    // A message about the control `id` (0: none), which takes the focus first.
    void ReportAboutControl(int id, const FieldMessage& message);
    // What the controls hold now into the kept typing, nothing when it is
    // the record as they showed it.
    void KeepTyping();

    TOrbiscope* app_;
    std::uint8_t silent_ = 0;
    std::span<const std::uint8_t> checked_;
    CancelledTyping* kept_ = nullptr;
    std::vector<std::uint8_t> heldRecord_;  // the record's bytes when the run began
    platform::TypedValues shownRecord_;     // the record as the controls showed it
    int helpTopic_ = 0;
};

// The fields of a transfer record, read and written as the dialogs do.
namespace transfer = platform::transfer;
