#include "framework/app/orbiscope.h"

#include "propagation/coordinates.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "framework/app/icons.h"
#include "framework/app/mdiclient.h"
#include "framework/app/menus.h"
#include "framework/app/registration.h"
#include "framework/app/strings.h"
#include "framework/output/file_limit.h"
#include "platform/messagebox.h"
#include "propagation/geo_notifier.h"
#include "platform/services.h"

using namespace orbiscope;

namespace {
constexpr const char* kMruKey = "Software\\Orbiscope\\MRU";
constexpr const char* kCountryKey = "Software\\Orbiscope\\DefaultCountryFile";

void PutWord(std::uint8_t* p, int offset)
{
    p[offset] = 1;
    p[offset + 1] = 0;
}

// Notices of the calculation libraries become message boxes without owner.
class BoxNotifier : public CalculationNotifier {
public:
    NoticeAnswer Notify(const Notice& notice) override
    {
        unsigned flags = notice.buttons == NoticeButtons::YesNo ? platform::MB_YESNO : platform::MB_OK;
        switch (notice.icon) {
        case NoticeIcon::Information: flags |= platform::MB_ICONINFORMATION; break;
        case NoticeIcon::Exclamation: flags |= platform::MB_ICONEXCLAMATION; break;
        case NoticeIcon::Stop: flags |= platform::MB_ICONSTOP; break;
        case NoticeIcon::Question: flags |= platform::MB_ICONQUESTION; break;
        }
        const int answer = platform::MessageBox(nullptr, notice.text, notice.caption, flags);
        if (notice.buttons == NoticeButtons::Ok) return NoticeAnswer::Ok;
        return answer == platform::IDYES ? NoticeAnswer::Yes : NoticeAnswer::No;
    }
};
// Timing hook (ORBISCOPE_EXIT_WHEN_SHOWN set): once the frame has painted for
// the first time, "frame shown" goes to the standard output and the program
// exits through File Exit, as a user would end it.  Start-up and shut-down
// are timed from outside with it (bench/startup_time.sh).
class ExitWhenShown : public QObject {
public:
    explicit ExitWhenShown(TOrbiscope& app) : QObject(&app), app_(app) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !posted_) {
            posted_ = true;
            // Queued: it runs once this paint is done.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    std::fputs("frame shown\n", stdout);
                    std::fflush(stdout);
                    app_.PostToMainWindow(CM_EXIT);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    TOrbiscope& app_;
    bool posted_ = false;
};

// A later start hands its file, or only its wish to see the program, to the
// first instance and ends: with 0 only when the first took it, else with a
// word on what was not done and why.  Nothing when this start has become the
// first instance itself, the first one having gone meanwhile.
std::optional<int> HandOverToFirstInstance(TOrbiscope& app, const std::optional<DdeLaunch>& launch)
{
    using platform::HandOver;
    // The file's place in the text: its name is shown as the file system
    // names it.
    std::string text;
    if (const std::string problem = launch ? HandOverProblem(*launch) : std::string(); !problem.empty()) {
        text = "%s was not opened: " + problem + ".";
    } else {
        const auto send = [&launch](int connectMs, int answerMs) {
            return launch ? SendDdeLaunch(*launch, connectMs, answerMs)
                          : TOrbiscope::ActivatePreviousInstance(connectMs, answerMs);
        };
        // A program that is closing may yet call its close off, or end and
        // leave the lock to the first start that finds it free; one with too
        // many files waiting works them down, or ends the same way: its later
        // starts try again, the whole wait no longer than one hand-over's.
        const std::optional<HandOver> last = platform::HandOverWithinDeadline(
            send, [&app, &launch] { return app.BecomeFirstInstance(launch && launch->print); });
        if (!last) return std::nullopt;
        const HandOver& answer = *last;
        if (answer.Taken()) return 0;
        // A refusal is an answer, with its reason.
        const bool refused = answer.result == HandOver::Result::Refused;
        text = refused ? "Orbiscope is already running" : "Orbiscope is already running but does not answer";
        if (launch) text += "; %s was not opened";
        if (!answer.reason.empty()) text += ": " + answer.reason;
        text += ".";
    }
    platform::MessageBox(nullptr, platform::FileMessage{text, launch ? launch->file : std::string()}, kMainTitle,
                         platform::MB_OK | platform::MB_ICONSTOP);
    return kExitStartFailed;
}

}  // namespace

