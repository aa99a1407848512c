// The tabbed-page mechanics that every budget input dialog shares: its pages
// on a tab bar, the page shown and controls that appear only on some pages.
#pragma once

#include <functional>
#include <span>

#include "framework/forms/form.h"

namespace budgetform {

// Fills the tab bar `tabId` with the page titles once; `onChange` runs when
// the user picks another page.
void InstallPages(TForm& form, int tabId, std::span<const char* const> titles, std::function<void()> onChange);
// The page shown, 0 when the bar is missing or out of range.
int CurrentPage(const TForm& form, int tabId, int pageCount);
// Shows a page without announcing the change.
void ShowPage(TForm& form, int tabId, int page);
// Shows and enables a control, or hides and disables it.
void ShowControl(TForm& form, int id, bool shown);

}  // namespace budgetform
