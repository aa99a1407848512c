#include "tests/desktop/program/command_probe.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QMimeData>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/output/preview.h"
#include "platform/filedialog.h"
#include "platform/printer.h"
#include "platform/services.h"

namespace wholeprogram {

namespace fs = std::filesystem;

namespace {

// Put on the clipboard, and asked of a file dialog, before each command: a
// command that copies or asks for a file replaces it.
constexpr const char* kClipboardMark = "clipboard before the command";
constexpr const char* kFileDialogMark = "file dialog before the command";
// Where a window is, not whether it is the active one.
constexpr Qt::WindowStates kPlacementStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// A file as a safe save leaves it: a new file renamed over the old one.
struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && inode == o.inode && modified.tv_sec == o.modified.tv_sec &&
               modified.tv_nsec == o.modified.tv_nsec;
    }
};

FileStamp StampOf(const std::string& file)
{
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0) return {};
    return {true, st.st_ino, st.st_mtim};
}

void MarkFileDialog()
{
    platform::FileDialogData data;
    platform::RunFileOpen(nullptr, kFileDialogMark, data);  // no answer queued: cancelled at once
}

std::vector<TApxPreviewWin*> Previews()
{
    std::vector<TApxPreviewWin*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = dynamic_cast<TApxPreviewWin*>(w); p && p->isVisible()) out.push_back(p);
    return out;
}

bool ClipboardReplaced()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasImage() || data->text() != QLatin1String(kClipboardMark));
}

// A report has lines; a picture or a plot, once there, can be copied.
bool ShowsSomething(TOrbiscope& app, platform::MdiChild* child)
{
    auto* c = dynamic_cast<TOrbiscopeMDIChild*>(child);
    if (!c || !c->Document()) return false;
    if (c->Document()->Lines() > 0) return true;
    app.Client()->Activate(child);
    return app.IsEnabled(orbiscope::CM_EDITCOPY);
}

}  // namespace

const char* EffectName(Effect effect)
{
    static const std::map<Effect, const char*> names = {
        {Effect::NewWindow, "new window"},   {Effect::Dialog, "dialog"},
        {Effect::Message, "message"},        {Effect::FileDialog, "file dialog"},
        {Effect::Help, "help"},              {Effect::Printed, "printed"},
        {Effect::Preview, "preview"},        {Effect::PageSetup, "page set-up"},
        {Effect::Clipboard, "clipboard"},    {Effect::DocumentWritten, "document written"},
        {Effect::WindowsArranged, "windows arranged"}, {Effect::WindowClosed, "window closed"},
        {Effect::FrameClosed, "frame closed"},
    };
    return names.at(effect);
}

std::string CommandOutcome::Describe() const
{
    std::string s = "command " + std::to_string(command) + (enabled ? " (enabled):" : " (disabled):");
    for (Effect e : effects) s += std::string(" ") + EffectName(e) + ";";
    for (int d : dialogs) s += " dialog " + std::to_string(d) + ";";
    for (const auto& m : messages) s += " message \"" + m.caption + ": " + m.text + "\";";
    for (const auto& w : newWindows) s += " window \"" + w + "\";";
    if (windowsClosed) s += " " + std::to_string(windowsClosed) + " window(s) closed;";
    for (const auto& l : leftOpen) s += " left open: " + l + ";";
    return s;
}

struct CommandProbe::Before {
    std::vector<QPointer<platform::MdiChild>> children;
    QPointer<platform::MdiChild> active;
    QRect activeGeometry;
    Qt::WindowStates activeState;
    std::string document;
    FileStamp documentStamp;
    bool frameVisible = false;
};

CommandProbe::CommandProbe(InstalledProgram& program, DialogWalk& dialogs) : program_(program), dialogs_(dialogs)
{
    platform::SetMessageBoxSink([this](const platform::MessageBoxCall& call) {
        messages_.push_back(call);
        // A question is answered No: close without saving, overwrite nothing.
        return call.YesNo() ? platform::IDNO : platform::IDOK;
    });
    // The close-all call at exit (-1) shows nothing.
    dialogs_.SetHelpListener([this](int id) { helpRequests_ += id >= 0; });
    platform::Printer::SetPrintToPdfFile((program_.Documents() / "printed.pdf").string());
    platform::Printer::SetPageSetupSink([this] { ++pageSetups_; });
}

CommandProbe::~CommandProbe()
{
    platform::SetMessageBoxSink({});
    dialogs_.SetHelpListener({});
    platform::Printer::SetPrintToPdfFile({});
    platform::Printer::SetPageSetupSink({});
}

