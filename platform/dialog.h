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
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/command.h"
#include "platform/messagebox.h"

class QButtonGroup;

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
};

// Bytes the controls transfer.
std::size_t TransferSize(const std::vector<ControlSpec>& controls);
// Offset of a control's field in the transfer buffer, or -1 when it transfers nothing.
long TransferOffset(const std::vector<ControlSpec>& controls, int id);

enum class TransferDirection { Get, Set };  // Get: controls -> buffer; Set: buffer -> controls

class Dialog : public QDialog, public CommandTarget {
public:
    Dialog(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls);

    int ResourceId() const { return resourceId_; }
    const std::vector<ControlSpec>& Controls() const { return specs_; }

    // The buffer must hold TransferSize() bytes; it is not owned.
    void SetTransferBuffer(void* buffer, std::size_t size);
    std::uint8_t* TransferBuffer() const { return buffer_; }
    void TransferData(TransferDirection direction);

    // Runs the dialog modally; returns the id of the closing button.
    int Execute();

    // Hooks: set-up before the dialog shows (default: buffer -> controls),
    // the check before OK closes it, and the buttons.
    virtual void SetupWindow();
    virtual bool CanClose() { return true; }
    virtual void OnButton(int id);
    // Ends the dialog: for IDOK only when CanClose agrees, then controls -> buffer.
    void CloseWindow(int result);
    bool Closed() const { return closed_; }
    int Result() const { return closeResult_; }

    // Control access (texts in Latin-1).
    QWidget* Control(int id) const;
    std::string GetControlText(int id) const;
    void SetControlText(int id, const std::string& text);
    int GetCheck(int id) const;
    void SetCheck(int id, int state);
    void EnableControl(int id, bool enabled);
    void ListClear(int id);
    void ListAddString(int id, const std::string& text);
    int ListCount(int id) const;
    int ListSelIndex(int id) const;
    void ListSetSelIndex(int id, int index);
    std::string ListString(int id, int index) const;
    void SetGaugeValue(int id, int percent);

private:
    void Build();

    int resourceId_;
    std::vector<ControlSpec> specs_;
    std::map<int, QWidget*> controls_;
    std::uint8_t* buffer_ = nullptr;
    std::size_t bufferSize_ = 0;
    bool closed_ = false;
    int closeResult_ = IDCANCEL;
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

}  // namespace platform