TOrbiscope::TOrbiscope() : recent_(kMruKey, 6, 30)
{
    notifier_ = std::make_unique<BoxNotifier>();
    previousNotifier_ = SetCalculationNotifier(notifier_.get());
    // "Today" of the magnetic declination is the application's clock, so the
    // test seam that fixes the report date fixes the declination too.
    SetDeclinationClock([] { return std::chrono::system_clock::from_time_t(platform::NowUtc()); });
    // Zero-filled records, then the default button states of the stored
    // dialog values.
    ApplyDefaultButtonStates();
    FileData.initialDir.clear();
    recent_.Load();
    InitDdeServer();  // without it the program runs on, without a DDE server
    SetProgramDir();
}

TOrbiscope::~TOrbiscope()
{
    // The frame owns the client; destroying it frees the maps.
    delete frame_;
    ShutdownDdeServer();
    SetCalculationNotifier(previousNotifier_);
    SetDeclinationClock({});
}

TOrbiscope* TOrbiscope::Current() { return dynamic_cast<TOrbiscope*>(platform::Application::Current()); }

void TOrbiscope::ApplyDefaultButtonStates()
{
    struct Seed {
        int record;
        std::vector<int> offsets;
    };
    static const Seed seeds[] = {
        {16, {15}}, {17, {162}}, {24, {134}}, {27, {90}}, {28, {157}}, {31, {341, 345, 349, 355, 357}},
        {32, {104}}, {33, {119, 123, 127, 133, 135}}, {34, {380, 384, 388, 394, 396}}, {36, {65, 79}}, {38, {52}},
    };
    FormValueTable.fill(0);
    for (const Seed& s : seeds) {
        auto rec = FormRecord(s.record);
        for (int off : s.offsets) PutWord(rec.data(), off);
    }
}

int TOrbiscope::FormRecordOffset(int record)
{
    int off = 0;
    for (int i = 1; i < record && i <= 47; ++i) off += kFormValueRecordSizes[std::size_t(i - 1)];
    return off;
}

std::span<std::uint8_t> TOrbiscope::FormRecord(int record)
{
    if (record < 1 || record > 47) return {};
    return {FormValueTable.data() + FormRecordOffset(record), std::size_t(kFormValueRecordSizes[std::size_t(record - 1)])};
}

bool TOrbiscope::SaveDialogValuesOnExit() const { return (SetUpRecord[138] | SetUpRecord[139] << 8) == 1; }
bool TOrbiscope::RestrictPolarization() const { return (SetUpRecord[140] | SetUpRecord[141] << 8) != 0; }

void TOrbiscope::SetProgramDir()
{
    const std::filesystem::path dir = platform::ProgramDirectory();
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    ProgramDir = dir.string();
    if (ProgramDir.empty() || ProgramDir.back() != '/') ProgramDir += '/';
    if (FileData.initialDir.empty()) FileData.initialDir = ProgramDir;
}

platform::InstanceRole TOrbiscope::BecomeFirstInstance(bool forPrint)
{
    instance_ = std::make_unique<platform::SingleInstance>(QString::fromLatin1(kMainTitle));
    const platform::InstanceRole role = instance_->Claim();
    if (role != platform::InstanceRole::First) {
        instance_.reset();
        return role;
    }
    if (forPrint) instance_->BeginEnding();
    // A registry write killed half-way left its temporary file beside the
    // registry; the instance that holds the lock takes it away.
    platform::Registry::RemoveLeftovers();
    instance_->SetMessageHandler([this](const QByteArray& message) {
        if (message == "activate" && frame_) {
            if (frame_->isMinimized()) frame_->showNormal();
            frame_->raise();
            frame_->activateWindow();
        } else if (IsDdeMessage(std::string_view(message.constData(), std::size_t(message.size())))) {
            ReceiveDdeMessage(std::string_view(message.constData(), std::size_t(message.size())));
        }
    });
    return role;
}

void TOrbiscope::StartServingSocket()
{
    if (instance_) instance_->StartServing();
}

void TOrbiscope::BeginEnding()
{
    if (instance_) instance_->BeginEnding();
}

void TOrbiscope::FinishServing()
{
    if (!instance_) return;
    instance_->Finish(true);
    instance_->LetGo();
}

platform::HandOver TOrbiscope::ActivatePreviousInstance(int connectMs, int answerMs)
{
    return platform::SingleInstance(QString::fromLatin1(kMainTitle)).SendToPrimary("activate", connectMs, answerMs);
}

