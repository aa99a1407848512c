#include "platform/filedialog.h"

#include <QFileDialog>
#include <filesystem>

#include "platform/messagebox.h"

namespace platform {

namespace {
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

QString QtFilter(const std::string& filter, std::vector<QString>& entries)
{
    for (const auto& [desc, pat] : SplitFilter(filter)) {
        QString p = QString::fromLatin1(pat.c_str());
        p.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries.push_back(QString::fromLatin1(desc.c_str()) + QStringLiteral(" (") + p + QLatin1Char(')'));
    }
    QStringList list;
    for (const auto& e : entries) list << e;
    return list.join(QStringLiteral(";;"));
}

bool Run(QWidget* owner, const std::string& title, FileDialogData& data, bool save)
{
    LastRequest() = FileDialogRequest{title, data, save};
    data.chosen.clear();
    std::vector<std::string> names;
    if (!Answers().empty()) {
        names = Answers().front().names;
        Answers().pop_front();
    } else if (NoUserPresent()) {
        return false;
    } else {
        std::vector<QString> entries;
        QFileDialog dlg(owner, QString::fromLatin1(title.c_str()), QString::fromStdString(data.initialDir),
                        QtFilter(data.filter, entries));
        dlg.setOption(QFileDialog::DontUseNativeDialog);
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile
                             : (data.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
        if (save && !data.overwritePrompt) dlg.setOption(QFileDialog::DontConfirmOverwrite);
        if (!data.defaultExt.empty()) dlg.setDefaultSuffix(QString::fromLatin1(data.defaultExt.c_str()));
        if (data.filterIndex >= 1 && data.filterIndex <= int(entries.size()))
            dlg.selectNameFilter(entries[std::size_t(data.filterIndex - 1)]);
        if (!data.fileName.empty()) dlg.selectFile(QString::fromStdString(data.fileName));
        if (dlg.exec() != QDialog::Accepted) return false;
        for (const QString& f : dlg.selectedFiles()) names.push_back(f.toStdString());
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == dlg.selectedNameFilter()) data.filterIndex = int(i) + 1;
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

bool RunFileOpen(QWidget* owner, const std::string& title, FileDialogData& data)
{
    return Run(owner, title, data, false);
}

bool RunFileSave(QWidget* owner, const std::string& title, FileDialogData& data)
{
    return Run(owner, title, data, true);
}

void QueueFileDialogAnswer(FileDialogAnswer answer) { Answers().push_back(std::move(answer)); }
void ClearFileDialogAnswers() { Answers().clear(); }
const FileDialogRequest& LastFileDialogRequest() { return LastRequest(); }

}  // namespace platform