CommandProbe::Before CommandProbe::Observe() const
{
    Before b;
    TOrbiscopeMDIClient& client = *program_.App().Client();
    for (platform::MdiChild* c : client.Children()) b.children.emplace_back(c);
    b.active = client.ActiveChild();
    if (b.active) {
        b.activeGeometry = b.active->geometry();
        b.activeState = b.active->windowState() & kPlacementStates;
    }
    if (TOrbiscopeMDIChild* doc = client.ActiveDocumentChild(); doc && doc->Document())
        b.document = doc->Document()->FileName();
    b.documentStamp = StampOf(b.document);
    b.frameVisible = program_.App().Frame()->isVisible();
    return b;
}

std::vector<std::string> CommandProbe::StillUp() const
{
    std::vector<std::string> up;
    if (QWidget* modal = QApplication::activeModalWidget()) up.push_back("modal " + modal->windowTitle().toStdString());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w == program_.App().Frame()) continue;
        if (qobject_cast<QDialog*>(w)) up.push_back("dialog \"" + w->windowTitle().toStdString() + "\"");
        else up.push_back(std::string("window \"") + w->windowTitle().toStdString() + "\" (" +
                          w->metaObject()->className() + ")");
    }
    return up;
}

CommandOutcome CommandProbe::Run(int command, const std::string& chosenFile)
{
    CommandOutcome out;
    out.command = command;
    TOrbiscope& app = program_.App();
    app.Frame()->UpdateCommandEnablers();
    out.enabled = app.IsEnabled(command);
    if (!out.enabled) return out;

    const Before before = Observe();
    const fs::path pdf = program_.Documents() / "printed.pdf";
    fs::remove(pdf);
    platform::CopyTextToClipboard(kClipboardMark);
    MarkFileDialog();
    if (!chosenFile.empty()) platform::QueueFileDialogAnswer({{chosenFile}});
    messages_.clear();
    dialogs_.TakeOpened();
    helpRequests_ = 0;
    pageSetups_ = 0;

    app.Dispatch(command);
    SettleEvents();
    platform::ClearFileDialogAnswers();

    const std::vector<TApxPreviewWin*> previews = Previews();
    out.dialogs = dialogs_.TakeOpened();
    out.messages = messages_;
    TOrbiscopeMDIClient& client = *app.Client();
    for (platform::MdiChild* c : client.Children()) {
        if (std::find(before.children.begin(), before.children.end(), c) != before.children.end()) continue;
        out.newWindows.push_back(c->windowTitle().toStdString());
        auto* document = dynamic_cast<TOrbiscopeMDIChild*>(c);
        out.newWindowTypes.push_back(document && document->Document() ? document->Document()->WindowType() : 0);
        out.newWindowsShowSomething = out.newWindowsShowSomething && ShowsSomething(app, c);
    }
    for (const auto& c : before.children)
        if (!c || !c->isVisible()) ++out.windowsClosed;
    out.windowsOpen = int(client.Children().size());

    auto mark = [&out](bool happened, Effect e) {
        if (happened) out.effects.insert(e);
    };
    mark(!out.newWindows.empty(), Effect::NewWindow);
    mark(!out.dialogs.empty(), Effect::Dialog);
    mark(!out.messages.empty(), Effect::Message);
    mark(platform::LastFileDialogRequest().title != kFileDialogMark, Effect::FileDialog);
    mark(helpRequests_ > 0, Effect::Help);
    mark(fs::exists(pdf), Effect::Printed);
    mark(!previews.empty(), Effect::Preview);
    mark(pageSetups_ > 0, Effect::PageSetup);
    mark(ClipboardReplaced(), Effect::Clipboard);
    mark(!before.document.empty() && !(StampOf(before.document) == before.documentStamp), Effect::DocumentWritten);
    mark(before.active && before.active->isVisible() &&
             (before.active->geometry() != before.activeGeometry ||
              (before.active->windowState() & kPlacementStates) != before.activeState),
         Effect::WindowsArranged);
    mark(out.windowsClosed > 0, Effect::WindowClosed);
    mark(before.frameVisible && !app.Frame()->isVisible(), Effect::FrameClosed);

    // A preview is a window of its own that the user closes when done.
    for (TApxPreviewWin* p : previews) {
        p->close();
        p->deleteLater();
    }
    SettleEvents();
    out.leftOpen = StillUp();
    return out;
}

}  // namespace wholeprogram
