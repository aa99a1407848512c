#include "framework/app/mdiclient.h"

#include "framework/app/setup_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QVBoxLayout>
#include <QMdiSubWindow>
#include <QPointer>
#include <cstring>

#include "framework/app/icons.h"
#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "framework/app/registration.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/user_folders.h"

using namespace orbiscope;

namespace {
struct LoaderState {
    bool overridden = false;
    TOrbiscopeMDIClient::MapLoader loader;
};
LoaderState& Loader()
{
    static LoaderState s;
    return s;
}

// Reports each failed map in a box without owner; the application ends the
// program (MapFailures).
class MapFailureReporter : public ItuMapLoadObserver {
public:
    void MapLoadFailed(const std::string& message) override
    {
        platform::MessageBox(nullptr, message, kMapLoadErrorCaption, platform::MB_ICONSTOP);
    }
};

// Where the maps' parsed copies are kept between runs: reading the thirty
// texts is most of the start-up's work.  Empty (no copies) when the user has
// no cache folder.
std::filesystem::path MapCacheFolder()
{
    const std::filesystem::path base = platform::UserFolder("XDG_CACHE_HOME", ".cache");
    if (base.empty()) return {};
    return base / "orbiscope" / "maps";
}

const std::vector<std::pair<int, int>> kNewCommands = {
    {6010, 5}, {6011, 6}, {6014, 10}, {6023, 16}, {6022, 15}, {6028, 17}, {6021, 14}, {6016, 11}, {6017, 7}, {6018, 8}};
const int kGraphCommands[] = {6310, 6311, 6312, 6313, 6314, 6315, 6316, 6317, 6318, 6319, 6321, 6322, 6323};
const int kTableCommands[] = {6410, 6411, 6412, 6413, 6414, 6415, 6417, 6419, 6420, 6421, 6422, 6425, 6426, 6427, 6428, 6429};
const std::pair<int, int> kBitmapCommands[] = {{6210, 87}, {6222, 99}, {6219, 89}, {6220, 88}};

// Whether a window of this type has something drawn: graphs and pictures
// keep flags of their own, reports share one.
bool PaintedFlagOf(const TOrbiscope& app, int windowType)
{
    switch (windowType) {
    case kGraphWindowType: return app.PlotPainted;
    case kBitmapWindowType: return app.PicturePainted;
    default: return app.ViewPainted;
    }
}
}  // namespace

void TOrbiscopeMDIClient::SetMapLoader(MapLoader loader)
{
    Loader().overridden = true;
    Loader().loader = std::move(loader);
}

void TOrbiscopeMDIClient::ResetMapLoader() { Loader() = LoaderState{}; }

