// The visible-satellites tables: the geostationary satellites of the
// satellite list that one site, or each of two sites, sees at or above a
// minimum elevation and that carry one of the ticked bands.  Free of Qt.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/databases/place_files.h"
#include "rftools/tables/table_records.h"
#include "rftools/tables/table_text.h"

namespace orbiscope::tables {

// The band each check box stands for, in record order: the place files'
// kBandCodes, defined again here because the engine links no window code.
extern const char* const kBandTexts[kBandCount];  // "P" "L" "S" "C" "X" "Ku" "Ka" "Q/V" "?"

// Whether the satellite's band text holds the text of a ticked band anywhere
// (case-sensitive), so a ticked "C" matches "C,Ku" and refuses "Ku".
bool SatelliteHasBand(std::string_view bandText, const ButtonState (&bands)[kBandCount]);
// Whether the list gives no band for a satellite: its band text is "?" or
// blank.  The shipped list's source gives no bands, so every satellite of it
// reads "?"; such a satellite is listed whatever bands are ticked.
bool BandUnknown(std::string_view bandText);
// Whether a satellite with this band text belongs in a table for the ticked
// bands: its band is unknown, or it carries a ticked band.
bool SatelliteListed(std::string_view bandText, const ButtonState (&bands)[kBandCount]);
// The ticked bands' texts, each followed by a comma, in record order: "C,Ku,".
std::string BandList(const ButtonState (&bands)[kBandCount]);

// The tables over records 0..n of a satellite list (record 0 is never
// listed); nothing when no satellite passes.  The magnetic variation is that
// of the declination clock's date.
std::optional<TableText> VisibleSatellites(const RecSiteRecord& record, std::span<const SatelliteRecord> satellites,
                                           const ReportHeading& heading);
std::optional<TableText> VisibleSatellites2Sites(const RecSite2Record& record,
                                                 std::span<const SatelliteRecord> satellites,
                                                 const ReportHeading& heading);

}  // namespace orbiscope::tables
