#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QSaveFile>
#include <QTextBrowser>
#include <QUrl>
#include <cstdlib>

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
bool ShowHelpPage(int id)
{
    const std::filesystem::path dir = ProgramDirectory() / "help";
    std::filesystem::path page = dir / (std::to_string(id) + ".html");
    std::error_code ec;
    if (id == 0 || !std::filesystem::exists(page, ec)) page = dir / "index.html";
    if (!std::filesystem::exists(page, ec)) return false;
    if (!HelpWindow()) {
        auto* browser = new QTextBrowser;
        browser->setAttribute(Qt::WA_DeleteOnClose);
        browser->setWindowTitle(QStringLiteral("Orbiscope Help"));
        browser->resize(640, 480);
        HelpWindow() = browser;
    }
    HelpWindow()->setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())));
    HelpWindow()->show();
    HelpWindow()->raise();
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