TOrbiscopeMDIClient::TOrbiscopeMDIClient(TOrbiscope* app) : app_(app)
{
    MapFailureReporter reporter;
    const std::filesystem::path dir = app_->ProgramDir;
    if (!Loader().overridden) {
        mapFailures_ = LoadItuMaps(dir, reporter, MapCacheFolder());
        mapsLoaded_ = true;
    } else if (Loader().loader) {
        mapFailures_ = Loader().loader(dir, reporter);
    }

    // The window the user turns to is the one Edit Active Document edits.
    QObject::connect(this, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* w) {
        if (auto* child = dynamic_cast<TOrbiscopeMDIChild*>(w); child && child->Document()) child->Document()->EvSetFocus();
    });

    for (const auto& [command, type] : kNewCommands) {
        const int t = type;
        SetHandler(command, [this, t] { CmNewDocument(t); });
    }
    SetHandler(CM_EDITACTIVE, [this] { CmEditActiveDocument(); });
    SetEnabler(CM_EDITACTIVE, [this] { return EditActiveEnabled(); });
    SetHandler(CM_FILEOPEN, [this] { CmFileOpen(); });
    SetHandler(CM_FILECLOSE, [this] { CmFileClose(); });
    SetEnabler(CM_FILECLOSE, [this] { return ActiveChild() != nullptr; });
    SetHandler(CM_CLOSEALLDOCS, [this] { CmCloseAll(); });
    SetEnabler(CM_CLOSEALLDOCS, [this] { return ActiveChild() != nullptr; });

    // Print, Print Preview and Page Setup share one enabler; the preview and
    // page set-up themselves come with printing.
    auto printEnabled = [this] {
        const TOrbiscopeMDIChild* child = ActiveDocumentChild();
        return child && child->Document() && PaintedFlagOf(*app_, child->Document()->WindowType());
    };
    for (int id : {CM_FILEPRINT, CM_FILEPRINTPREVIEW, CM_FILEPRINTERSETUP}) SetEnabler(id, printEnabled);
    for (int id : {CM_FILEPRINTPREVIEW, CM_FILEPRINTERSETUP, CM_SETUP}) {
        SetHandler(id, [this, id] {
            if (const ClientCommand* c = FindClientCommand(id)) (*c)(*this);
        });
    }

    // Map menu.
    SetHandler(6209, [this] {
        app_->SetProgramDir();
        app_->CurrentFileName = "TIMEZONE.GIF";
        OpenFromFile = true;
        CreateWindowChild(kBitmapWindowType, 0, 0);
    });
    for (const auto& [command, bitmap] : kBitmapCommands) {
        const int b = bitmap;
        SetHandler(command, [this, b] { ShowBitmapResource(b); });
    }
    SetHandler(6218, [this] {
        app_->SetProgramDir();
        platform::FileDialogData data;
        data.filter = "Bitmap Files (*.??" "?)|*.bmp;*.gif;*.pcx;*.tif;*.jpg|";
        data.initialDir = app_->ProgramDir;
        if (!platform::RunFileOpen(this, "Select a Footprint Map File", data)) return;
        app_->CurrentFileName = data.fileName;
        OpenFromFile = true;
        const TMyWindow* window = CreateWindowChild(kBitmapWindowType, 0, 0);
        if (window && window->HasFileName()) platform::RememberFolderOf(data, data.fileName);
    });

    for (int id : kGraphCommands) SetHandler(id, [this, id] { ShowGraph(id); });
    for (int id : kTableCommands) SetHandler(id, [this, id] { ShowTable(id); });
    for (const CalculatorInfo& c : Calculators()) {
        const int id = c.command;
        SetHandler(id, [this, id] { CmCalculator(id); });
    }
}

TOrbiscopeMDIClient::~TOrbiscopeMDIClient()
{
    if (mapsLoaded_) FreeItuMaps();
}

// Every document type the program opens, in the File Open dialog's order.
const char* const kFileOpenFilter =
    "Look Angle Files (*.ang)|*.ang|Dual Feed Files (*.duo)|*.duo|GEO Link Budget (*.glb;*.upd;)|*.glb;*.upd;|"
    "Country Files (*.twn)|*.twn|Satellite File (*.geo)|*.geo|Solar Outage (*.sun)|*.sun|"
    "Bitmap Files (*.??" "?)|*.bmp;*.gif;*.pcx;*.tif;*.jpg|Atmospheric Losses Files (*.atn;*.att)|*.atn;*.att|"
    "Uplink Budget (isolated) (*.rup)|*.rup|Downlink Budget (isolated) (*.rdn;*.dlb;*.dnd)|*.rdn;*.dlb;*.dnd|"
    "Non GEO Link Budget (*llb;*.leo)|*.llb;*.leo|Two Line Element files (*tle)|*.tle|All Files (*.*)|*.*|";

void TOrbiscopeMDIClient::SetupWindow()
{
    app_->CurrentFileName.clear();
    app_->FileData.initialDir = app_->ProgramDir;
    // The country files and the satellite list ship beside the program: a
    // first look for them lists those.
    platform::SetProgramFolderKinds({"twn", "geo"});
    setup::ReadConfiguration(*app_, this);
    // Several files may be opened at once; each must exist; Save As asks
    // before overwriting.
    app_->FileData.overwritePrompt = true;
    app_->FileData.multiSelect = true;
    app_->FileData.filter = kFileOpenFilter;
}

TOrbiscopeMDIChild* TOrbiscopeMDIClient::ActiveDocumentChild() const
{
    return dynamic_cast<TOrbiscopeMDIChild*>(ActiveChild());
}

platform::MdiChild* TOrbiscopeMDIClient::InitChild()
{
    const WindowTypeInfo* info = FindWindowType(app_->PendingWindowType);
    const WindowFactory* factory = FindWindowFactory(app_->PendingWindowType);
    if (!info || !factory || !*factory) return nullptr;  // that window class is not built yet
    const char* name = (info->takesFileName && OpenFromFile) ? app_->CurrentFileName.c_str() : nullptr;
    TMyWindow* window = (*factory)(name);
    if (!window) return nullptr;
    window->SetWindowType(info->type);
    auto* child = new TOrbiscopeMDIChild(this, info->childTitle, window);
    child->setWindowIcon(IconResource(info->icon));
    return child;
}

