#include "platform/dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QValidator>
#include <algorithm>
#include <cstring>
#include <limits>
#include <set>

#include "platform/mdi.h"
#include "platform/services.h"
#include "platform/user_text.h"

namespace platform {

namespace {
std::map<int, DialogScript>& Drivers()
{
    static std::map<int, DialogScript> drivers;
    return drivers;
}

DialogInspector& Inspector()
{
    static DialogInspector inspector;
    return inspector;
}

QString FromLatin1(const std::string& s) { return QString::fromLatin1(s.data(), int(s.size())); }

// A file-name edit takes no more than its field's bytes, as the file system
// spells the name, but for the name the dialog put there: bytes given that
// fit the field may show as more (another system's byte shows as U+FFFD).
class FileNameLimit : public QValidator {
public:
    FileNameLimit(int bytes, const QString* given, QObject* parent) : QValidator(parent), bytes_(bytes), given_(given)
    {
    }
    State validate(QString& input, int&) const override
    {
        return input == *given_ || QFile::encodeName(input).size() <= bytes_ ? Acceptable : Invalid;
    }

private:
    int bytes_;
    const QString* given_;
};

bool IsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x100; });
}

// A text whose Latin-1 bytes are what was typed: a mark typed in is no mark.
bool ReadsAsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x100 && c.unicode() != char16_t(kUnstorableMark);
    });
}

bool IsToken(std::string_view bytes) { return bytes.size() == 2 && bytes[0] == kUnstorableMark; }

QString WidgetText(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w)) return p->toPlainText();
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return {};
}

// Room between the last control and the dialog's edge.
constexpr int kDialogMarginPx = 10;
// Least room between a static that grows and the control on its right.
constexpr int kControlGapPx = 4;
// A static inside a group box stays clear of the box's frame.
constexpr int kGroupInsetPx = 6;
}  // namespace

std::string Latin1Bytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x100) {
            bytes += char(c);
            continue;
        }
        bytes += kUnstorableMark;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    return bytes;
}

std::vector<TransferField> TransferLayout(const std::vector<ControlSpec>& controls)
{
    std::vector<TransferField> fields;
    std::size_t offset = 0;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlSpec& c = controls[i];
        const bool takesPart = c.kind == ControlKind::Edit || c.kind == ControlKind::CheckBox ||
                               c.kind == ControlKind::RadioButton;
        if (!c.transfer || !takesPart) continue;
        const std::size_t size = c.kind == ControlKind::Edit ? std::size_t(std::max(1, c.textLimit)) : 2;
        fields.push_back({i, c.id, c.kind, offset, size});
        offset += size;
    }
    return fields;
}

std::size_t TransferSize(const std::vector<ControlSpec>& controls)
{
    const std::vector<TransferField> fields = TransferLayout(controls);
    return fields.empty() ? 0 : fields.back().offset + fields.back().size;
}

long TransferOffset(const std::vector<ControlSpec>& controls, int id)
{
    for (const TransferField& f : TransferLayout(controls))
        if (f.id == id) return long(f.offset);
    return -1;
}

namespace transfer {

std::string GetText(std::span<const std::uint8_t> record, std::size_t offset, std::size_t size)
{
    if (size == 0 || offset >= record.size() || size > record.size() - offset) return {};
    const auto* begin = record.data() + offset;
    const auto* end = std::find(begin, begin + size - 1, std::uint8_t{0});
    return std::string(begin, end);
}

void SetText(std::span<std::uint8_t> record, std::size_t offset, std::size_t size, std::string_view text)
{
    if (size == 0 || offset >= record.size() || size > record.size() - offset) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(record.data() + offset, text.data(), n);
    std::memset(record.data() + offset + n, 0, size - n);
}

std::uint16_t GetWord(std::span<const std::uint8_t> record, std::size_t offset)
{
    if (offset >= record.size() || record.size() - offset < 2) return 0;
    return std::uint16_t(record[offset] | record[offset + 1] << 8);
}

void SetWord(std::span<std::uint8_t> record, std::size_t offset, std::uint16_t value)
{
    if (offset >= record.size() || record.size() - offset < 2) return;
    record[offset] = std::uint8_t(value & 0xFF);
    record[offset + 1] = std::uint8_t(value >> 8);
}

}  // namespace transfer

Dialog::Dialog(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls)
    : QDialog(parent), resourceId_(resourceId), specs_(std::move(controls)), layout_(TransferLayout(specs_))
{
    setWindowTitle(FromLatin1(caption));
    Build();
}

