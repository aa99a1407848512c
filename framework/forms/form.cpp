#include "framework/forms/form.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <functional>

#include "framework/forms/form_controls.h"
#include "framework/app/orbiscope.h"
#include "platform/messagebox.h"
#include "platform/services.h"

using platform::ControlKind;
using platform::ControlSpec;

namespace {

// The words of a label, lower case: "Site latitude (up)" gives "site",
// "latitude", "up".
std::vector<std::string> LabelWords(std::string_view text)
{
    std::vector<std::string> words;
    std::string word;
    for (const char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (std::isalnum(c)) {
            word += char(std::tolower(c));
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

int SharedWords(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    int n = 0;
    for (const std::string& w : a)
        if (std::find(b.begin(), b.end(), w) != b.end()) ++n;
    return n;
}

// A row's labels are a few pixels off their entry's line; a column heading
// sits at most this far above the first entry.
constexpr int kRowSlackPx = 4;
constexpr int kHeadingReachPx = 40;

bool OnPage(const std::vector<int>& pages, std::size_t index, int page)
{
    return pages[index] == page || pages[index] == platform::Dialog::kEveryPage;
}

// The innermost group box on `page` whose frame holds `r`, or null.
const QGroupBox* GroupAround(const TForm& form, const QRect& r, int page, const std::vector<int>& pages)
{
    const QGroupBox* around = nullptr;
    const auto& specs = form.Controls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const auto* group = qobject_cast<const QGroupBox*>(form.ControlAt(i));
        if (!group || specs[i].kind != ControlKind::GroupBox || !OnPage(pages, i, page)) continue;
        if (group->geometry().contains(r) && (!around || around->geometry().contains(group->geometry())))
            around = group;
    }
    return around;
}

// The text of the static that labels the edit at `index`: the nearest on its
// left on the same line, else the nearest heading above it.  The pages of a
// tabbed dialog lie over each other: a label is on its entry's page.  An
// edit in a group box is labelled from within the box (a static outside it,
// on the same line, labels a field of another column), else by the box's
// title.
std::string EditLabelText(const TForm& form, std::size_t index, const std::vector<int>& pages)
{
    const QWidget* edit = form.ControlAt(index);
    if (!edit) return {};
    const QRect e = edit->geometry();
    const QGroupBox* group = GroupAround(form, e, pages[index], pages);
    const QWidget* beside = nullptr;
    const QWidget* above = nullptr;
    const auto& specs = form.Controls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const auto* label = qobject_cast<const QLabel*>(form.ControlAt(i));
        if (!label || specs[i].kind != ControlKind::Static || !OnPage(pages, i, pages[index])) continue;
        if (GroupAround(form, label->geometry(), pages[index], pages) != group) continue;
        const QRect s = label->geometry();
        const int middle = s.center().y();
        if (s.left() < e.left() && middle >= e.top() - kRowSlackPx && middle <= e.bottom() + kRowSlackPx) {
            if (!beside || s.right() > beside->geometry().right()) beside = label;
        } else if (s.bottom() <= e.top() && e.top() - s.bottom() <= kHeadingReachPx && s.left() < e.right() &&
                   s.right() > e.left()) {
            if (!above || s.bottom() > above->geometry().bottom()) above = label;
        }
    }
    if (const auto* chosen = qobject_cast<const QLabel*>(beside ? beside : above))
        return platform::Latin1Bytes(chosen->text());
    return group ? platform::Latin1Bytes(group->title()) : std::string();
}

}  // namespace

TForm::TForm(QWidget* parent, int resourceId, const std::string& caption, std::vector<ControlSpec> controls)
    : platform::Dialog(parent, resourceId, caption, std::move(controls)), app_(TOrbiscope::Current())
{
}

TForm::~TForm() = default;

bool TForm::AcceptTexts()
{
    const int id = UnstorableText();
    if (id == 0) return true;
    const std::string label = FieldLabel(id);
    ReportAboutControl(id, TextFaultOf(id) == TextFault::ControlCharacter ? OneLineTextMessage(label)
                                                                           : UnstorableTextMessage(label));
    return false;
}

std::string TForm::FieldLabel(int id)
{
    const auto& specs = Controls();
    for (std::size_t i = 0; i < specs.size(); ++i)
        if (specs[i].id == id) return EditLabelText(*this, i, ControlPages());
    return {};
}

void TForm::ReportAboutControl(int id, const FieldMessage& message)
{
    if (id != 0 && !Silent()) FocusControl(id);
    ReportFieldError(message.text, message.caption);
}

bool TForm::CanClose()
{
    platform::Dialog::CanClose();
    return false;
}

void TForm::ReportFieldError(std::string_view text, std::string_view caption)
{
    const std::size_t n = std::min(text.size(), kMessageBufferSize - 1);
    std::memcpy(MessageBuffer, text.data(), n);
    MessageBuffer[n] = '\0';
    if (Silent()) return;
    platform::MessageBox(this, text, caption, platform::MB_ICONEXCLAMATION);
}

FieldMessageSink TForm::MessageSink()
{
    return [this](const FieldMessage& m) { ReportFieldError(m.text, m.caption); };
}

FieldMessageSink TForm::MessageSinkFor(std::string_view label, std::string_view text)
{
    // The view may not outlive the check; its place in the record is taken now.
    return [this, field = CheckedRecordField(text), label = std::string(label),
            text = std::string(text)](const FieldMessage& m) {
        ReportAboutControl(Silent() ? 0 : field ? field : FieldControl(label, text), m);
    };
}

void TForm::ReportAboutField(std::string_view fieldText, std::string_view text, std::string_view caption)
{
    MessageSinkFor({}, fieldText)(FieldMessage{std::string(caption), std::string(text)});
}

TForm::CheckedRecord::CheckedRecord(TForm& form, std::span<const std::uint8_t> record)
    : form_(form), previous_(form.checked_)
{
    form.checked_ = record;
}

TForm::CheckedRecord::~CheckedRecord() { form_.checked_ = previous_; }

int TForm::CheckedRecordField(std::string_view text) const
{
    const auto* begin = reinterpret_cast<const char*>(checked_.data());
    const std::less<const char*> before;
    if (checked_.empty() || before(text.data(), begin) || !before(text.data(), begin + checked_.size())) return 0;
    const auto at = std::size_t(text.data() - begin);
    for (const platform::TransferField& f : TransferFields())
        if (at < f.offset + f.size) return f.IsText() ? f.id : 0;
    return 0;
}

int TForm::FieldControl(std::string_view label, std::string_view text)
{
    std::vector<std::size_t> holding;
    const auto& specs = Controls();
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ControlSpec& c = specs[i];
        if (c.kind != ControlKind::Edit || c.readOnly || c.id == 0) continue;
        std::string shown = GetControlText(c.id);
        if (c.textLimit > 0 && shown.size() >= std::size_t(c.textLimit)) shown.resize(std::size_t(c.textLimit) - 1);
        if (shown == text) holding.push_back(i);
    }
    if (holding.size() == 1) return specs[holding.front()].id;
    if (holding.empty()) return 0;
    const std::vector<std::string> wanted = LabelWords(label);
    const std::vector<int> pages = ControlPages();
    int best = 0, bestScore = 0;
    bool tied = false;
    for (std::size_t i : holding) {
        const int score = SharedWords(wanted, LabelWords(EditLabelText(*this, i, pages)));
        if (score > bestScore) {
            best = specs[i].id;
            bestScore = score;
            tied = false;
        } else if (score == bestScore) {
            tied = true;
        }
    }
    return bestScore > 0 && !tied ? best : 0;
}