TMyWindow* TOrbiscopeMDIClient::CreateWindowChild(int windowType, int builderCommand, int builderArgument)
{
    app_->PendingWindowType = windowType;
    auto* child = dynamic_cast<TOrbiscopeMDIChild*>(CreateChild());
    TMyWindow* window = child ? child->Document() : nullptr;
    if (window && builderCommand != 0)
        if (const WindowBuilder* b = FindWindowBuilder(builderCommand)) (*b)(*window, builderArgument);
    // A builder whose form was cancelled asked for its window to go.
    if (window && window->CloseIfRequested()) return nullptr;
    return window;
}

bool TOrbiscopeMDIClient::OpenFile(const char* fileName)
{
    OpenFromFile = true;
    if (fileName) app_->CurrentFileName = fileName;
    const std::string name = app_->CurrentFileName;
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    const std::string ext = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? name.substr(dot) : "";
    const WindowTypeInfo* info = ext.empty() ? nullptr : FindWindowTypeByExtension(ext);
    if (!info) {
        platform::MessageBox(this, "Not a supported file type (or too many files selected)", kMainTitle,
                             platform::MB_ICONEXCLAMATION);
        return false;
    }
    // Only a file that opened joins the recent list and sets the file type
    // the next Open offers: a window that could not read its file has said
    // so and dropped the name.
    const TMyWindow* window = CreateWindowChild(info->type, 0, 0);
    if (!window || !window->HasFileName()) return false;
    app_->FileData.filterIndex = info->filterIndex;
    app_->AddRecentFile(name);
    return true;
}

void TOrbiscopeMDIClient::CmNewDocument(int windowType)
{
    OpenFromFile = false;
    TMyWindow* window = CreateWindowChild(windowType, 0, 0);
    const WindowTypeInfo* info = FindWindowType(windowType);
    if (window && info && info->editCommand) platform::PostCommand(window, info->editCommand);
}

bool TOrbiscopeMDIClient::EditActiveEnabled() const
{
    return app_->PendingWindowType >= 4 && ActiveChild() != nullptr;
}

void TOrbiscopeMDIClient::CmEditActiveDocument()
{
    TOrbiscopeMDIChild* child = ActiveDocumentChild();
    const WindowTypeInfo* info = FindWindowType(app_->PendingWindowType);
    if (!child || !info || !info->editCommand) return;
    // To the child's frame, which passes it on to its document window.
    platform::RouteCommand({child->Document(), child}, info->editCommand);
}

void TOrbiscopeMDIClient::CmFileOpen()
{
    const std::string saved = app_->CurrentFileName;
    // The name left from before is another file's (the last one opened, a
    // refused one, the Map menu's picture): the dialog shows none.
    app_->CurrentFileName.clear();
    app_->FileData.multiSelect = true;
    if (!platform::RunFileOpen(this, "Open", app_->FileData)) {
        app_->CurrentFileName = saved;
        return;
    }
    const std::vector<std::string> chosen = app_->FileData.chosen;
    if (chosen.size() <= 1) {
        const std::string name = app_->CurrentFileName;
        if (OpenFile(nullptr)) platform::RememberFolderOf(app_->FileData, name);
        return;
    }
    for (const std::string& name : chosen)
        if (OpenFile(name.c_str())) platform::RememberFolderOf(app_->FileData, name);
}

void TOrbiscopeMDIClient::CmFileClose()
{
    if (platform::MdiChild* child = ActiveChild()) child->CloseAsking();
}

void TOrbiscopeMDIClient::CmCloseAll()
{
    // Only this command's answers tell whether the user called it off: a
    // window that refuses before it asks keeps an earlier close's Cancel.
    for (platform::MdiChild* c : Children())
        if (auto* window = dynamic_cast<TMyWindow*>(c->ClientWindow())) window->ForgetCloseCalledOff();
    platform::MdiChild* refused = nullptr;
    if (CloseChildren(&refused)) return;
    // One refused: none went.  A Cancel is the user's answer to the whole
    // command; after a save that failed the active one is asked on its own.
    if (auto* window = dynamic_cast<TMyWindow*>(refused->ClientWindow()); window && window->CloseCalledOff()) return;
    if (platform::MdiChild* child = ActiveChild()) child->CloseAsking();
}