void Dialog::Build()
{
    QButtonGroup* group = nullptr;
    int right = 0, bottom = 0;
    for (const ControlSpec& c : specs_) {
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Static: w = new QLabel(FromLatin1(c.text), this); break;
        case ControlKind::Edit:
            if (c.multiLine) {
                auto* e = new QPlainTextEdit(FromLatin1(c.text), this);
                e->setReadOnly(c.readOnly);
                w = e;
            } else {
                auto* e = new QLineEdit(FromLatin1(c.text), this);
                if (c.fileName && c.textLimit > 0)
                    e->setValidator(new FileNameLimit(c.textLimit - 1, &fileNames_[c.id].shown, e));
                else if (c.textLimit > 0) e->setMaxLength(c.textLimit - 1);
                e->setReadOnly(c.readOnly);
                w = e;
            }
            if (c.fileName)
                fileNames_[c.id].limit = c.textLimit > 0 ? c.textLimit - 1 : std::numeric_limits<int>::max();
            break;
        case ControlKind::CheckBox: w = new QCheckBox(FromLatin1(c.text), this); break;
        case ControlKind::RadioButton: {
            auto* r = new QRadioButton(FromLatin1(c.text), this);
            r->setAutoExclusive(false);
            if (!group || c.groupStart) {
                group = new QButtonGroup(this);
                group->setExclusive(true);
            }
            group->addButton(r);
            w = r;
            break;
        }
        case ControlKind::PushButton: {
            auto* b = new QPushButton(FromLatin1(c.text), this);
            b->setAutoDefault(false);
            if (c.id == IDOK) b->setDefault(true);
            const int id = c.id;
            QObject::connect(b, &QPushButton::clicked, this, [this, id] { OnButton(id); });
            w = b;
            break;
        }
        case ControlKind::GroupBox: w = new QGroupBox(FromLatin1(c.text), this); break;
        case ControlKind::ListBox: w = new QListWidget(this); break;
        case ControlKind::ComboBox: w = new QComboBox(this); break;
        case ControlKind::Gauge: {
            auto* g = new QProgressBar(this);
            g->setRange(0, 100);
            w = g;
            break;
        }
        case ControlKind::TabControl: w = new QTabBar(this); break;
        }
        if (c.kind != ControlKind::RadioButton) group = nullptr;
        if (c.width > 0 && c.height > 0) w->setGeometry(c.x, c.y, c.width, c.height);
        if (c.kind == ControlKind::GroupBox) w->lower();
        right = std::max(right, c.x + c.width);
        bottom = std::max(bottom, c.y + c.height);
        if (c.id != 0) controls_[c.id] = w;
        widgets_.push_back(w);
    }
    if (right > 0 && bottom > 0) setFixedSize(right + kDialogMarginPx, bottom + kDialogMarginPx);
    for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) FitStatic(label);
}

// The system's static text wraps its words when the control is tall enough
// for more than one line.  A one-line static whose text, at the font the
// dialog has here, is wider than the control takes the free room on its
// right, so that the text shows whole as it was meant to.
void Dialog::FitStatic(QLabel* label)
{
    if (label->text().isEmpty() || label->textFormat() == Qt::RichText) return;
    const QFontMetrics fm(label->font());
    if (label->height() >= 2 * fm.lineSpacing()) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return;
    }
    const int needed = label->sizeHint().width();
    if (needed <= label->width()) return;
    const QRect mine = label->geometry();
    int limit = width() - kDialogMarginPx;
    for (QObject* o : children()) {
        auto* other = qobject_cast<QWidget*>(o);
        if (!other || other == label || other->isWindow()) continue;
        const QRect r = other->geometry();
        if (r.bottom() < mine.top() || r.top() > mine.bottom()) continue;  // not on this line
        if (qobject_cast<QGroupBox*>(other) && r.contains(mine)) limit = std::min(limit, r.right() - kGroupInsetPx);
        else if (r.left() > mine.left()) limit = std::min(limit, r.left() - kControlGapPx);
    }
    label->resize(std::max(mine.width(), std::min(needed, limit - mine.left())), mine.height());
}

void Dialog::SetTransferBuffer(void* buffer, std::size_t size)
{
    buffer_ = static_cast<std::uint8_t*>(buffer);
    bufferSize_ = size;
}

void Dialog::TransferData(TransferDirection direction)
{
    if (!buffer_) return;
    if (direction == TransferDirection::Set) {
        WriteControls({buffer_, bufferSize_});
        return;
    }
    const std::vector<std::uint8_t> values = ReadControls();
    std::size_t whole = 0;  // never past the buffer, nor part of a field
    for (const TransferField& f : layout_)
        if (f.offset + f.size <= bufferSize_) whole = f.offset + f.size;
    std::memcpy(buffer_, values.data(), whole);
}

