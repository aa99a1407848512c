// Dialogs built in code from a control table, with transfer buffers in the
// original class library's byte layout, and the test driver for modal runs.
//
// Transfer layout: the controls that take part are visited in creation order;
// an edit transfers char[limit] (its text, zero-terminated and zero-padded;
// the limit counts the terminator), a check box or radio button a 16-bit
// little-endian state (0 or 1).  Fields are packed with no padding, so words
// may sit at odd offsets.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/command.h"
#include "platform/messagebox.h"

class QButtonGroup;
class QLabel;

namespace platform {

inline constexpr int IDHELP = 9;

enum class ControlKind { Static, Edit, CheckBox, RadioButton, PushButton, GroupBox, ListBox, ComboBox, Gauge, TabControl };

struct ControlSpec {
    ControlKind kind = ControlKind::Static;
    int id = 0;
    std::string text;          // label, button text or initial edit text
    int x = 0, y = 0, width = 0, height = 0;  // pixels in the dialog
    int textLimit = 0;         // edits: buffer bytes including the terminator
    bool transfer = true;      // edits, check boxes and radio buttons only
    bool groupStart = false;   // radio buttons: starts a new exclusive group
    bool readOnly = false;     // edits
    bool multiLine = false;    // edits
    bool fileName = false;     // edits: holds a file's name, not text (below)
};

// Text as a record holds it: Latin-1, one byte a character.  An edit that
// holds a file's name shows it as the file system names it and transfers the
// file system's bytes, those it was given as long as the user leaves it
// alone; its limit counts those bytes.
//
// A record cannot hold a character outside Latin-1, nor in a one-line edit a
// line break, tab or other control character (C0, DEL, C1): OK refuses such a
// text before any check reads it, naming its field.  Until then the text
// moves as typed.  A copy read from the controls holds, for a text whose
// Latin-1 bytes would not say what was typed (a character outside Latin-1,
// or this mark typed in), a token: the mark and an id byte (never 0) that
// stands for the text as typed; a token put back into any control of the
// dialog shows that text.  A one-character field cuts a token to its mark,
// which put back into a control holding such a text leaves it as it is.  Any
// other mark (a stale token, a record's byte) shows as U+FFFD, which OK
// refuses: no mark ever passes for a letter.
inline constexpr char kUnstorableMark = '\x1A';
// Latin-1 bytes of a text that a record cannot hold whole: a character
// outside Latin-1 becomes the mark, one a character, never a look-alike.
std::string Latin1Bytes(const QString& text);

// One field of the transfer layout: the control-table entry it belongs to,
// where it lies in the buffer and how many bytes it takes.
struct TransferField {
    std::size_t index = 0;  // the control's entry in the table
    int id = 0;
    ControlKind kind = ControlKind::Edit;
    std::size_t offset = 0;
    std::size_t size = 0;  // an edit's limit (at least 1), else 2
    bool IsText() const { return kind == ControlKind::Edit; }
};

// The fields of a control table's transfer buffer, in creation order: the
// one walk of the layout that the dialogs, the forms and their records ask.
std::vector<TransferField> TransferLayout(const std::vector<ControlSpec>& controls);
// Bytes the controls transfer.
std::size_t TransferSize(const std::vector<ControlSpec>& controls);
// Offset of a control's field in the transfer buffer, or -1 when it transfers nothing.
long TransferOffset(const std::vector<ControlSpec>& controls, int id);

// Fixed-width fields of a transfer record: texts zero-terminated within their
// width (a text that fills its field is cut at its last byte), 16-bit states
// little-endian at any offset.  Out-of-range fields read as empty or 0 and are
// not written.
namespace transfer {
std::string GetText(std::span<const std::uint8_t> record, std::size_t offset, std::size_t size);
void SetText(std::span<std::uint8_t> record, std::size_t offset, std::size_t size, std::string_view text);
std::uint16_t GetWord(std::span<const std::uint8_t> record, std::size_t offset);
void SetWord(std::span<std::uint8_t> record, std::size_t offset, std::uint16_t value);
}  // namespace transfer

enum class TransferDirection { Get, Set };  // Get: controls -> buffer; Set: buffer -> controls

// What the controls hold, kept beyond one run of a dialog to be shown by a
// later run of a dialog with the same controls: the copy in transfer layout,
// and beside it every text the copy holds as a token, as typed (a token
// stands for its text within one run only).
struct TypedValues {
    std::vector<std::uint8_t> values;
    std::map<std::size_t, QString> texts;  // by the control's entry in the table
    bool empty() const { return values.empty() && texts.empty(); }
    void clear()
    {
        values.clear();
        texts.clear();
    }
    bool operator==(const TypedValues&) const = default;
};

class Dialog : public QDialog, public CommandTarget {
public:
    Dialog(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls);

    int ResourceId() const { return resourceId_; }
    const std::vector<ControlSpec>& Controls() const { return specs_; }