void TOrbiscope::InitMainWindow()
{
    client_ = new TOrbiscopeMDIClient(this);
    frame_ = new platform::MdiFrame(kMainTitle, client_);
    frame_->setWindowIcon(ProgramIcon());
    SetFrame(frame_);
    // The map's message was the last word: no set-up notice follows it, and
    // the loop ends with the failure's status as soon as it starts.
    if (client_->MapFailures() > 0) {
        startFailed_ = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::exit(kExitStartFailed); }, Qt::QueuedConnection);
        return;
    }
    frame_->BuildMenus(MainMenu());
    frame_->statusBar()->setSizeGripEnabled(true);

    if (auto v = platform::Registry::ReadString(kCountryKey, "")) DefaultCountryFile = v->substr(0, 511);
    else platform::Registry::WriteString(kCountryKey, "", "");

    frame_->SetAccelerator(CM_EDITCOPY, QKeySequence(Qt::CTRL | Qt::Key_Insert));
    frame_->SetAccelerator(CM_EDITACTIVE, QKeySequence(Qt::Key_F12));
    frame_->SetAccelerator(CM_EXIT, QKeySequence(Qt::ALT | Qt::Key_F4));
    SetupToolbar();

    // Application commands.
    SetHandler(CM_HELPCONTENTS, [this] { CmHelpContents(); });
    SetHandler(CM_HELPABOUT, [this] { CmHelpAbout(); });
    frame_->SetHandler(CM_EXIT, [this] { frame_->close(); });
    RebuildRecentFilesMenu();

    frame_->resize(900, 640);
    client_->SetupWindow();
    frame_->UpdateCommandEnablers();
}

void TOrbiscope::SetupToolbar()
{
    QFont font = QApplication::font();
    font.setPointSize(10);
    toolbar_ = frame_->AddToolBar("Toolbar", ToolbarCommands());
    toolbar_->setFont(font);
    toolbar_->setWindowTitle(QStringLiteral("Toolbar"));
    frame_->addToolBar(Qt::TopToolBarArea, toolbar_);
    for (int id : ToolbarCommands())
        if (QAction* a = frame_->Action(id)) a->setIcon(ToolbarBitmap(id));
}

void TOrbiscope::RebuildRecentFilesMenu()
{
    if (!frame_) return;
    QMenu* file = frame_->Menu("&File");
    QAction* exitAction = frame_->Action(CM_EXIT);
    if (!file || !exitAction) return;
    for (QAction* a : mruActions_) {
        file->removeAction(a);
        delete a;
    }
    mruActions_.clear();
    const auto& files = recent_.Files();
    for (int i = 0; i < int(files.size()); ++i) {
        auto* a = new QAction(platform::NumberedMenuLine(i + 1, recent_.MenuText(i)), file);
        a->setStatusTip(platform::ShownFileName(files[std::size_t(i)]));
        QObject::connect(a, &QAction::triggered, this, [this, i] { CmMruFile(i); });
        file->insertAction(exitAction, a);
        mruActions_.push_back(a);
    }
    if (!files.empty()) {
        QAction* sep = new QAction(file);
        sep->setSeparator(true);
        file->insertAction(exitAction, sep);
        mruActions_.push_back(sep);
    }
}

void TOrbiscope::AddRecentFile(const std::string& fileName)
{
    recent_.Add(fileName);
    RebuildRecentFilesMenu();
}

void TOrbiscope::CmMruFile(int index)
{
    if (index < 0 || index >= int(recent_.Files().size())) return;
    // The whole path: a Linux path may be longer than the old name buffers.
    const std::string name = recent_.Files()[std::size_t(index)];
    if (client_) client_->OpenFile(name.c_str());
}

void TOrbiscope::DropFiles(const std::vector<std::string>& files) { OpenDroppedFiles(files); }

void TOrbiscope::OpenDroppedFiles(const std::vector<std::string>& files)
{
    for (const auto& f : files)
        if (client_) client_->OpenFile(f.c_str());
}

bool TOrbiscope::ProcessAppMsg(QKeyEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    if (event->key() == Qt::Key_F2) {
        PostToMainWindow(CM_EXPORTDISA);
        return true;
    }
    if (event->key() == Qt::Key_F3) {
        PostToMainWindow(CM_SAVEHTML);
        return true;
    }
    return false;
}

void TOrbiscope::ShowHelp(int contextId)
{
    SetProgramDir();
    HelpOpened = platform::HelpViewer::ShowContext(contextId);
}

void TOrbiscope::ShowFieldHelp(int topic, int controlId)
{
    SetProgramDir();
    HelpOpened = platform::HelpViewer::ShowField(topic, controlId);
}