std::vector<std::uint8_t> Dialog::ReadControls() const
{
    std::vector<std::uint8_t> values(layout_.empty() ? 0 : layout_.back().offset + layout_.back().size, 0);
    for (const TransferField& f : layout_) {
        if (f.IsText()) transfer::SetText(values, f.offset, f.size, GetControlText(f.id));
        else transfer::SetWord(values, f.offset, std::uint16_t(GetCheck(f.id)));
    }
    return values;
}

void Dialog::WriteControls(std::span<const std::uint8_t> values)
{
    for (const TransferField& f : layout_) {
        if (f.offset + f.size > values.size()) return;
        if (f.IsText()) SetControlText(f.id, transfer::GetText(values, f.offset, f.size));
        else SetCheck(f.id, transfer::GetWord(values, f.offset));
    }
}

TypedValues Dialog::ReadTyping() const
{
    TypedValues typed{ReadControls(), {}};
    for (const TransferField& f : layout_) {
        if (!f.IsText() || HoldsFileName(f.id)) continue;
        const QString text = WidgetText(widgets_[f.index]);
        if (!ReadsAsLatin1(text)) typed.texts.emplace(f.index, text);
    }
    return typed;
}

void Dialog::WriteTyping(const TypedValues& typed)
{
    WriteControls(typed.values);
    for (const auto& [index, text] : typed.texts)
        if (index < specs_.size() && specs_[index].kind == ControlKind::Edit) SetWidgetText(widgets_[index], text);
}

// A result field the user cannot type in holds what the form wrote there:
// only a character outside Latin-1 (a text moved there) is refused in it.
Dialog::TextFault Dialog::TextFaultAt(std::size_t index) const
{
    if (index >= specs_.size() || specs_[index].kind != ControlKind::Edit || specs_[index].fileName)
        return TextFault::None;
    const ControlSpec& c = specs_[index];
    const QString text = WidgetText(widgets_[index]);
    if (!IsLatin1(text)) return TextFault::OutsideLatin1;
    if (c.readOnly) return TextFault::None;
    const bool held = std::all_of(text.begin(), text.end(), [&c](QChar ch) {
        return !IsControlChar(ch.unicode()) || (c.multiLine && ch == QLatin1Char('\n'));
    });
    return held ? TextFault::None : TextFault::ControlCharacter;
}

int Dialog::UnstorableText() const
{
    for (std::size_t i = 0; i < specs_.size(); ++i)
        if (TextFaultAt(i) != TextFault::None) return specs_[i].id;
    return 0;
}

Dialog::TextFault Dialog::TextFaultOf(int id) const
{
    for (std::size_t i = 0; i < specs_.size(); ++i)
        if (specs_[i].id == id && specs_[i].kind == ControlKind::Edit) return TextFaultAt(i);
    return TextFault::None;
}

std::string Dialog::TextBytes(const QString& text) const
{
    return ReadsAsLatin1(text) ? text.toLatin1().toStdString() : Token(text);
}

// Ids run through 1..255 but the mark's own byte, and come round again: a
// text read before keeps its id, and once every id is taken the texts that
// no control holds any more give theirs up.
std::string Dialog::Token(const QString& text) const
{
    for (const auto& [id, typed] : tokens_)
        if (typed == text) return {kUnstorableMark, char(id)};
    constexpr std::size_t kTokenIds = 254;
    if (tokens_.size() >= kTokenIds) {
        std::set<QString> held;
        for (const QWidget* w : widgets_) held.insert(WidgetText(w));
        std::erase_if(tokens_, [&held](const auto& token) { return held.count(token.second) == 0; });
    }
    for (std::size_t step = 0; step < 256; ++step) {
        ++lastToken_;
        if (lastToken_ == 0 || lastToken_ == std::uint8_t(kUnstorableMark) || tokens_.count(lastToken_)) continue;
        tokens_.emplace(lastToken_, text);
        return {kUnstorableMark, char(lastToken_)};
    }
    // No id left: refused as it shows, U+FFFD.
    return std::string(1, kUnstorableMark);
}

QString Dialog::TextShown(const std::string& bytes) const
{
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != kUnstorableMark) {
            text += QChar(char16_t(std::uint8_t(bytes[i])));
            continue;
        }
        const auto token = i + 1 < bytes.size() ? tokens_.find(std::uint8_t(bytes[i + 1])) : tokens_.end();
        if (token == tokens_.end()) {
            text += QChar(QChar::ReplacementCharacter);
            continue;
        }
        text += token->second;
        ++i;
    }
    return text;
}

