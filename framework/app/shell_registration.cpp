#include "framework/app/shell_registration.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "platform/atomic_file.h"
#include "platform/services.h"
#include "platform/user_folders.h"

using namespace orbiscope;

namespace {

std::filesystem::path& DataFolderOverride()
{
    static std::filesystem::path folder;
    return folder;
}

ShellCacheUpdater& CacheUpdater()
{
    static ShellCacheUpdater updater;
    return updater;
}

// Set by every file written or removed during one registration pass.
bool& FilesChanged()
{
    static bool changed = false;
    return changed;
}

// The desktop's tools rebuild a user's few entries in a fraction of a second;
// one that takes longer is stuck (a data folder on a hung network share).
constexpr int kCacheToolMs = 5000;
// A killed tool ends as soon as it is back from the kernel; one held there
// (the hung share's read) does not, and is not waited for past this.
constexpr int kKilledToolMs = 1000;

// Runs the tool over the folder and waits for it, so that the registration
// is whole before the start goes on: a tool left running on its own would go
// on writing into the data folder after the program has ended, into a home
// that may be gone by then.  What it prints is of no use to the user.
void RunCacheTool(const char* tool, const std::filesystem::path& folder)
{
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (path.isEmpty()) return;
    auto run = std::make_unique<QProcess>();
    run->setStandardOutputFile(QProcess::nullDevice());
    run->setStandardErrorFile(QProcess::nullDevice());
    run->start(path, {QString::fromStdString(folder.string())});
    // One deadline for its start and its work: its start may hang on the
    // share as well.
    const QDeadlineTimer deadline(kCacheToolMs);
    if (run->waitForStarted(int(deadline.remainingTime())) && run->waitForFinished(int(deadline.remainingTime())))
        return;
    if (run->state() == QProcess::NotRunning) return;  // it could not start
    run->kill();
    if (run->waitForFinished(kKilledToolMs)) return;
    // Still in the kernel: QProcess's destructor would wait for it (30 s) in
    // its turn.  It is let go instead, to be reaped when it ends; killed, it
    // can write nothing more once it is back.
    QProcess* stuck = run.release();
    QObject::connect(stuck, &QProcess::finished, stuck, &QObject::deleteLater);
}

void RunCacheUpdate(const std::filesystem::path& data)
{
    if (CacheUpdater()) {
        CacheUpdater()(data);
        return;
    }
    RunCacheTool("update-mime-database", data / "mime");
    RunCacheTool("update-desktop-database", data / "applications");
}

// Writes the file unless it already holds these bytes.  Failures are ignored,
// as a registry write's would be.
void WriteIfChanged(const std::filesystem::path& file, const std::string& text)
{
    std::vector<std::uint8_t> old;
    if (platform::ReadRegularFile(file, old, text.size()) == platform::FileRead::Whole &&
        std::string(old.begin(), old.end()) == text)
        return;
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (platform::WriteFileAtomically(file, text)) FilesChanged() = true;
}

void Remove(const std::filesystem::path& file)
{
    std::error_code ec;
    if (std::filesystem::remove(file, ec)) FilesChanged() = true;
}

// One argument of an Exec line: always quoted, with the characters the
// desktop entry format reserves escaped.  Inside quotes '"', '`', '$' and
// '\' take a backslash; the value's own escaping then doubles every
// backslash; a literal '%' is written "%%".
std::optional<std::string> ExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '\n' || c == '\r') return std::nullopt;
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\') value += "\\\\";
        else if (c == '%') value += "%%";
        else value += c;
    }
    return value;
}

// Text for XML character data and attribute values.
std::string XmlEscaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string ProgramFilePath()
{
    if (!QCoreApplication::instance()) return {};
    return QCoreApplication::applicationFilePath().toStdString();
}

const DocClass* FindDocClass(int classNumber)
{
    for (const DocClass& c : DocClasses())
        if (c.number == classNumber) return &c;
    return nullptr;
}

}  // namespace

