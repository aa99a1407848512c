// The tabbed-page mechanics that every budget input dialog shares: its pages
// on a tab bar, the page shown, controls that appear only on some pages, and
// a scratch copy of the record read from the controls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

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

// The record as the controls hold it now, its texts ended by `terminate`.
template <class Record>
Record ReadScratch(const TForm& form, void (*terminate)(Record&))
{
    Record r;
    std::memset(&r, 0, sizeof r);
    const std::vector<std::uint8_t> v = form.ReadControls();
    std::memcpy(&r, v.data(), std::min(v.size(), sizeof r));
    terminate(r);
    return r;
}

template <class Record>
void WriteScratch(TForm& form, const Record& r)
{
    form.WriteControls(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&r), sizeof r));
}

}  // namespace budgetform