void Dialog::SetupWindow() { TransferData(TransferDirection::Set); }

void Dialog::OnButton(int id)
{
    if (HandleCommand(id)) return;
    if (id == IDOK || id == IDCANCEL) CloseWindow(id);
}

void Dialog::CloseWindow(int result)
{
    if (result == IDOK) {
        // A text that a record cannot hold is refused before any check reads it.
        if (!AcceptTexts() || !CanClose()) return;
        TransferData(TransferDirection::Get);
    }
    closed_ = true;
    closeResult_ = result;
    if (isVisible()) done(result);
}

int Dialog::Execute()
{
    closed_ = false;
    closeResult_ = IDCANCEL;
    SetupWindow();
    if (!closed_ && Inspector()) {
        const DialogInspector inspect = Inspector();  // it may open dialogs of its own
        inspect(*this);
    }
    const int result = Run();
    AfterExecute();
    return result;
}

int Dialog::Run()
{
    if (closed_) return closeResult_;  // closed by its own set-up (a picker with nothing to offer)
    auto it = Drivers().find(resourceId_);
    if (it != Drivers().end()) {
        DialogScript script = it->second;
        for (int attempt = 0; attempt < 8 && !closed_; ++attempt) {
            const int button = script(*this);
            if (button == 0) break;
            OnButton(button);
        }
        return closed_ ? closeResult_ : IDCANCEL;
    }
    if (NoUserPresent()) return IDCANCEL;
    exec();
    if (!closed_) return IDCANCEL;  // closed by the window's own close box
    return closeResult_;
}

QWidget* Dialog::Control(int id) const
{
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void Dialog::FocusControl(int id)
{
    QWidget* w = Control(id);
    if (!w) return;
    if (!w->isVisibleTo(this)) ShowPageOf(w);
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

// A tabbed dialog shows the controls of its current page only: the page that
// holds a control is the one on which it is shown.
void Dialog::ShowPageOf(QWidget* control)
{
    for (QTabBar* tabs : findChildren<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        const int was = tabs->currentIndex();
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            if (control->isVisibleTo(this)) return;
        }
        tabs->setCurrentIndex(was);
    }
}

std::vector<int> Dialog::ControlPages()
{
    std::vector<int> pages(widgets_.size(), kEveryPage);
    QTabBar* tabs = findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!tabs || tabs->count() < 2) return pages;
    std::vector<int> shownOn(widgets_.size(), 0);
    const int was = tabs->currentIndex();
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        for (std::size_t i = 0; i < widgets_.size(); ++i) {
            if (!widgets_[i]->isVisibleTo(this)) continue;
            if (shownOn[i]++ == 0) pages[i] = page;
        }
    }
    tabs->setCurrentIndex(was);
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
        if (shownOn[i] == 0) pages[i] = kNoPage;
        else if (shownOn[i] == tabs->count()) pages[i] = kEveryPage;
    }
    return pages;
}

void Dialog::showEvent(QShowEvent* event)
{
    if (!placed_ && !event->spontaneous()) {
        placed_ = true;
        CentreOnOwner();
    }
    QDialog::showEvent(event);
}

// The owner is the nearest window up the parent chain that the user can see:
// a picker opened from another dialog's set-up has a parent that is not
// shown yet, and centring on that would put it in the screen's corner.  With
// no such window, the main window; with none, the screen.
void Dialog::CentreOnOwner()
{
    QWidget* owner = nullptr;
    for (QWidget* w = parentWidget(); w && !owner; w = w->window()->parentWidget())
        if (w->window()->isVisible()) owner = w->window();
    if (!owner)
        if (Application* app = Application::Current(); app && app->Frame() && app->Frame()->isVisible())
            owner = app->Frame();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = owner ? owner->frameGeometry() : screen->availableGeometry();
    QRect mine(QPoint(0, 0), frameGeometry().size());
    mine.moveCenter(area.center());
    // Never off the screen the owner is on.
    const QRect visible = screen->availableGeometry();
    mine.moveLeft(std::max(visible.left(), std::min(mine.left(), visible.right() - mine.width() + 1)));
    mine.moveTop(std::max(visible.top(), std::min(mine.top(), visible.bottom() - mine.height() + 1)));
    move(mine.topLeft());
}

int Dialog::ControlId(const QWidget* control) const
{
    for (const auto& [id, w] : controls_)
        if (w == control) return id;
    return 0;
}

