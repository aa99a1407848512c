#include "platform/filedialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/services.h"

namespace platform {

namespace {
// The folder last used for each kind of file, kept across runs.
constexpr const char* kFolderKey = "Software\\Orbiscope\\Folders";
// The value name of the folder last used for any document, of whatever kind
// (no extension starts with "*").
constexpr const char* kLastUsed = "*last";

std::deque<FileDialogAnswer>& Answers()
{
    static std::deque<FileDialogAnswer> answers;
    return answers;
}
FileDialogRequest& LastRequest()
{
    static FileDialogRequest request;
    return request;
}

std::vector<std::string>& ProgramFolderKinds()
{
    static std::vector<std::string> kinds;
    return kinds;
}

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// "*.glb;*.upd;" -> the patterns one by one, empty ones dropped.
std::vector<std::string> Patterns(const std::string& list)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : list + ";") {
        if (c == ';' || c == ' ') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

std::string ExtensionOf(const std::string& pattern)
{
    if (pattern.size() < 3 || pattern.compare(0, 2, "*.") != 0) return {};
    const std::string ext = pattern.substr(2);
    if (ext.find_first_of("*?[") != std::string::npos) return {};
    return Lower(ext);
}

bool IsProgramFolderKind(const std::string& kind)
{
    const auto& kinds = ProgramFolderKinds();
    return !kind.empty() && std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

bool SameFolder(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

bool Run(QWidget* owner, const std::string& title, FileDialogData& data, bool save)
{
    LastRequest() = FileDialogRequest{title, data, save, StartFolder(data)};
    data.chosen.clear();
    std::vector<std::string> names;
    if (!Answers().empty()) {
        names = Answers().front().names;
        Answers().pop_front();
    } else if (NoUserPresent()) {
        return false;
    } else {
        QFileDialog dlg(owner, QString::fromLatin1(title.c_str()));
        SetUpFileDialog(dlg, data, save);
        if (dlg.exec() != QDialog::Accepted) return false;
        for (const QString& f : dlg.selectedFiles()) names.push_back(f.toStdString());
        if (const int index = ChosenFilterIndex(dlg, data.filter)) data.filterIndex = index;
    }
    if (names.empty()) return false;
    data.chosen = names;
    data.fileName = names.front();
    if (save && !data.defaultExt.empty() && std::filesystem::path(data.fileName).extension().empty())
        data.fileName += "." + data.defaultExt;
    return true;
}
}  // namespace

std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter)
{
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) out.emplace_back(parts[i], parts[i + 1]);
    return out;
}

std::vector<FileDialogFilter> DialogFilters(const std::string& filter)
{
    std::vector<FileDialogFilter> out;
    for (const auto& [description, list] : SplitFilter(filter)) {
        std::string patterns;
        for (const std::string& p : Patterns(list)) patterns += (patterns.empty() ? "" : " ") + p;
        // The dialog reads the patterns from the last brackets and, told to
        // hide them, shows what comes before: the description as written.
        out.push_back({description, patterns, description + " (" + patterns + ")"});
    }
    return out;
}

void SetUpFileDialog(QFileDialog& dlg, const FileDialogData& data, bool save)
{
    const std::vector<FileDialogFilter> filters = DialogFilters(data.filter);
    QStringList qtFilters;
    for (const auto& f : filters) qtFilters << QString::fromStdString(f.qtFilter);
    dlg.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dlg.setNameFilters(qtFilters);
    dlg.setDirectory(QString::fromStdString(StartFolder(data)));
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : (data.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    if (save && !data.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (!data.defaultExt.empty()) dlg.setDefaultSuffix(QString::fromLatin1(data.defaultExt.c_str()));
    if (data.filterIndex >= 1 && data.filterIndex <= int(filters.size()))
        dlg.selectNameFilter(qtFilters[data.filterIndex - 1]);
    if (!data.fileName.empty()) dlg.selectFile(QString::fromStdString(data.fileName));
    // Another file type chosen while the dialog still shows the folder it
    // started in goes where that kind starts: the shipped databases are
    // listed however the dialog was opened.
    QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg, kind = data, shown = StartFolder(data)]() mutable {
        const int index = ChosenFilterIndex(dlg, kind.filter);
        if (index == 0 || !SameFolder(dlg.directory().absolutePath().toStdString(), shown)) return;
        kind.filterIndex = index;
        shown = StartFolder(kind);
        dlg.setDirectory(QString::fromStdString(shown));
    });
    // The details view's Size and Type columns as wide as their widest text.
    if (auto* view = dlg.findChild<QTreeView*>(QStringLiteral("treeView")))
        for (int column : {1, 2}) view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

int ChosenFilterIndex(const QFileDialog& dlg, const std::string& filter)
{
    // The dialog answers with the file type as shown, its patterns hidden.
    const QString chosen = dlg.selectedNameFilter();
    const std::vector<FileDialogFilter> filters = DialogFilters(filter);
    for (std::size_t i = 0; i < filters.size(); ++i) {
        if (chosen == QString::fromStdString(filters[i].qtFilter) ||
            chosen == QString::fromStdString(filters[i].description).simplified())
            return int(i) + 1;
    }
    return 0;
}

std::string FileKind(const FileDialogData& data)
{
    if (!data.defaultExt.empty()) return Lower(data.defaultExt);
    const auto filters = SplitFilter(data.filter);
    if (filters.empty()) return {};
    const std::size_t index = data.filterIndex >= 1 && data.filterIndex <= int(filters.size())
                                  ? std::size_t(data.filterIndex - 1)
                                  : 0;
    for (const std::string& p : Patterns(filters[index].second))
        if (std::string ext = ExtensionOf(p); !ext.empty()) return ext;
    return {};
}

std::string StartFolder(const FileDialogData& data)
{
    const auto usable = [](const std::string& folder) {
        std::error_code ec;
        return !folder.empty() && std::filesystem::is_directory(folder, ec);
    };
    const auto remembered = [&usable](const std::string& name) -> std::string {
        const auto folder = Registry::ReadString(kFolderKey, name);
        return folder && usable(*folder) ? *folder : std::string();
    };
    // A dialog for every file starts where the last document was.
    const std::string kind = FileKind(data);
    if (std::string folder = kind.empty() ? std::string() : remembered(kind); !folder.empty()) return folder;
    // The files the program ships are first looked for where it ships them.
    const std::string program = ProgramDirectory().string();
    if (IsProgramFolderKind(kind) && usable(program)) return program;
    if (std::string folder = remembered(kLastUsed); !folder.empty()) return folder;
    // The program's own folder holds the program, not the user's documents.
    if (usable(data.initialDir) && !SameFolder(data.initialDir, program)) return data.initialDir;
    return QDir::homePath().toStdString();
}

bool RunFileOpen(QWidget* owner, const std::string& title, FileDialogData& data)
{
    return Run(owner, title, data, false);
}

bool RunFileSave(QWidget* owner, const std::string& title, FileDialogData& data)
{
    return Run(owner, title, data, true);
}

void RememberFolderOf(const FileDialogData& data, const std::string& file)
{
    const std::filesystem::path path(file);
    const std::string folder = path.parent_path().string();
    if (folder.empty()) return;
    const std::string extension = Lower(path.extension().string());
    const std::string own = extension.size() > 1 ? extension.substr(1) : std::string();
    if (own.empty()) return;
    // The folders a file gives are saved in one write.
    std::vector<RegistryChange> changes;
    const auto remember = [&](const std::string& kind) {
        changes.push_back({RegistryChange::Kind::Set, kFolderKey, kind, folder});
    };
    remember(own);
    // Every file type of the dialog that lists this extension starts here
    // too: a picture opened as JPEG is where the bitmaps are.
    for (const auto& [description, list] : SplitFilter(data.filter)) {
        const std::vector<std::string> patterns = Patterns(list);
        const auto takes = [&own](const std::string& p) { return ExtensionOf(p) == own; };
        if (std::none_of(patterns.begin(), patterns.end(), takes)) continue;
        for (const std::string& p : patterns)
            if (const std::string kind = ExtensionOf(p); !kind.empty()) {
                if (kind != own) remember(kind);
                break;
            }
    }
    // A database is not a document: where one is kept says nothing of where
    // the user's documents are.
    if (!IsProgramFolderKind(own)) remember(kLastUsed);
    Registry::Write(changes);
}

void SetProgramFolderKinds(std::vector<std::string> kinds) { ProgramFolderKinds() = std::move(kinds); }

void QueueFileDialogAnswer(FileDialogAnswer answer) { Answers().push_back(std::move(answer)); }
void ClearFileDialogAnswers() { Answers().clear(); }
const FileDialogRequest& LastFileDialogRequest() { return LastRequest(); }

}  // namespace platform