namespace orbiscope {

const std::vector<DocClass>& DocClasses()
{
    // Class numbers 7, 8 and 10 are not used.
    static const std::vector<DocClass> classes = {
        {1, ".sun", "Solar outage"},
        {2, ".rdn", "Isolated downlink budget"},
        {3, ".glb", "GEO link budget"},
        {4, ".geo", "Satellite data"},
        {5, ".ang", "Look angles"},
        {6, ".duo", "Dual feed"},
        {9, ".twn", "Country data"},
        {11, ".rup", "Isolated uplink budget"},
        {12, ".atn", "Atmospheric losses"},
        {13, ".llb", "Non-GEO link budget"},
        {14, ".tle", "Two-line elements"},
    };
    return classes;
}

std::string DocClassName(int classNumber) { return "Orbiscope.Doc." + std::to_string(classNumber); }

std::string DocClassMimeType(int classNumber) { return "application/x-orbiscope-doc-" + std::to_string(classNumber); }

std::filesystem::path ShellDataFolder()
{
    if (!DataFolderOverride().empty()) return DataFolderOverride();
    return platform::UserFolder("XDG_DATA_HOME", ".local/share");
}

void SetShellDataFolder(const std::filesystem::path& folder) { DataFolderOverride() = folder; }

std::filesystem::path DesktopEntryPath() { return ShellDataFolder() / "applications" / "orbiscope.desktop"; }

std::filesystem::path MimePackagePath(int classNumber)
{
    return ShellDataFolder() / "mime" / "packages" / (DocClassName(classNumber) + ".xml");
}

std::string DesktopEntryText(const std::string& programPath)
{
    const std::optional<std::string> program = ExecArgument(programPath);
    if (!program) return {};
    std::string types;
    for (const DocClass& c : DocClasses()) types += DocClassMimeType(c.number) + ";";
    std::string text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += std::string("Name=") + kProductName + "\n";
    text += "Exec=" + *program + " -ddeopen %f\n";
    text += "Terminal=false\n";
    text += "NoDisplay=true\n";
    text += "MimeType=" + types + "\n";
    text += "Actions=Print;\n";
    text += "\n";
    text += "[Desktop Action Print]\n";
    text += "Name=Print\n";
    text += "Exec=" + *program + " -ddeprint %f\n";
    return text;
}

std::string MimePackageText(int classNumber, const char* extension)
{
    const DocClass* c = FindDocClass(classNumber);
    std::string text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"" + DocClassMimeType(classNumber) + "\">\n";
    text += "    <comment>" + XmlEscaped(c ? c->description : DocClassName(classNumber).c_str()) + "</comment>\n";
    text += "    <glob pattern=\"*" + XmlEscaped(extension ? extension : "") + "\"/>\n";
    text += "  </mime-type>\n";
    text += "</mime-info>\n";
    return text;
}

void SetShellCacheUpdater(ShellCacheUpdater updater) { CacheUpdater() = std::move(updater); }

std::vector<CmdLineToken> TokenizeCommandLine(const std::vector<std::string>& arguments)
{
    std::vector<CmdLineToken> tokens;
    for (const std::string& a : arguments) {
        if (a.empty()) continue;
        if (a[0] != '-' && a[0] != '/') {
            tokens.push_back({CmdLineToken::Name, a});
            continue;
        }
        const std::size_t separator = a.find_first_of("=:", 1);
        tokens.push_back({CmdLineToken::Option, a.substr(1, separator == std::string::npos ? std::string::npos : separator - 1)});
        if (separator != std::string::npos) tokens.push_back({CmdLineToken::Value, a.substr(separator + 1)});
    }
    return tokens;
}

bool IsUnregisterOption(std::string_view optionText)
{
    static constexpr std::string_view word = "unregister";
    if (optionText.empty() || optionText.size() > word.size()) return false;
    for (std::size_t i = 0; i < optionText.size(); ++i) {
        char c = optionText[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

}  // namespace orbiscope

void TOrbiscope::ProcessCmdLine(const std::vector<std::string>& arguments)
{
    for (const CmdLineToken& t : TokenizeCommandLine(arguments)) {
        if (t.kind == CmdLineToken::Option && IsUnregisterOption(t.text)) {
            UnregisterExtensions();
            return;
        }
    }
    RegisterExtensions();
}

void TOrbiscope::RegisterExtensions()
{
    const std::string text = DesktopEntryText(ProgramFilePath());
    // With no home there is no desktop to tell.
    if (text.empty() || ShellDataFolder().empty()) return;
    FilesChanged() = false;
    WriteIfChanged(DesktopEntryPath(), text);
    for (const DocClass& c : DocClasses()) RegisterDocClasses(c.number, c.extension);
    if (FilesChanged()) RunCacheUpdate(ShellDataFolder());
}

void TOrbiscope::RegisterDocClasses(int classNumber, const char* extension)
{
    WriteIfChanged(MimePackagePath(classNumber), MimePackageText(classNumber, extension));
}

void TOrbiscope::UnregisterExtensions()
{
    if (ShellDataFolder().empty()) return;
    FilesChanged() = false;
    Remove(DesktopEntryPath());
    for (const DocClass& c : DocClasses()) UnregisterDocClasses(c.number, c.extension);
    if (FilesChanged()) RunCacheUpdate(ShellDataFolder());
}

void TOrbiscope::UnregisterDocClasses(int classNumber, const char* extension)
{
    (void)extension;  // the class's package holds its extension
    Remove(MimePackagePath(classNumber));
}
