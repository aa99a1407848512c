#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>

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
std::function<bool(const HelpRequest&)>& HelpSink()
{
    static std::function<bool(const HelpRequest&)> sink;
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

QString ShownFileName(std::string_view name)
{
    return QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
}

namespace {

// A help page is a few kilobytes; a larger file in the help folder is no page.
constexpr std::uint64_t kMaxHelpPageBytes = 4u << 20;

// The context ids that the pages of a help folder hold as anchors, read
// once per folder.
struct HelpAnchors {
    std::map<int, std::filesystem::path> firstPage;            // id -> the first page holding it
    std::map<std::filesystem::path, std::set<int>> onPage;     // page -> the ids it holds
};

const HelpAnchors& AnchorsOf(const std::filesystem::path& dir)
{
    static std::map<std::filesystem::path, HelpAnchors> folders;
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
        if (ReadRegularFile(page, bytes, kMaxHelpPageBytes) != FileRead::Whole) continue;
        const std::string text(bytes.begin(), bytes.end());
        for (std::sregex_iterator m(text.begin(), text.end(), anchor), end; m != end; ++m) {
            const int id = std::stoi((*m)[1].str());
            it->second.firstPage.try_emplace(id, page);
            it->second.onPage[page].insert(id);
        }
    }
    return it->second;
}

}  // namespace

std::optional<HelpTopic> FindHelpTopic(int contextId)
{
    const std::filesystem::path dir = ProgramDirectory() / "help";
    const std::filesystem::path own = dir / (std::to_string(contextId) + ".html");
    if (IsRegularFile(own)) return HelpTopic{own, {}};
    const auto& pages = AnchorsOf(dir).firstPage;
    if (const auto it = pages.find(contextId); it != pages.end())
        return HelpTopic{it->second, std::to_string(contextId)};
    return std::nullopt;
}

