#include "tests/desktop/program/layout_check.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace desktoptest {

namespace {

// A push button's text needs its frame and margins beside it.
constexpr int kButtonTextPaddingPx = 8;
// A group box's title sits inside its frame, indented.
constexpr int kGroupTitlePaddingPx = 16;

QString PlainText(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

QString TextOf(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
    return {};
}

std::string Name(const platform::Dialog& dialog, const QWidget* w)
{
    if (const int id = dialog.ControlId(w)) return std::to_string(id);
    return "\"" + PlainText(TextOf(w)).toStdString() + "\"";
}

// The width the control's text needs; 0 when it has none to fit.
int NeededWidth(const QWidget* w)
{
    const QFontMetrics fm(w->font());
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty() || l->wordWrap()) return 0;
        return l->sizeHint().width();
    }
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return static_cast<const QAbstractButton*>(w)->text().isEmpty() ? 0 : w->sizeHint().width();
    if (auto* b = qobject_cast<const QPushButton*>(w))
        return b->text().isEmpty() ? 0 : fm.horizontalAdvance(PlainText(b->text())) + kButtonTextPaddingPx;
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title().isEmpty() ? 0 : fm.horizontalAdvance(PlainText(g->title())) + kGroupTitlePaddingPx;
    return 0;
}

bool TextFits(const QWidget* w)
{
    if (auto* l = qobject_cast<const QLabel*>(w); l && l->wordWrap() && !l->text().isEmpty())
        return l->heightForWidth(l->width()) <= l->height();
    return NeededWidth(w) <= w->width();
}

bool Contains(const QWidget* outer, const QWidget* inner)
{
    return qobject_cast<const QGroupBox*>(outer) && outer->geometry().contains(inner->geometry());
}

std::vector<QWidget*> ShownControls(platform::Dialog& dialog)
{
    std::vector<QWidget*> out;
    for (QObject* o : dialog.children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisibleTo(&dialog) || w->width() <= 0 || w->height() <= 0) continue;
        out.push_back(w);
    }
    return out;
}

}  // namespace

std::string LayoutFault::Describe() const
{
    std::string s = "dialog " + std::to_string(dialog) + " page " + std::to_string(page) + ": " + kind + " " + first;
    if (!second.empty()) s += " / " + second;
    return s;
}

std::vector<LayoutFault> CheckShownLayout(platform::Dialog& dialog, int page)
{
    std::vector<LayoutFault> faults;
    const std::vector<QWidget*> shown = ShownControls(dialog);
    const QRect client = dialog.rect();
    for (std::size_t i = 0; i < shown.size(); ++i) {
        QWidget* a = shown[i];
        if (!client.contains(a->geometry())) faults.push_back({dialog.ResourceId(), page, "outside", Name(dialog, a), ""});
        if (!TextFits(a)) faults.push_back({dialog.ResourceId(), page, "text", Name(dialog, a), ""});
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            QWidget* b = shown[j];
            if (!a->geometry().intersects(b->geometry()) || Contains(a, b) || Contains(b, a)) continue;
            faults.push_back({dialog.ResourceId(), page, "overlap", Name(dialog, a), Name(dialog, b)});
        }
    }
    return faults;
}

std::vector<LayoutFault> CheckEveryPage(platform::Dialog& dialog)
{
    QTabBar* tabs = dialog.findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!tabs || tabs->count() < 2) return CheckShownLayout(dialog, 0);
    std::vector<LayoutFault> faults;
    const int first = tabs->currentIndex();
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        const auto more = CheckShownLayout(dialog, page);
        faults.insert(faults.end(), more.begin(), more.end());
    }
    tabs->setCurrentIndex(first);
    return faults;
}

}  // namespace desktoptest
