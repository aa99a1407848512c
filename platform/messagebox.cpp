#include "platform/messagebox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QSpacerItem>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "platform/services.h"

namespace platform {

namespace {
MessageBoxSink& Sink()
{
    static MessageBoxSink sink;
    return sink;
}

// A box's text in three parts: the program's words before a file's name, the
// name (empty when none), and the words after it.
struct TextParts {
    std::string_view before, name, after;
};

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }
std::string Utf8(std::string_view latin1) { return Latin1(latin1).toUtf8().toStdString(); }

// What the box shows: the words read as Latin-1, the name decoded.
QString ShownText(const TextParts& text)
{
    QString shown = Latin1(text.before) + ShownFileName(text.name) + Latin1(text.after);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

void AppendToLog(std::string_view caption, std::string_view text)
{
    const char* path = std::getenv("ORBISCOPE_MESSAGE_LOG");
    if (!path || !*path) return;
    std::FILE* f = std::fopen(path, "ab");
    if (!f) return;
    const std::string line = MessageLogLine(caption, text);
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}
}  // namespace

void SetMessageBoxSink(MessageBoxSink sink) { Sink() = std::move(sink); }

std::string MessageLogLine(std::string_view caption, std::string_view text)
{
    std::string line(caption);
    line += '\t';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CRLF is one newline
        if (c == '\n' || c == '\r') line += "\\n";
        else line += c;
    }
    line += '\n';
    return line;
}

bool NoUserPresent()
{
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

void RunNestedBoxLoop(const std::function<bool()>& answered, int timeoutMs)
{
    constexpr int kPollMs = 5;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (answered()) loop.quit();
    });
    poll.start(kPollMs);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
}

namespace {
unsigned long g_boxesAsked = 0;
}  // namespace

unsigned long MessageBoxesAsked() { return g_boxesAsked; }

namespace {
// A question with only Yes and No has no way to back out: Qt would take
// No for Escape and for the box's own close, and a No that discards
// something would be given on a key meant to keep it.  Only the two buttons
// answer it, as on the system the program was first written for.
class YesNoBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->matches(QKeySequence::Cancel)) return event->accept();
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};
}  // namespace

namespace {
std::unique_ptr<QWidget> BuildBox(QWidget* owner, const QString& text, std::string_view caption, unsigned flags);

int ShowBox(QWidget* owner, const TextParts& text, std::string_view caption, unsigned flags)
{
    ++g_boxesAsked;
    const std::string name(text.name);
    AppendToLog(Utf8(caption), Utf8(text.before) + name + Utf8(text.after));
    MessageBoxCall call{std::string(text.before) + name + std::string(text.after), std::string(caption), flags,
                        owner != nullptr, ShownText(text)};
    if (Sink()) return Sink()(call);
    if (NoUserPresent()) return call.RetryCancel() ? IDCANCEL : call.YesNo() ? IDYES : IDOK;

    const auto built = BuildBox(owner, call.shown, caption, flags);
    static_cast<QMessageBox&>(*built).exec();
    return BuiltBoxAnswer(*built);
}
}  // namespace

int MessageBox(QWidget* owner, std::string_view text, std::string_view caption, unsigned flags)
{
    return ShowBox(owner, {text, {}, {}}, caption, flags);
}

int MessageBox(QWidget* owner, FileMessage text, std::string_view caption, unsigned flags)
{
    const std::size_t at = text.format.find("%s");
    if (at == std::string_view::npos) return ShowBox(owner, {text.format, {}, {}}, caption, flags);
    return ShowBox(owner, {text.format.substr(0, at), text.fileName, text.format.substr(at + 2)}, caption, flags);
}

int BuiltBoxAnswer(const QWidget& built)
{
    const auto* box = qobject_cast<const QMessageBox*>(&built);
    if (!box) return IDOK;
    const QAbstractButton* pressed = box->clickedButton();
    if (pressed && pressed == box->button(QMessageBox::Yes)) return IDYES;
    if (pressed && pressed == box->button(QMessageBox::No)) return IDNO;
    if (pressed && pressed == box->button(QMessageBox::Retry)) return IDRETRY;
    if (box->button(QMessageBox::Cancel)) return IDCANCEL;
    return box->button(QMessageBox::No) ? IDNO : IDOK;
}

int CaptionWidth(std::string_view caption)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    const int textWidth = metrics.horizontalAdvance(Latin1(caption));
    // A title bar holds the window's icon and up to three buttons, each
    // about two text lines square, and margins at both ends.
    return textWidth + 8 * metrics.height();
}

std::unique_ptr<QWidget> BuildMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                                         unsigned flags)
{
    return BuildBox(owner, ShownText({text, {}, {}}), caption, flags);
}

namespace {
std::unique_ptr<QWidget> BuildBox(QWidget* owner, const QString& text, std::string_view caption, unsigned flags)
{
    MessageBoxCall call;
    call.flags = flags;
    const bool onlyYesNo = call.YesNo() && !call.Cancellable();
    std::unique_ptr<QMessageBox> box(onlyYesNo ? new YesNoBox(owner) : new QMessageBox(owner));
    box->setWindowTitle(Latin1(caption));
    box->setText(text);
    switch (call.Icon()) {
    case MB_ICONSTOP: box->setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box->setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box->setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon); break;
    }
    if (call.Cancellable()) {
        // Escape and the box's own close press Cancel: the way back.
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
    } else if (call.RetryCancel()) {
        box->setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Retry);
        box->setEscapeButton(QMessageBox::Cancel);
    } else if (call.YesNo()) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    // A message box sizes itself to its body; a spacer across the whole grid
    // holds it open to the caption's width (its layout's minimum is kept).
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(CaptionWidth(caption), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}
}  // namespace

}  // namespace platform