std::optional<HelpTopic> FindFieldTopic(int contextId, int field)
{
    std::optional<HelpTopic> topic = FindHelpTopic(contextId);
    if (!topic) return topic;
    const auto& onPage = AnchorsOf(ProgramDirectory() / "help").onPage;
    if (const auto it = onPage.find(topic->page); it != onPage.end() && it->second.count(field))
        topic->anchor = std::to_string(field);
    return topic;
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

// The room on each side of `obstacle` within `screen`, in the order tried:
// right, left, below, above.  A side with no room is an empty rectangle.
std::array<QRect, 4> RoomBeside(const QRect& obstacle, const QRect& screen)
{
    return {QRect(QPoint(obstacle.right() + 1, screen.top()), screen.bottomRight()).intersected(screen),
            QRect(screen.topLeft(), QPoint(obstacle.left() - 1, screen.bottom())).intersected(screen),
            QRect(QPoint(screen.left(), obstacle.bottom() + 1), screen.bottomRight()).intersected(screen),
            QRect(screen.topLeft(), QPoint(screen.right(), obstacle.top() - 1)).intersected(screen)};
}

// The smallest window whose text still reads: some forty characters a line
// and a dozen lines.
constexpr QSize kReadableSize(320, 240);

bool Holds(const QRect& room, QSize size)
{
    return !room.isEmpty() && room.width() >= size.width() && room.height() >= size.height();
}

// A window of `size` in `room`, as near as it gets to standing at the
// obstacle's top left corner: flush with the obstacle's side that faces the
// room, level with the obstacle along it.
QRect Within(const QRect& room, const QRect& obstacle, QSize size)
{
    const auto clamp = [](int v, int low, int high) { return std::max(low, std::min(v, high)); };
    return QRect(QPoint(clamp(obstacle.left(), room.left(), room.right() - size.width() + 1),
                        clamp(obstacle.top(), room.top(), room.bottom() - size.height() + 1)),
                 size);
}

// The frame a window manager puts round a window: the window's own once it
// has been shown, else the form's, the best guess there is before showing.
QMargins FrameMargins(const QWidget* window)
{
    const QRect outer = window->frameGeometry(), inner = window->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

std::vector<QRect> ButtonsOf(const QWidget* form)
{
    std::vector<QRect> buttons;
    for (const QPushButton* b : form->findChildren<QPushButton*>())
        if (b->window() == form && b->isVisible()) buttons.emplace_back(b->mapToGlobal(QPoint(0, 0)), b->size());
    return buttons;
}

}  // namespace

QRect PlaceBesideForm(const QRect& form, const std::vector<QRect>& buttons, const QRect& screen, QSize size,
                      std::optional<QRect> last)
{
    const auto covers = [&buttons](const QRect& r) {
        return std::any_of(buttons.begin(), buttons.end(), [&r](const QRect& b) { return r.intersects(b); });
    };
    const auto area = [](const QRect& r) { return r.isNull() ? 0 : r.width() * r.height(); };
    if (last && !covers(*last)) return *last;
    QRect keys;
    for (const QRect& b : buttons) keys |= b;
    if (keys.isNull()) keys = form;
    const QSize whole = size.boundedTo(screen.size());
    for (const QRect& room : RoomBeside(form, screen))
        if (Holds(room, whole)) return Within(room, form, whole);
    // A side too small for the whole window still takes it narrowed (or
    // shortened) to its room while the text stays readable there: better
    // than covering the fields the help is about.
    const QSize readable = kReadableSize.boundedTo(whole);
    QRect narrowed;
    for (const QRect& room : RoomBeside(form, screen)) {
        const QSize fit = whole.boundedTo(room.size());
        if (Holds(room, fit) && fit.width() >= readable.width() && fit.height() >= readable.height() &&
            area(QRect(QPoint(), fit)) > area(narrowed))
            narrowed = Within(room, form, fit);
    }
    if (!narrowed.isNull()) return narrowed;
    for (const QRect& room : RoomBeside(keys, screen))
        if (Holds(room, whole)) return Within(room, keys, whole);
    QRect best;
    for (const QRect& room : RoomBeside(keys, screen)) {
        const QSize shrunk = whole.boundedTo(room.size());
        if (Holds(room, shrunk) && shrunk.width() * shrunk.height() > best.width() * best.height())
            best = Within(room, keys, shrunk);
    }
    // Buttons that leave no room anywhere: the screen is all there is.
    return best.isNull() ? Within(screen, form, whole) : best;
}

QWidget* KeepBesideModalForm(QWidget* window, std::function<void(QWidget*)> release)
{
    QWidget* form = QApplication::activeModalWidget();
    if (!window || !form || form == window || window->isAncestorOf(form)) return nullptr;
    // Where the window stands now is the user's choice, or ours from before.
    const bool shown = window->isVisible();
    const QMargins frame = FrameMargins(shown ? window : form);
    const std::optional<QRect> last = shown ? std::optional<QRect>(window->frameGeometry()) : std::nullopt;
    const QRect place = PlaceBesideForm(form->frameGeometry(), ButtonsOf(form), form->screen()->availableGeometry(),
                                        window->size().grownBy(frame), last);
    // (No meta-object of its own: found by its C++ type among the children.)
    bool lent = false;
    for (QObject* child : window->children()) {
        auto* old = dynamic_cast<ModalFormWatch*>(child);
        if (!old) continue;
        if (old->Form() == form) lent = true;
        else delete old;
    }
    if (window->parentWidget() != form)
        window->setParent(form, (window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Window);
    window->setGeometry(place.marginsRemoved(frame));
    if (lent) return form;
    window->setWindowModality(Qt::NonModal);
    new ModalFormWatch(window, form, std::move(release));
    return form;
}

namespace {

// The text document makes an anchor of the id of an element that holds text
// (a paragraph, a heading, a cell, an item) but drops the id of a table, a
// table row or a list, whose content is cells or items: a page that marks
// its entries as table rows could not be opened at an entry.  Such an id is
// given to the element's first cell or item as a named anchor, at its start.
QByteArray AnchorEveryId(const QByteArray& html)
{
    static const QRegularExpression tag(
        QStringLiteral(R"re(<!--.*?-->|<([A-Za-z][A-Za-z0-9]*)\b((?:[^>"']|"[^"]*"|'[^']*')*)>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression id(
        QStringLiteral(R"re((?:^|\s)id\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s"'>]+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    const QString text = QString::fromLatin1(html);  // one byte a character, whatever the page's encoding
    QString out;
    QStringList waiting;  // ids of holders whose first cell or item is still to come
    qsizetype done = 0;
    for (auto m = tag.globalMatch(text); m.hasNext();) {
        const QRegularExpressionMatch t = m.next();
        const QString name = t.captured(1).toLower();
        if (name.isEmpty()) continue;  // a comment
        if (name == u"table" || name == u"tr" || name == u"ul" || name == u"ol") {
            const QRegularExpressionMatch i = id.match(t.captured(2));
            if (i.hasMatch()) waiting << i.captured(1) + i.captured(2) + i.captured(3);
        } else if (!waiting.isEmpty() && (name == u"td" || name == u"th" || name == u"li")) {
            out += QStringView(text).mid(done, t.capturedEnd() - done);
            done = t.capturedEnd();
            for (const QString& anchor : std::as_const(waiting))
                out += QStringLiteral("<a name=\"%1\"></a>").arg(anchor.toHtmlEscaped());
            waiting.clear();
        }
    }
    if (done == 0) return html;
    out += QStringView(text).mid(done);
    return out.toLatin1();
}

// The help window: every id of a page is an anchor it opens at.
class HelpBrowser : public QTextBrowser {
public:
    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant data = QTextBrowser::loadResource(type, name);
        if (type == QTextDocument::HtmlResource && data.userType() == QMetaType::QByteArray)
            data = AnchorEveryId(data.toByteArray());
        return data;
    }
};

bool ShowHelpPage(const HelpRequest& request)
{
    const std::filesystem::path dir = ProgramDirectory() / "help";
    std::optional<HelpTopic> topic;
    if (request.contextId != 0)
        topic = request.field ? FindFieldTopic(request.contextId, request.field) : FindHelpTopic(request.contextId);
    if (!topic && IsRegularFile(dir / "index.html")) topic = HelpTopic{dir / "index.html", {}};
    if (!topic) return false;
    if (!HelpWindow()) {
        auto* browser = new HelpBrowser;
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

namespace {
bool Show(const HelpRequest& request)
{
    if (HelpSink()) return HelpSink()(request);
    return ShowHelpPage(request);
}
}  // namespace

bool HelpViewer::ShowContext(int contextId) { return Show({contextId}); }

bool HelpViewer::ShowField(int contextId, int field) { return Show({contextId, field}); }

bool HelpViewer::ShowContents() { return Show({0}); }

void HelpViewer::CloseAll()
{
    if (HelpSink()) {
        HelpSink()({-1});
        return;
    }
    if (HelpWindow()) HelpWindow()->close();
}

bool HelpViewer::IsOpen() { return HelpWindow() && HelpWindow()->isVisible(); }

void HelpViewer::SetSink(std::function<bool(const HelpRequest&)> sink) { HelpSink() = std::move(sink); }

}  // namespace platform