void TOrbiscope::CmHelpContents()
{
    SetProgramDir();
    HelpOpened = platform::HelpViewer::ShowContents();
}

void TOrbiscope::CmHelpAbout()
{
    // The about box belongs to a later part of the framework.
    if (const ClientCommand* about = FindClientCommand(CM_HELPABOUT); about && client_) (*about)(*client_);
}

const char* TOrbiscope::FormatDate(bool withTime)
{
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March", "April", "May", "June", "July",
                                         "August", "September", "October", "November", "December"};
    const std::time_t now = platform::NowUtc();
    std::tm t{};
    gmtime_r(&now, &t);
    if (withTime)
        std::snprintf(DateText, sizeof DateText, "%s %d %s %d (GMT: %.2d:%.2d:%.2d)", days[t.tm_wday], t.tm_mday,
                      months[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec);
    else
        std::snprintf(DateText, sizeof DateText, "%s %d %s %d", days[t.tm_wday], t.tm_mday, months[t.tm_mon],
                      t.tm_year + 1900);
    return DateText;
}

bool TOrbiscope::SavePlacement()
{
    if (!frame_) return false;
    WindowPlacement wp;
    const QRect g = frame_->normalGeometry().isValid() ? frame_->normalGeometry() : frame_->geometry();
    wp.showCommand = frame_->isMinimized() ? 2 : frame_->isMaximized() ? 3 : 1;
    wp.left = g.left();
    wp.top = g.top();
    wp.right = g.left() + g.width();
    wp.bottom = g.top() + g.height();
    return WritePlacementFile(ProgramDir + "orbisco.ini", wp);
}

QRect KeepOnScreen(const QRect& inside, const QMargins& frame, const QRect& available)
{
    const QRect window = inside.marginsAdded(frame);
    const int width = std::min(window.width(), available.width());
    const int height = std::min(window.height(), available.height());
    const int x = std::clamp(window.x(), available.x(), available.x() + available.width() - width);
    const int y = std::clamp(window.y(), available.y(), available.y() + available.height() - height);
    return QRect(x, y, width, height).marginsRemoved(frame);
}

namespace {
// The screen a window would be on: the one it covers most, else (placed
// where no screen is now) the primary one.
QScreen* ScreenOf(const QRect& window)
{
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(window);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    return best;
}

// The inside rectangle a stored one gets, fitted with what the window system
// adds around the frame.
QRect FittedPlacement(const QRect& stored, const QMargins& decoration)
{
    QScreen* screen = ScreenOf(stored.marginsAdded(decoration));
    return screen ? KeepOnScreen(stored, decoration, screen->availableGeometry()) : stored;
}

// A window system that decorates a window only as it is first shown (an X
// window manager reparents it then) says what it adds only after that, and
// may say it wrong while it is still at work: the frame is fitted again,
// once, when it first comes on the screen and the decorations are done;
// from then on it is the user's to move.
class FitWhenDecorated : public QObject {
public:
    FitWhenDecorated(QWidget& frame, const QRect& stored)
        : QObject(frame.windowHandle()), frame_(frame), stored_(stored)
    {
        frame.windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Expose || !frame_.windowHandle()->isExposed()) return false;
        watched->removeEventFilter(this);
        deleteLater();
        const QMargins decoration = frame_.windowHandle()->frameMargins();
        // None at all: the window system adds no frame, or says nothing of
        // it, and the first fit stands.
        if (!decoration.isNull() && frame_.windowState() == Qt::WindowNoState)
            frame_.setGeometry(FittedPlacement(stored_, decoration));
        return false;
    }

private:
    QWidget& frame_;
    const QRect stored_;
};
}  // namespace

void TOrbiscope::RestorePlacement()
{
    const std::string file = ProgramDir + "orbisco.ini";
    platform::SettingsFile usable = platform::SettingsFile::Usable;
    const std::optional<WindowPlacement> wp = ReadPlacementFile(file, &usable);
    if (usable != platform::SettingsFile::Usable)
        ShowSettingsFileRefused(frame_, file, usable, "window size and place");
    if (!frame_ || !wp) return;
    // Always restored in the normal state.
    const int w = wp->right - wp->left, h = wp->bottom - wp->top;
    if (w <= 100 || h <= 100 || w >= 20000 || h >= 20000) return;
    // The placement was saved on another screen, perhaps a larger one: kept
    // whole on this one, status bar, title bar and borders all.  Its window
    // is made now, before it is first shown, so that a window system that
    // knows its decorations already can say so; one that learns them only on
    // showing says nothing yet, and the frame is fitted again once shown.
    frame_->winId();
    const QRect stored(wp->left, wp->top, w, h);
    const QMargins decoration = frame_->windowHandle() ? frame_->windowHandle()->frameMargins() : QMargins();
    frame_->setGeometry(FittedPlacement(stored, decoration));
    if (decoration.isNull() && frame_->windowHandle()) new FitWhenDecorated(*frame_, stored);
}

