// Open and save file dialogs with filters written "desc|pattern|desc|pattern",
// a 1-based filter index, and a test seam for the chosen names.
#pragma once

#include <QWidget>
#include <deque>
#include <string>
#include <vector>

class QFileDialog;

namespace platform {

struct FileDialogData {
    std::string filter;            // "Desc (*.a)|*.a;*.b|All Files (*.*)|*.*|"
    int filterIndex = 1;           // 1-based, updated by the dialog
    std::string initialDir;
    std::string fileName;          // in: proposal; out: the chosen name
    std::string defaultExt;        // without the dot
    bool multiSelect = false;
    bool overwritePrompt = false;
    std::vector<std::string> chosen;  // every chosen name (full paths) after OK
};

// The (description, patterns) pairs of a filter text.
std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter);

// One entry of the dialog's list of file types: the description shown as it
// is written (it often names its patterns already), the patterns the dialog
// filters with, and the two together in the form the dialog takes.
struct FileDialogFilter {
    std::string description;   // "GEO Link Budget (*.glb;*.upd;)"
    std::string patterns;      // "*.glb *.upd"
    std::string qtFilter;      // "GEO Link Budget (*.glb;*.upd;) (*.glb *.upd)"
};
std::vector<FileDialogFilter> DialogFilters(const std::string& filter);
// Sets up a dialog as it is shown: its file types, the folder it starts in,
// the mode, the file type and the name it proposes.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogData& data, bool save);
// The 1-based file type the user left the dialog on, 0 when not one of the filter's.
int ChosenFilterIndex(const QFileDialog& dialog, const std::string& filter);

// The kind of file a dialog is for: its default extension, else the first
// plain extension of the file type it starts on; "" for every file.
std::string FileKind(const FileDialogData& data);
// The folder a dialog starts in, the first that exists of: the one last used
// for its kind of file (kept in the registry across runs), the program's
// folder for a kind it ships there, the one last used for any document (kept
// too), its initialDir unless that is the program's own folder, and the
// user's home.  A dialog for every file ("All Files") starts where the last
// document was.  Choosing another file type in the dialog before choosing a
// folder goes where that kind starts.
std::string StartFolder(const FileDialogData& data);
// Keeps the folder of a file chosen in the dialog run with `data` once the
// file has been used: opened, saved, or taken as the name of a batch's
// input.  It becomes the folder of the file's own kind (its extension,
// whatever file type the dialog showed), of the dialog's file types that
// list that extension, and, unless the file is a database of the program's
// folder, of every document.  The dialogs themselves keep nothing, so that
// a file refused or not written leaves every folder as it was.
void RememberFolderOf(const FileDialogData& data, const std::string& file);
// The kinds of file (extensions without the dot) that the program ships in
// its own folder, its databases.  Opening or saving one leaves the folder
// that other kinds fall back on as it was.
void SetProgramFolderKinds(std::vector<std::string> kinds);

// Runs the dialog; true on OK.
bool RunFileOpen(QWidget* owner, const std::string& title, FileDialogData& data);
bool RunFileSave(QWidget* owner, const std::string& title, FileDialogData& data);

// Test seam: each queued answer serves one dialog (an empty list = Cancel).
// Without an answer under the offscreen platform the dialog is cancelled.
struct FileDialogAnswer {
    std::vector<std::string> names;
};
void QueueFileDialogAnswer(FileDialogAnswer answer);
void ClearFileDialogAnswers();
// What the last dialog was asked (title and data as passed in) and the
// folder it started in.
struct FileDialogRequest {
    std::string title;
    FileDialogData data;
    bool save = false;
    std::string startFolder;
};
const FileDialogRequest& LastFileDialogRequest();

}  // namespace platform
