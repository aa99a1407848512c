#include "linkbudget/windows/budget_form.h"

#include <QSignalBlocker>
#include <QTabBar>

#include "framework/app/orbiscope.h"

namespace budgetform {

void InstallPages(TForm& form, int tabId, std::span<const char* const> titles, std::function<void()> onChange)
{
    auto* tabs = qobject_cast<QTabBar*>(form.Control(tabId));
    if (!tabs || tabs->count() != 0) return;
    for (const char* title : titles) tabs->addTab(QString::fromLatin1(title));
    QObject::connect(tabs, &QTabBar::currentChanged, &form, [onChange = std::move(onChange)] { onChange(); });
}

int CurrentPage(const TForm& form, int tabId, int pageCount)
{
    auto* tabs = qobject_cast<QTabBar*>(form.Control(tabId));
    const int page = tabs ? tabs->currentIndex() : 0;
    return page >= 0 && page < pageCount ? page : 0;
}

void ShowPage(TForm& form, int tabId, int page)
{
    if (auto* tabs = qobject_cast<QTabBar*>(form.Control(tabId))) {
        const QSignalBlocker quiet(tabs);
        tabs->setCurrentIndex(page);
    }
}

void ShowControl(TForm& form, int id, bool shown)
{
    form.EnableControl(id, shown);
    if (QWidget* w = form.Control(id)) w->setVisible(shown);
}

}  // namespace budgetform

TBudgetEntry::TBudgetEntry(TForm* parent, int id, int textLimit, HintTable hints, bool recordsFocus)
    : TMyEdit(parent, id, textLimit), recordsFocus_(recordsFocus)
{
    SetHints(hints);
}

void TBudgetEntry::EvSetFocus()
{
    ShowStatusHint(App(), HintFor(Hints(), Id()));
    if (recordsFocus_ && App()) App()->LastFocusedEntry = Id();
}