bool TOrbiscope::WriteFormValueFile()
{
    std::vector<std::span<const std::uint8_t>> records;
    for (int r = 1; r <= kFormValueRecordCount; ++r) records.push_back(FormRecord(r));
    return WriteFormValuesFile(ProgramDir + "orbisco.dat", records);
}

bool TOrbiscope::CanClose()
{
    // Before any window asks whether to save: a later start that comes while
    // the question is up is refused as closing, and tries again.  Files told
    // "taken" before, still waiting once every window has agreed, would open
    // into a program that is going: the close is called off for them, and
    // they open now; the user may close again.
    BeginEnding();
    bool answer = platform::Application::CanClose();
    if (answer && instance_ && !instance_->Finish()) answer = false;
    if (!answer && instance_) instance_->CancelEnding();
    // Once every window has agreed, the user sees the program go at once; the
    // files below (each flushed to disk) are written after, with nothing
    // left on screen waiting for them.
    if (answer && frame_) {
        frame_->hide();
        QGuiApplication::sync();
    }
    SavePlacement();  // whatever the answer; a failure is not reported
    if (answer && HelpOpened) {
        SetProgramDir();
        platform::HelpViewer::CloseAll();
    }
    if (answer && SaveDialogValuesOnExit()) WriteFormValueFile();
    const platform::RegistryChange country{platform::RegistryChange::Kind::Set, kCountryKey, "", DefaultCountryFile};
    if (!answer) {
        platform::Registry::Write({&country, 1});
    } else {
        // No later change can save what the session kept: the end says what
        // it loses, and saves it again once the user has made room.
        std::optional<platform::Registry::Refusal> refused = platform::Registry::SaveAtEnd({&country, 1});
        while (refused && AskToRetrySettingsAtEnd(frame_, refused->file.string(), kRegistrySettings, refused->error))
            refused = platform::Registry::SaveAtEnd({});
    }
    // Only now may a later start become the first instance: it reads these
    // files as this one left them, and its own end writes over them, not
    // this one's over its.
    if (answer && instance_) instance_->LetGo();
    return answer;
}

int OwlMain(int argc, char* argv[])
{
    // A write past the file-size limit fails, and is reported where the
    // program says so; it must not end the program without a word, and the
    // lock file is written before anything is shown.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication qapp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromLatin1(kMainTitle));

    // Before the application makes the program directory current: a
    // relative name is the caller's.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::optional<DdeLaunch> launch = TakeDdeLaunch(arguments);
    auto app = std::make_unique<TOrbiscope>();
    // A lock held by another instance hands over; one that cannot be made
    // here starts the program on its own.
    if (app->BecomeFirstInstance(launch && launch->print) == platform::InstanceRole::Later)
        if (const std::optional<int> status = HandOverToFirstInstance(*app, launch)) return *status;
    app->InitMainWindow();
    if (app->StartFailed()) return kExitStartFailed;
    app->ProcessCmdLine(arguments);
    if (const char* v = std::getenv("ORBISCOPE_EXIT_WHEN_SHOWN"); v && *v)
        app->Frame()->installEventFilter(new ExitWhenShown(*app));
    app->Frame()->show();
    // Queued, so that the socket is served from the main loop, never from a
    // box that start-up showed before it; and after the start's own file, so
    // that no handed file opens in the middle of it (a print goes to the
    // window its own open made, and a print start has begun its end).
    QMetaObject::invokeMethod(
        app.get(),
        [&app, launch] {
            if (launch) RunDdeLaunch(*app, *launch);
            app->StartServingSocket();
        },
        Qt::QueuedConnection);
    const int result = qapp.exec();
    // Ended other than through the close check: what was taken is handled.
    app->FinishServing();
    app.reset();
    // A selection made in a text field is owned by the program; under X a
    // clipboard manager is asked to take over whatever the program owns as
    // it ends, and the end waits for it.  The user never copied a selection,
    // so it goes now; what Edit Copy put on the clipboard is handed over.
    if (QClipboard* clipboard = QGuiApplication::clipboard(); clipboard && clipboard->ownsSelection())
        clipboard->clear(QClipboard::Selection);
    return result;
}
