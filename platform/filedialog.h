// Open and save file dialogs with filters written "desc|pattern|desc|pattern",
// a 1-based filter index, and a test seam for the chosen names.
#pragma once

#include <QWidget>
#include <deque>
#include <string>
#include <vector>

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

// The pairs of a filter text, as "description (pat pat)" for display.
std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter);

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
// What the last dialog was asked (title and data as passed in).
struct FileDialogRequest {
    std::string title;
    FileDialogData data;
    bool save = false;
};
const FileDialogRequest& LastFileDialogRequest();

}  // namespace platform