    // The buffer must hold TransferSize() bytes; it is not owned.
    void SetTransferBuffer(void* buffer, std::size_t size);
    std::uint8_t* TransferBuffer() const { return buffer_; }
    std::size_t TransferBufferSize() const { return bufferSize_; }
    // Fields that do not fit the buffer whole are neither read nor written.
    void TransferData(TransferDirection direction);
    // The transfer layout of this dialog's controls.
    const std::vector<TransferField>& TransferFields() const { return layout_; }
    // The controls' current values in transfer layout, without touching the
    // transfer buffer (close checks and pickers work on this copy).
    std::vector<std::uint8_t> ReadControls() const;
    // Puts a transfer-layout copy back into the controls, as far as its
    // fields fit whole.
    void WriteControls(std::span<const std::uint8_t> values);
    // A copy that outlives the run, and such a copy put back: every field
    // shows again what was typed in it.
    TypedValues ReadTyping() const;
    void WriteTyping(const TypedValues& typed);
    // Why a record cannot hold an edit's text.
    enum class TextFault { None, OutsideLatin1, ControlCharacter };
    // The first edit (in table order) whose text a record cannot hold, 0 when
    // every one can.  A file-name edit holds any name; a multi-line edit
    // holds line breaks.
    int UnstorableText() const;
    // Why the edit `id` holds a text a record cannot hold (None: it can).
    TextFault TextFaultOf(int id) const;

    // Runs the dialog modally; returns the id of the closing button.
    int Execute();

    // Hooks: set-up before the dialog shows (default: buffer -> controls),
    // the checks before OK closes it, and the buttons.
    virtual void SetupWindow();
    // First on OK: false keeps the dialog open.  By default a text that a
    // record cannot hold is refused without a word.
    virtual bool AcceptTexts() { return UnstorableText() == 0; }
    virtual bool CanClose() { return true; }
    virtual void OnButton(int id);
    // Ends the dialog: for IDOK only when AcceptTexts and CanClose agree,
    // then controls -> buffer.
    void CloseWindow(int result);
    bool Closed() const { return closed_; }
    int Result() const { return closeResult_; }
    // When a modal run has ended, however it ended.
    virtual void AfterExecute() {}

    // The tab page on which each control of the table shows, by table index:
    // kEveryPage for one shown whatever the page (or in a dialog without
    // pages), kNoPage for one hidden on every page.  The pages are shown in
    // turn to find out, and the page shown before is shown again.
    static constexpr int kEveryPage = -1;
    static constexpr int kNoPage = -2;
    std::vector<int> ControlPages();

    // Gives a control the focus, first showing the tab page that holds it, so
    // that the user sees what a message is about; an edit's text is selected.
    void FocusControl(int id);

    // Control access (texts in Latin-1 or as tokens, file names in the file
    // system's bytes).
    QWidget* Control(int id) const;
    // The control built from the control table's entry at `index` (ids need
    // not be unique nor given: labels have none).
    QWidget* ControlAt(std::size_t index) const { return index < widgets_.size() ? widgets_[index] : nullptr; }
    // The id of a control of this dialog, 0 for one without (or a stranger).
    int ControlId(const QWidget* control) const;
    std::string GetControlText(int id) const;
    void SetControlText(int id, const std::string& text);
    int GetCheck(int id) const;
    void SetCheck(int id, int state);
    void EnableControl(int id, bool enabled);
    void ListClear(int id);
    void ListAddString(int id, const std::string& text);
    // A file's name as a line of a list, shown as the file system names it.
    void ListAddFileName(int id, const std::string& name);
    int ListCount(int id) const;
    int ListSelIndex(int id) const;
    void ListSetSelIndex(int id, int index);
    std::string ListString(int id, int index) const;
    void SetGaugeValue(int id, int percent);

protected:
    // The first show centres the dialog on its owner's window.
    void showEvent(QShowEvent* event) override;

private:
    void AddListLine(int id, const QString& line);
    void Build();
    bool HoldsFileName(int id) const { return fileNames_.count(id) != 0; }
    QString FileNameShown(int id, std::string_view bytes);
    TextFault TextFaultAt(std::size_t index) const;
    std::string TextBytes(const QString& text) const;
    QString TextShown(const std::string& bytes) const;
    void SetWidgetText(QWidget* control, const QString& text);
    std::string Token(const QString& text) const;
    void FitStatic(QLabel* label);
    void ShowPageOf(QWidget* control);
    void CentreOnOwner();
    int Run();

    int resourceId_;
    std::vector<ControlSpec> specs_;
    std::vector<TransferField> layout_;
    std::map<int, QWidget*> controls_;
    // An edit that holds a file's name: the bytes it takes, and the name last
    // put into it, as shown and as given (bytes the file system's decoding
    // does not give back, a name of another system's, stay as given).
    struct FileNameEntry {
        int limit = 0;
        QString shown;
        std::string bytes;
        bool asGiven = false;  // `shown` is `bytes` whole
    };
    std::map<int, FileNameEntry> fileNames_;
    // id byte -> the text as typed
    mutable std::map<std::uint8_t, QString> tokens_;
    mutable std::uint8_t lastToken_ = 0;
    std::vector<QWidget*> widgets_;  // in control-table order
    std::uint8_t* buffer_ = nullptr;
    std::size_t bufferSize_ = 0;
    bool closed_ = false;
    int closeResult_ = IDCANCEL;
    bool placed_ = false;
};

// ---- test driver -------------------------------------------------------------
// A script per dialog resource id: it sets control texts on the set-up dialog
// and returns the id of the button to press.  It is called again while the
// dialog stays open (a refused OK), at most a few times, then the run is
// cancelled.  Without a script under the offscreen platform a modal run is
// cancelled at once.
using DialogScript = std::function<int(Dialog&)>;
void SetDialogDriver(int resourceId, DialogScript script);
void ClearDialogDrivers();

// Sees every dialog that runs modally, after its set-up and before it is
// driven, shown or cancelled (a test walks every dialog the program opens).
using DialogInspector = std::function<void(Dialog&)>;
void SetDialogInspector(DialogInspector inspector);

}  // namespace platform
