// What the look-angles and dual-feed dialogs share: their one-column layout
// of labelled entries with the picker buttons beside them, and the units of
// their field checks.
#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "framework/app/orbiscope.h"
#include "framework/databases/pickers.h"
#include "framework/forms/scratch_record.h"
#include "platform/dialog.h"

namespace alignform {

inline constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
inline constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";
inline constexpr const char* kDegreeUnit = "\xB0";

struct EntrySpec {
    int id;
    int bytes;          // text bytes, terminator included
    const char* label;
};

struct PickerButton {
    int id;
    const char* text;
    int besideEntry;    // the entry whose row it sits on
};

// The entries top to bottom in the order given (which is the record's),
// each under its label, the picker buttons on the rows named, then OK,
// Cancel and Help.
std::vector<platform::ControlSpec> EntryTable(std::span<const EntrySpec> entries,
                                              std::initializer_list<PickerButton> buttons);

// The Site button: the picked town's name, latitude and longitude replace
// the record's site fields; the other fields keep what the user typed.
template <class Record>
void PickSiteInto(TForm& form, void (*terminate)(Record&))
{
    TOrbiscope* app = form.App();
    if (!app || !databases::PickTown(&form)) return;
    Record r = ReadScratch<Record>(form, terminate);
    PutText(r.siteName, app->PickedSiteName);
    PutText(r.siteLatitude, app->PickedSiteLatitude);
    PutText(r.siteLongitude, app->PickedSiteLongitude);
    WriteScratch(form, r);
}

}  // namespace alignform
