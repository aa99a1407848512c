#include "linkbudget/geo/geo_batch_form.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/forms/control_table.h"
#include "framework/forms/form_controls.h"
#include "framework/forms/scratch_record.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"

namespace {

using F = TGeoBatchForm;

constexpr int kNameBytes = 261;
constexpr HintEntry kEntryHints[] = {
    {F::kExecutable, 0, "Enter the path to the GEO batch processor"},
    {F::kInputFile, 0, "Enter the filename of the input file"},
    {F::kOutputBase, 0, "Enter the base filename of the output file/s"},
};

struct Selection {
    int button;
    int entry;
    const char* title;
    const char* filter;
};
constexpr Selection kSelections[] = {
    {F::kSelectExecutable, F::kExecutable, "Path to Orbiscope.exe", "Executable Files (*.exe)|*.exe"},
    {F::kSelectInput, F::kInputFile, "Select Input Batch File", "Text Files (*.txt)|*.txt"},
    {F::kSelectOutput, F::kOutputBase, "Set Base Output Results Filename", "Text Files (*.txt)|*.txt"},
};

F::Starter& CurrentStarter()
{
    static F::Starter starter = F::StartDetached;
    return starter;
}

// Whether two open regular files hold the same bytes.
bool SameBytes(int a, int b)
{
    std::vector<char> x(1 << 16), y(1 << 16);
    for (;;) {
        const ssize_t n = ::read(a, x.data(), x.size());
        if (n < 0) return false;
        if (n == 0) return ::read(b, y.data(), 1) == 0;
        ssize_t got = 0;
        while (got < n) {
            const ssize_t m = ::read(b, y.data() + got, std::size_t(n - got));
            if (m <= 0) return false;
            got += m;
        }
        if (std::memcmp(x.data(), y.data(), std::size_t(n)) != 0) return false;
    }
}

// Whether a path names the running program, however it is spelt: a
// relative name, a symbolic or hard link, a copy of it or, without a
// folder, the program found on the search path, as the start would find it.
// The field's label names "Orbiscope.exe", so a user may point it here;
// started with two file names, Orbiscope would only hand them to the running
// one as a second start and end without a word, leaving no output and no
// message.
bool NamesThisProgram(std::string_view path)
{
    const QString name = platform::ShownFileName(path);
    const QString found = name.contains('/') ? name : QStandardPaths::findExecutable(name);
    if (found.isEmpty()) return false;
    // The running program's own file, even when a newer build has replaced
    // it under its name since it started.  Its identity needs no right to
    // read it (a binary may be execute-only); its bytes are read only to
    // know a copy.
    const QByteArray other = QFile::encodeName(found);
    struct stat s {}, o {};
    if (::stat("/proc/self/exe", &s) != 0 || ::stat(other.constData(), &o) != 0 || !S_ISREG(o.st_mode)) return false;
    if (s.st_dev == o.st_dev && s.st_ino == o.st_ino) return true;
    if (s.st_size != o.st_size) return false;
    const int a = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    const int b = ::open(other.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool same = a >= 0 && b >= 0 && SameBytes(a, b);
    if (a >= 0) ::close(a);
    if (b >= 0) ::close(b);
    return same;
}

}  // namespace

std::vector<platform::ControlSpec> TGeoBatchForm::ControlTable()
{
    using namespace controls;
    // The three names, then the four switches: the settings' field order.
    return {
        Label("Path to Orbiscope.exe", 12, 12, 300),
        FileNameEdit(kExecutable, kNameBytes, 12, 34, 430),
        Button(kSelectExecutable, "Select", 452, 32, 80),
        Label("Input filename", 12, 66, 300),
        FileNameEdit(kInputFile, kNameBytes, 12, 88, 430),
        Button(kSelectInput, "Select", 452, 86, 80),
        Label("Base output filename", 12, 120, 300),
        FileNameEdit(kOutputBase, kNameBytes, 12, 142, 430),
        Button(kSelectOutput, "Select", 452, 140, 80),
        Group("Output Switches", 12, 176, 520, 78),
        Check(kCsv, "CSV", 24, 198, 220),
        Check(kIncludeInput, "Include input values", 270, 198, 240),
        Check(kQuiet, "Quiet", 24, 226, 220),
        Check(kHideTerminal, "Hide cmd.exe window", 270, 226, 240),
        Button(platform::IDOK, "OK", 12, 270, 80),
        Button(platform::IDCANCEL, "Cancel", 100, 270, 80),
        Button(kClear, "Clear", 188, 270, 80),
        Button(platform::IDHELP, "Help", 276, 270, 80),
    };
}

TGeoBatchForm::TGeoBatchForm(QWidget* parent, std::uint8_t* buffer, std::size_t size)
    : TForm(parent, kResourceId, "GEO Batch Link Budget", ControlTable()), buffer_(buffer), size_(size)
{
    SetTransferBuffer(buffer_, size_);
    for (int id : {kExecutable, kInputFile, kOutputBase}) new THintedEdit(this, id, kNameBytes, kEntryHints);
    new TArg1CheckBox(this, kCsv);
    new TArg2CheckBox(this, kIncludeInput);
    new TArg3CheckBox(this, kQuiet);
    new THideCmdWindowCheckBox(this, kHideTerminal);
    for (const Selection& s : kSelections) SetHandler(s.button, [this, id = s.entry] { CmSelect(id); });
    SetHandler(kClear, [this] { CmClear(); });
    SetHandler(platform::IDHELP, [this] { ShowHelp(kResourceId); });
}

void TGeoBatchForm::SetupWindow()
{
    if (TOrbiscope* app = App(); app && buffer_) {
        const auto stored = app->FormRecord(kStoredRecord);
        std::memcpy(buffer_, stored.data(), std::min(stored.size(), size_));
    }
    TForm::SetupWindow();
}

GeoBatchSettings TGeoBatchForm::Scratch() const { return ReadScratch<GeoBatchSettings>(*this); }

void TGeoBatchForm::PutScratch(const GeoBatchSettings& settings) { WriteScratch(*this, settings); }

void TGeoBatchForm::CmSelect(int entryId)
{
    const auto s = std::find_if(std::begin(kSelections), std::end(kSelections),
                                [entryId](const Selection& x) { return x.entry == entryId; });
    if (s == std::end(kSelections)) return;
    platform::FileDialogData data;
    data.filter = s->filter;
    if (!platform::RunFileOpen(this, s->title, data)) return;
    GeoBatchSettings settings = Scratch();
    char* field = entryId == kExecutable ? settings.executable
                  : entryId == kInputFile ? settings.inputFile
                                          : settings.outputBase;
    std::memset(field, 0, kNameBytes);
    std::memcpy(field, data.fileName.data(), std::min<std::size_t>(data.fileName.size(), kNameBytes - 1));
    PutScratch(settings);
    platform::RememberFolderOf(data, data.fileName);  // taken as the batch's setting
}

void TGeoBatchForm::CmClear() { PutScratch(ClearedGeoBatchSettings()); }

bool TGeoBatchForm::CanClose()
{
    const GeoBatchSettings s = Scratch();
    if (!CheckField("Orbiscope filename", FieldView(s.executable), FieldType::FileName, 0, 0, ""))
        return false;
    if (NamesThisProgram(FieldView(s.executable))) {
        if (!Silent()) FocusControl(kExecutable);
        ReportFieldError("This is Orbiscope itself. The GEO batch processor is a separate program, not part of "
                         "Orbiscope: enter the path to the batch processor.",
                         "GEO Batch Link Budget");
        return false;
    }
    if (!CheckField("Input filename", FieldView(s.inputFile), FieldType::FileName, 0, 0, "") ||
        !CheckField("Base output filename", FieldView(s.outputBase), FieldType::FileName, 0, 0, ""))
        return false;
    if (buffer_) std::memcpy(buffer_, &s, std::min(sizeof s, size_));
    if (TOrbiscope* app = App()) {
        const auto stored = app->FormRecord(kStoredRecord);
        std::memcpy(stored.data(), &s, std::min(sizeof s, stored.size()));
    }
    return true;
}

void TGeoBatchForm::SetStarter(Starter starter) { CurrentStarter() = starter ? std::move(starter) : StartDetached; }

bool TGeoBatchForm::StartDetached(const BatchCommand& command)
{
    if (command.program.empty()) return false;
    QProcess process;
    process.setProgram(platform::ShownFileName(command.program));
    QStringList arguments;
    for (const std::string& a : command.arguments) arguments << platform::ShownFileName(a);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    if (command.hideTerminal) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    } else {
        // Its messages go to the terminal this program was started from.
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    }
    return process.startDetached();
}

void TGeoBatchForm::Run(TOrbiscopeMDIClient& client, std::uint8_t* buffer, std::size_t size)
{
    GeoBatchSettings settings;
    std::memset(&settings, 0, sizeof settings);
    {
        TGeoBatchForm form(client.window(), buffer, size);
        if (form.Execute() != platform::IDOK) return;
        std::memcpy(&settings, buffer, std::min(sizeof settings, size));
    }
    TerminateText(settings.executable);
    TerminateText(settings.inputFile);
    TerminateText(settings.outputBase);
    if (!CurrentStarter()(BatchCommandFor(settings)))
        platform::MessageBox(client.window(), "Failed to run orbiscope.ese", orbiscope::kMainTitle, platform::MB_OK);
}
