#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QSaveFile>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <regex>

namespace platform {

namespace {
std::filesystem::path& DirOverride()
{
    static std::filesystem::path dir;
    return dir;
}
std::function<std::time_t()>& ClockOverride()
{
    static std::function<std::time_t()> clock;
    return clock;
}
std::function<bool(int)>& HelpSink()
{
    static std::function<bool(int)> sink;
    return sink;
}
QPointer<QTextBrowser>& HelpWindow()
{
    static QPointer<QTextBrowser> window;
    return window;
}
}  // namespace

std::filesystem::path ProgramDirectory()
{
    if (!DirOverride().empty()) return DirOverride();
    if (const char* home = std::getenv("ORBISCOPE_HOME"); home && *home) return std::filesystem::path(home);
    if (QCoreApplication::instance())
        return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
    return std::filesystem::current_path();
}

void SetProgramDirectoryOverride(const std::filesystem::path& dir) { DirOverride() = dir; }

std::time_t NowUtc()
{
    if (ClockOverride()) return ClockOverride()();
    return std::time(nullptr);
}

void SetClockOverride(std::function<std::time_t()> clock) { ClockOverride() = std::move(clock); }

WaitCursor::WaitCursor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::restoreOverrideCursor();
}

void CopyTextToClipboard(const std::string& latin1Text)
{
    QGuiApplication::clipboard()->setText(QString::fromLatin1(latin1Text.data(), int(latin1Text.size())));
}

std::string ClipboardText()
{
    return QGuiApplication::clipboard()->text().toLatin1().toStdString();
}

void Timer::Start(int id, std::chrono::milliseconds interval, std::function<void(int)> onTick)
{
    Stop();
    id_ = id;
    QObject::disconnect(&timer_, nullptr, nullptr, nullptr);
    QObject::connect(&timer_, &QTimer::timeout, [this, onTick = std::move(onTick)] { onTick(id_); });
    timer_.start(int(interval.count()));
}

void Timer::Stop() { timer_.stop(); }

void PumpWaitingMessages() { QCoreApplication::processEvents(); }

bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes)
{
    return ReadRegularFile(path, bytes);
}

namespace {

// The context ids that the pages of a help folder hold as anchors, read
// once per folder: id -> page.
const std::map<int, std::filesystem::path>& HelpAnchors(const std::filesystem::path& dir)
{
    static std::map<std::filesystem::path, std::map<int, std::filesystem::path>> folders;
    auto [it, added] = folders.try_emplace(dir);
    if (!added) return it->second;
    static const std::regex anchor(R"re(\b(?:id|name)\s*=\s*["']([0-9]{1,9})["'])re");
    std::error_code ec;
    std::vector<std::filesystem::path> pages;
    for (std::filesystem::directory_iterator d(dir, ec), end; !ec && d != end; d.increment(ec))
        if (d->path().extension() == ".html") pages.push_back(d->path());
    std::sort(pages.begin(), pages.end());
    for (const auto& page : pages) {
        std::vector<std::uint8_t> bytes;
        if (!ReadRegularFile(page, bytes)) continue;
        const std::string text(bytes.begin(), bytes.end());
        for (std::sregex_iterator m(text.begin(), text.end(), anchor), end; m != end; ++m)
            it->second.try_emplace(std::stoi((*m)[1].str()), page);
    }
    return it->second;
}

}  // namespace

std::optional<HelpTopic> FindHelpTopic(int contextId)
{
    const std::filesystem::path dir = ProgramDirectory() / "help";
    const std::filesystem::path own = dir / (std::to_string(contextId) + ".html");
    if (IsRegularFile(own)) return HelpTopic{own, {}};
    const auto& anchors = HelpAnchors(dir);
    if (const auto it = anchors.find(contextId); it != anchors.end())
        return HelpTopic{it->second, std::to_string(contextId)};
    return std::nullopt;
}

namespace {

// Watches the modal form a window was lent to, and gives the window back
// when the form hides.  A child of the window, so it goes with it.
class ModalFormWatch : public QObject {
public:
    ModalFormWatch(QWidget* window, QWidget* form, std::function<void(QWidget*)> release)
        : QObject(window), window_(window), form_(form), release_(std::move(release))
    {
        form->installEventFilter(this);
    }
    ~ModalFormWatch() override
    {
        if (form_) form_->removeEventFilter(this);
    }
    QWidget* Form() const { return form_; }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == form_ && (event->type() == QEvent::Hide && !event->spontaneous())) Release();
        return false;
    }

private:
    void Release()
    {
        if (form_) form_->removeEventFilter(this);
        form_ = nullptr;
        QPointer<QWidget> window = window_;
        auto release = std::move(release_);
        deleteLater();
        if (!window) return;
        if (release) {
            release(window);
            return;
        }
        const QRect frame = window->geometry();
        const bool shown = window->isVisible();
        window->setParent(nullptr, window->windowFlags() | Qt::Window);
        window->setGeometry(frame);
        if (shown) window->show();
    }

    QPointer<QWidget> window_;
    QPointer<QWidget> form_;
    std::function<void(QWidget*)> release_;
};

}  // namespace

QWidget* KeepBesideModalForm(QWidget* window, std::function<void(QWidget*)> release)
{
    QWidget* form = QApplication::activeModalWidget();
    if (!window || !form || form == window || window->isAncestorOf(form)) return nullptr;
    // (No meta-object of its own: found by its C++ type among the children.)
    for (QObject* child : window->children()) {
        auto* old = dynamic_cast<ModalFormWatch*>(child);
        if (!old) continue;
        if (old->Form() == form) return form;  // lent to this form already
        delete old;
    }
    if (window->parentWidget() != form) {
        const bool shown = window->isVisible();
        const QRect frame = window->geometry();
        window->setParent(form, (window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
        if (shown) window->setGeometry(frame);
    }
    window->setWindowModality(Qt::NonModal);
    new ModalFormWatch(window, form, std::move(release));
    return form;
}

namespace {
bool ShowHelpPage(int id)
{
    const std::filesystem::path dir = ProgramDirectory() / "help";
    std::optional<HelpTopic> topic = id == 0 ? std::nullopt : FindHelpTopic(id);
    if (!topic && IsRegularFile(dir / "index.html")) topic = HelpTopic{dir / "index.html", {}};
    if (!topic) return false;
    if (!HelpWindow()) {
        auto* browser = new QTextBrowser;
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(QStringLiteral("Orbiscope Help"));
        browser->resize(640, 480);
        HelpWindow() = browser;
    }
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(topic->page.string()));
    if (!topic->anchor.empty()) url.setFragment(QString::fromStdString(topic->anchor));
    HelpWindow()->setSource(url);
    KeepBesideModalForm(HelpWindow());
    HelpWindow()->show();
    HelpWindow()->raise();
    HelpWindow()->activateWindow();
    return true;
}
}  // namespace

bool HelpViewer::ShowContext(int contextId)
{
    if (HelpSink()) return HelpSink()(contextId);
    return ShowHelpPage(contextId);
}

bool HelpViewer::ShowContents()
{
    if (HelpSink()) return HelpSink()(0);
    return ShowHelpPage(0);
}

void HelpViewer::CloseAll()
{
    if (HelpSink()) {
        HelpSink()(-1);
        return;
    }
    if (HelpWindow()) HelpWindow()->close();
}

bool HelpViewer::IsOpen() { return HelpWindow() && HelpWindow()->isVisible(); }

void HelpViewer::SetSink(std::function<bool(int)> sink) { HelpSink() = std::move(sink); }

}  // namespace platform