void TOrbiscopeMDIClient::ShowGraph(int commandId)
{
    const int argument = commandId == 6311 ? 0 : commandId == 6312 ? 1 : commandId;
    CreateWindowChild(kGraphWindowType, commandId, argument);
}

void TOrbiscopeMDIClient::ShowTable(int commandId) { CreateWindowChild(kTableWindowType, commandId, commandId); }

void TOrbiscopeMDIClient::ShowBitmapResource(int bitmapId)
{
    OpenFromFile = false;
    int command = 0;
    for (const auto& [c, b] : kBitmapCommands)
        if (b == bitmapId) command = c;
    TMyWindow* window = CreateWindowChild(kBitmapWindowType, command, bitmapId);
    if (window && QApplication::activeModalWidget()) LendToModalForm(*window);
}

namespace {
// The window a document child stands in while it is lent to a modal form:
// the holder's title bar is the child's, so the child shows none of its own
// inside; closing the holder closes the child.
class LentChildHolder : public QWidget {
public:
    explicit LentChildHolder(QMdiSubWindow* child) : child_(child)
    {
        setWindowTitle(child->windowTitle());
        child->setWindowFlags(Qt::FramelessWindowHint);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(child);
        // The child closed by its own close box leaves nothing to hold.
        QObject::connect(child, &QObject::destroyed, this, [this] { deleteLater(); });
    }
    QMdiSubWindow* Child() const { return child_; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (child_ && !child_->close()) event->ignore();
    }

private:
    QPointer<QMdiSubWindow> child_;
};
}  // namespace

// A reference picture asked for from a modal form (the ionospheric
// calculator's map) would open in the frame the form blocks: it stands beside
// the form instead, and comes back into the frame when the form closes.
void TOrbiscopeMDIClient::LendToModalForm(TMyWindow& window)
{
    QWidget* w = &window;
    while (w && !qobject_cast<QMdiSubWindow*>(w)) w = w->parentWidget();
    auto* child = qobject_cast<QMdiSubWindow*>(w);
    if (!child) return;
    if (child->isMaximized() || child->isMinimized()) child->showNormal();
    const QSize size = child->size();
    const Qt::WindowFlags inFrame = child->windowFlags();
    removeSubWindow(child);
    auto* holder = new LentChildHolder(child);
    holder->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<TOrbiscopeMDIClient> client = this;
    const auto giveBack = [client, inFrame](QWidget* lent) {
        auto* h = static_cast<LentChildHolder*>(lent);
        QMdiSubWindow* sub = h->Child();
        h->hide();
        h->deleteLater();
        if (!sub) return;
        const QSize size = sub->size();
        sub->setParent(nullptr, inFrame);
        if (!client) {
            sub->deleteLater();
            return;
        }
        client->addSubWindow(sub);
        sub->resize(size);
        sub->show();
        client->setActiveSubWindow(sub);
    };
    holder->resize(size);
    if (!platform::KeepBesideModalForm(holder, giveBack)) {  // no form after all: straight back
        giveBack(holder);
        return;
    }
    child->show();
    holder->show();
    holder->raise();
    holder->activateWindow();
}

void TOrbiscopeMDIClient::CmCalculator(int commandId)
{
    const CalculatorInfo* info = FindCalculatorInfo(commandId);
    const CalculatorRunner* runner = FindCalculator(commandId);
    if (!info || !runner || !*runner) return;
    std::vector<std::uint8_t> buffer(std::size_t(info->bufferBytes), 0);
    for (int off : info->wordSeeds) buffer[std::size_t(off)] = 1;
    if (info->textSeedOffset >= 0)
        std::memcpy(buffer.data() + info->textSeedOffset, info->textSeed, std::strlen(info->textSeed));
    (*runner)(*this, buffer.data(), buffer.size());
}

void TOrbiscopeMDIClient::focusInEvent(QFocusEvent* event)
{
    if (platform::MdiFrame* frame = app_->Frame()) frame->SetStatusText("");
    platform::MdiClient::focusInEvent(event);
}