std::string Dialog::GetControlText(int id) const
{
    const QString t = WidgetText(Control(id));
    if (!HoldsFileName(id)) return TextBytes(t);
    // The name as it was given while it shows untouched.
    const FileNameEntry& name = fileNames_.at(id);
    if (name.asGiven && t == name.shown) return name.bytes;
    return QFile::encodeName(t).toStdString();
}

void Dialog::SetControlText(int id, const std::string& text)
{
    // A one-character field cuts a token to its mark: put back into a control
    // that holds a token's text, it leaves that text as typed.
    if (text.size() == 1 && text[0] == kUnstorableMark && !HoldsFileName(id) && IsToken(GetControlText(id))) return;
    SetWidgetText(Control(id), HoldsFileName(id) ? FileNameShown(id, text) : TextShown(text));
}

void Dialog::SetWidgetText(QWidget* w, const QString& t)
{
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) p->setPlainText(t);
    else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(t);
        FitStatic(l);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(t);
    else if (auto* c = qobject_cast<QComboBox*>(w)) c->setEditText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(t);
}

// Bytes that fit the field stay as given, however many more their shown
// form would take typed.  A name longer than its edit takes is cut to whole
// characters.
QString Dialog::FileNameShown(int id, std::string_view bytes)
{
    FileNameEntry& entry = fileNames_.at(id);
    const bool fits = bytes.size() <= std::size_t(entry.limit);
    const std::string_view given = bytes.substr(0, std::min(bytes.size(), std::size_t(entry.limit)));
    QString name = ShownFileName(given);
    entry.asGiven = true;
    while (!fits && QFile::encodeName(name).size() > entry.limit) {
        name.chop(1);
        entry.asGiven = false;
    }
    entry.bytes.assign(given);
    entry.shown = name;
    return name;
}

int Dialog::GetCheck(int id) const
{
    auto* b = qobject_cast<QAbstractButton*>(Control(id));
    return b && b->isChecked() ? 1 : 0;
}

void Dialog::SetCheck(int id, int state)
{
    auto* b = qobject_cast<QAbstractButton*>(Control(id));
    if (!b) return;
    // An exclusive group refuses to uncheck its checked button; a transfer of
    // a zero state (Clear, a record with no option set) must still turn it off.
    QButtonGroup* group = b->group();
    const bool relax = state == 0 && group && group->exclusive() && b->isChecked();
    if (relax) group->setExclusive(false);
    b->setChecked(state != 0);
    if (relax) group->setExclusive(true);
}

void Dialog::EnableControl(int id, bool enabled)
{
    if (QWidget* w = Control(id)) w->setEnabled(enabled);
}

void Dialog::ListClear(int id)
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id))) l->clear();
    else if (auto* c = qobject_cast<QComboBox*>(Control(id))) c->clear();
}

void Dialog::ListAddString(int id, const std::string& text) { AddListLine(id, FromLatin1(text)); }

void Dialog::ListAddFileName(int id, const std::string& name) { AddListLine(id, ShownFileName(name)); }

void Dialog::AddListLine(int id, const QString& line)
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id))) l->addItem(line);
    else if (auto* c = qobject_cast<QComboBox*>(Control(id))) c->addItem(line);
}

int Dialog::ListCount(int id) const
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id))) return l->count();
    if (auto* c = qobject_cast<QComboBox*>(Control(id))) return c->count();
    return 0;
}

int Dialog::ListSelIndex(int id) const
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id))) return l->currentRow();
    if (auto* c = qobject_cast<QComboBox*>(Control(id))) return c->currentIndex();
    return -1;
}

void Dialog::ListSetSelIndex(int id, int index)
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id))) {
        l->setCurrentRow(index);
        if (QListWidgetItem* item = l->item(index)) l->scrollToItem(item);  // the line selected is in view
    } else if (auto* c = qobject_cast<QComboBox*>(Control(id))) {
        c->setCurrentIndex(index);
    }
}

std::string Dialog::ListString(int id, int index) const
{
    if (auto* l = qobject_cast<QListWidget*>(Control(id)))
        if (auto* item = l->item(index)) return Latin1Bytes(item->text());
    if (auto* c = qobject_cast<QComboBox*>(Control(id))) return Latin1Bytes(c->itemText(index));
    return {};
}

void Dialog::SetGaugeValue(int id, int percent)
{
    if (auto* g = qobject_cast<QProgressBar*>(Control(id))) g->setValue(percent);
}

void SetDialogDriver(int resourceId, DialogScript script) { Drivers()[resourceId] = std::move(script); }
void SetDialogInspector(DialogInspector inspector) { Inspector() = std::move(inspector); }
void ClearDialogDrivers() { Drivers().clear(); }

}  // namespace platform
