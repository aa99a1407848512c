// The field checks that the budget dialogs ask alike, in the order they ask
// them; each stops at the first failure, whose message the form shows unless
// it is silent.
#pragma once

#include <string_view>

#include "framework/forms/form.h"
#include "framework/forms/record_fields.h"

namespace budgetcheck {

inline constexpr const char* kLatitudeUnit = "\xB0N,\xB0S";
inline constexpr const char* kLongitudeUnit = "\xB0W,\xB0" "E";

// A real number in minimum to maximum.
bool Real(TForm& form, const char* label, std::string_view text, double minimum, double maximum, const char* unit);
// True unless the text is the keyword AUTO (in any case).
bool NotAuto(const char* text);

// The station's name, latitude and longitude.
bool CheckPlace(TForm& form, const char* nameLabel, const char* latitudeLabel, const char* longitudeLabel,
                std::string_view name, std::string_view latitude, std::string_view longitude);
// A site altitude in km, unless AUTO.
bool CheckAltitude(TForm& form, const char* label, const char* altitude);
// The antenna's efficiency in percent, or its gain in dBi when the text
// begins with a sign (a gain the aperture can have at the frequency).
bool CheckAntenna(TForm& form, const char* gainLabel, const char* efficiencyLabel, const char* efficiency,
                  const char* diameter, const char* frequency, int link);

// The carrier's fields from the target to M, then the modcod's name (typed
// or chosen, it ends its report line, so no "~" or closing "#"; it may be
// empty), over the same-named fields of any budget record (terminated); the
// dialogs differ in the target's label and the overhead they allow.
template <class Record>
bool CheckCarrier(TForm& f, const Record& r, const char* targetLabel, double maximumOverheadPct)
{
    return Real(f, targetLabel, FieldView(r.requiredTarget), -40, 100, "dB") &&
           Real(f, "Information or symbol rate", FieldView(r.rate), 0.00001, 6000, "Mbps or Mbaud") &&
           Real(f, "Information rate overhead", FieldView(r.overhead), 0, maximumOverheadPct, "%") &&
           f.CheckFraction(FieldView(r.fecRate), 0.001, 1, "FEC") &&
           Real(f, "Spreading Gain", FieldView(r.spreadingGain), 0, 100, "dB") &&
           Real(f, "Roll off factor + 1", FieldView(r.rollOff), 1, 2, "") &&
           Real(f, "Carrier spacing factor", FieldView(r.carrierSpacing), 0.5, 3, "") &&
           Real(f, "Allocated bandwidth step size", FieldView(r.allocationStep), 0, 10, "MHz") &&
           Real(f, "Implementation loss", FieldView(r.implementationLoss), 0, 10, "dB") &&
           Real(f, "System margin", FieldView(r.systemMargin), 0, 10, "dB") &&
           Real(f, "M-ary prefix (e.g. M=8 for 8-PSK)", FieldView(r.modulationOrder), 2, 256, "") &&
           f.CheckMary(FieldView(r.modulationOrder), r.oneBitPerSymbol.On(), r.mqam.On()) &&
           (r.modcodText[0] == '\0' || f.CheckField("Modcod", FieldView(r.modcodText), FieldType::Text, 0, 0, ""));
}

}  // namespace budgetcheck
