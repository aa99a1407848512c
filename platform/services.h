// Small platform services: program directory, clock, wait cursor, clipboard,
// timers, atomic file writes, and the help viewer with its test seam.
#pragma once

#include "platform/atomic_file.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QTextBrowser;
class QWidget;

namespace platform {

// ---- program directory -------------------------------------------------------
// The folder of the executable, or ORBISCOPE_HOME when set; tests may override.
std::filesystem::path ProgramDirectory();
void SetProgramDirectoryOverride(const std::filesystem::path& dir);  // empty clears

// ---- clock -------------------------------------------------------------------
// Seconds since 1970 in UTC; tests install a fixed value.
std::time_t NowUtc();
void SetClockOverride(std::function<std::time_t()> clock);  // empty clears

// ---- wait cursor -------------------------------------------------------------
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// ---- clipboard ---------------------------------------------------------------
void CopyTextToClipboard(const std::string& latin1Text);

// ---- timers ------------------------------------------------------------------
// A window timer: calls back every interval until stopped or destroyed.
class Timer {
public:
    Timer() = default;
    void Start(int id, std::chrono::milliseconds interval, std::function<void(int)> onTick);
    void Stop();
    bool Running() const { return timer_.isActive(); }

private:
    QTimer timer_;
    int id_ = 0;
};

// Keeps the interface alive during a long step on the user-interface thread.
void PumpWaitingMessages();

// ---- files -------------------------------------------------------------------
// Writes go through WriteFileAtomically, reads through ReadRegularFile
// (atomic_file.h).
// A file's name decoded from the file system's bytes as the file system
// names it (UTF-8 here): what the user sees, in the file manager too, and
// what Qt and QProcess take to reach the same file (a program to start and
// its arguments).  The bytes stay what is kept, opened and stored.
QString ShownFileName(std::string_view name);

// ---- windows beside a modal form ----------------------------------------------
// A window opened while a modal form is up (help, a reference picture) is
// blocked with everything else the form does not own: it cannot be clicked,
// and a window manager may keep it behind.  This makes `window` a window of
// its own, child of the topmost modal form, so that it stands in front of the
// form and takes clicks and keys.  When the form hides, `release` gets the
// window back (by default it becomes a top-level window again where it
// stands, still shown).  The window stands where it covers none of the
// form's buttons (PlaceBesideForm); one shown already keeps its place when it
// covers none.  Returns the form; null when none is up, and then nothing is
// done.
QWidget* KeepBesideModalForm(QWidget* window, std::function<void(QWidget*)> release = {});

// Where a window whose frame measures `size` stands beside a form: next to
// the form's frame on the first side of `screen` with room for it (right,
// left, below, above); else beside the form on the side with the most room,
// narrowed (or shortened) to that room, while it keeps a readable size
// there (320 x 240); with no such side, next to the form's buttons, over the
// rest of the form; with no room there either, shrunk into the largest room
// beside the buttons.  A window that stands somewhere already (`last`) stays
// there while it covers no button.  Every rectangle is a frame in screen
// coordinates, the window manager's border included.
QRect PlaceBesideForm(const QRect& form, const std::vector<QRect>& buttons, const QRect& screen, QSize size,
                      std::optional<QRect> last = std::nullopt);

// ---- help --------------------------------------------------------------------
// Stand-in for context help: the pages of the "help" folder in the program
// directory, shown in one help window.  A context id is the page
// help/<id>.html, or else the anchor (an element with id="<id>" or
// name="<id>") of the page that holds it; the contents page
// help/index.html answers an id that has no topic.
struct HelpTopic {
    std::filesystem::path page;
    std::string anchor;  // empty: the top of the page
};
std::optional<HelpTopic> FindHelpTopic(int contextId);
// F1 on a field: control ids repeat from form to form, so the field's entry
// is looked for on the page of its own form's topic only.  The field's anchor
// there when the page has one, else the topic itself.
std::optional<HelpTopic> FindFieldTopic(int contextId, int field);

// What help is asked for: a topic (0 the contents, -1 close all) and, for F1
// on a field, the field's control id.
struct HelpRequest {
    int contextId = 0;
    int field = 0;  // 0: no field
};

class HelpViewer {
public:
    // Returns true when a help window was opened (the "help opened" answer).
    static bool ShowContext(int contextId);
    // F1 on `field` of a form whose topic is `contextId` (FindFieldTopic).
    static bool ShowField(int contextId, int field);
    static bool ShowContents();
    static void CloseAll();
    static bool IsOpen();

    // Test seam: when set, requests are recorded here instead of opening a
    // window and its answer is returned.
    static void SetSink(std::function<bool(const HelpRequest& request)> sink);
};

}  // namespace platform