void TForm::SetupWindow()
{
    platform::Dialog::SetupWindow();
    if (!kept_) return;
    heldRecord_.clear();
    if (const std::uint8_t* record = TransferBuffer()) heldRecord_.assign(record, record + TransferBufferSize());
    shownRecord_ = ReadTyping();
    if (!kept_->empty()) WriteTyping(*kept_);
}

void TForm::KeepTyping()
{
    CancelledTyping typed = ReadTyping();
    if (typed == shownRecord_) typed.clear();
    *kept_ = std::move(typed);
}

void TForm::AfterExecute()
{
    ShowStatusHint(app_, "");
    if (!kept_) return;
    // However the run ended short of OK, the typing stays out of the record.
    if (Result() == platform::IDOK) kept_->clear();
    else KeepTyping();
}

void TForm::TakeBackConfirmedTyping()
{
    if (!kept_ || Result() != platform::IDOK) return;
    KeepTyping();
    // Byte for byte: a save then writes what it wrote before the run.
    if (std::uint8_t* record = TransferBuffer(); record && heldRecord_.size() == TransferBufferSize())
        std::copy(heldRecord_.begin(), heldRecord_.end(), record);
}

bool TForm::CheckField(std::string_view label, std::string_view text, FieldType type, double minimum, double maximum,
                       std::string_view unit)
{
    return ::CheckField(label, text, type, minimum, maximum, unit, MessageSinkFor(label, text));
}

bool TForm::CheckDate(int day, int month, int year) { return ::CheckDate(day, month, year, MessageSink()); }

bool TForm::CheckMary(std::string_view mText, bool oneBitPerSymbol, bool qam)
{
    return ::CheckMary(mText, oneBitPerSymbol, qam, MessageSinkFor("M", mText));
}

bool TForm::CheckAntennaGain(std::string_view diameterM, std::string_view gainDbi, std::string_view frequencyGHz,
                             int link)
{
    // The gain is what a dish of that size cannot have.
    return ::CheckAntennaGain(diameterM, gainDbi, frequencyGHz, link, MessageSinkFor("antenna gain", gainDbi));
}

bool TForm::CheckFraction(std::string_view text, double minimum, double maximum, std::string_view label)
{
    return ::CheckFraction(text, minimum, maximum, label, MessageSinkFor(label, text));
}

bool TForm::CheckSatelliteSpacing(std::string_view wanted, std::string_view adjacent1, std::string_view adjacent2,
                                  std::string_view adjacent3, std::string_view adjacent4, std::uint16_t include2,
                                  std::uint16_t include3, std::uint16_t include4)
{
    return ::CheckSatelliteSpacing(wanted, adjacent1, adjacent2, adjacent3, adjacent4, include2, include3, include4,
                                   MessageSinkFor("satellite longitude", wanted));
}

bool TForm::CheckCarrierSpacing(std::string_view first, std::string_view second)
{
    return ::CheckCarrierSpacing(first, second, MessageSinkFor("carrier spacing factor", second));
}

void TForm::ShowHelp(int contextId) const
{
    if (app_) app_->ShowHelp(contextId);
    else platform::HelpViewer::ShowContext(contextId);
}

void TForm::ShowFieldHelp(int controlId) const
{
    if (app_) app_->ShowFieldHelp(HelpTopic(), controlId);
    else platform::HelpViewer::ShowField(HelpTopic(), controlId);
}
