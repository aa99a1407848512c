// Modal message boxes with the flag values and answers of the system the
// program was first written for, and the test seams around them.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// Flags (combine one button set with one icon).
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_YESNOCANCEL = 0x03;
inline constexpr unsigned MB_YESNO = 0x04;
inline constexpr unsigned MB_RETRYCANCEL = 0x05;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;

// Answers (also the button ids of dialogs).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDRETRY = 4;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

struct MessageBoxCall {
    std::string text;     // the program's words (Latin-1), a named file's name as its bytes in place
    std::string caption;
    unsigned flags = 0;
    bool hasOwner = false;
    QString shown;        // the text as the box shows it (a file's name decoded)
    unsigned Icon() const { return flags & 0xF0; }
    // A question answered Yes or No; one with Cancel may also be called off.
    bool YesNo() const { return (flags & 0x0F) == MB_YESNO || Cancellable(); }
    bool Cancellable() const { return (flags & 0x0F) == MB_YESNOCANCEL; }
    bool RetryCancel() const { return (flags & 0x0F) == MB_RETRYCANCEL; }
};

// The text of a box that names a file: the program's words (Latin-1), whose
// "%s" stands for the file's name, and that name as the file system's bytes.
// The box shows the words as Latin-1 and the name as the file system names
// it (ShownFileName), never read as Latin-1.
struct FileMessage {
    std::string_view format;
    std::string_view fileName;
};

// Test seam: when set, every box goes to the sink instead of the screen and
// the sink's answer is returned.
using MessageBoxSink = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxSink(MessageBoxSink sink);

// Test seam for modality: a sink calls this to keep its box open as a real
// box stays open, running a nested event loop (one level deeper, as the real
// box's loop is) until `answered` holds, checked every few milliseconds, or
// `timeoutMs` has passed.
void RunNestedBoxLoop(const std::function<bool()>& answered, int timeoutMs);

// Shows the box (owner may be null) and returns IDOK, IDYES, IDNO, IDRETRY
// or, for a box with Cancel, IDCANCEL (also its answer to Escape and to its
// own close; a Yes/No box is answered by its two buttons alone).  Every
// box is also appended to the file named by ORBISCOPE_MESSAGE_LOG as one line
// "caption<TAB>text", newlines in the text written as "\n".  The log is
// UTF-8: the program's Latin-1 words are written in UTF-8, and a file's name
// as the file system's bytes (the same, for a name in its encoding), so that
// a line reads as the box does and holds a path as a script spelt it.  Under
// the offscreen platform, with no sink, nobody can press a button: the box is
// logged and answered with its first button (OK or Yes), but a Retry/Cancel
// box with Cancel, for no one is there to mend what a retry would need.
int MessageBox(QWidget* owner, std::string_view text, std::string_view caption, unsigned flags);
int MessageBox(QWidget* owner, FileMessage text, std::string_view caption, unsigned flags);

// The box MessageBox shows, built but not shown: wide enough that a window
// manager's title bar shows its whole caption beside the window's icon and
// buttons, however short the text under it.
std::unique_ptr<QWidget> BuildMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                                         unsigned flags);
// The width a box keeps for its caption: the caption in the title-bar font
// (the application's, bold) and room for the title bar's icon and buttons.
int CaptionWidth(std::string_view caption);
// The answer the user gave a box BuildMessageBox built, by the button pressed
// (with none pressed: Cancel where the box has it, else No or OK).
int BuiltBoxAnswer(const QWidget& box);
// How many boxes have been asked for so far (shown, sent to the sink or
// answered for an absent user): a caller can tell whether something it ran
// raised one.
unsigned long MessageBoxesAsked();

// The line written to the message log for one box, from its caption and
// text in UTF-8.
std::string MessageLogLine(std::string_view caption, std::string_view text);

// Whether the program runs where no user can answer a window (offscreen).
bool NoUserPresent();

}  // namespace platform
