#include "linkbudget/windows/budget_checks.h"

#include <cstring>

#include "linkbudget/engine/input_text.h"

namespace budgetcheck {

namespace {

std::string_view View(const char* text) { return std::string_view(text, std::strlen(text)); }

}  // namespace

bool Real(TForm& form, const char* label, std::string_view text, double minimum, double maximum, const char* unit)
{
    return form.CheckField(label, text, FieldType::Real, minimum, maximum, unit);
}

bool NotAuto(const char* text) { return !lbtext::IsKeyword(text, "auto"); }

bool CheckPlace(TForm& form, const char* nameLabel, const char* latitudeLabel, const char* longitudeLabel,
                std::string_view name, std::string_view latitude, std::string_view longitude)
{
    return form.CheckField(nameLabel, name, FieldType::Text, 0, 0, "") &&
           form.CheckField(latitudeLabel, latitude, FieldType::Latitude, 0, 90, kLatitudeUnit) &&
           form.CheckField(longitudeLabel, longitude, FieldType::Longitude, 0, 180, kLongitudeUnit);
}

bool CheckAltitude(TForm& form, const char* label, const char* altitude)
{
    return !NotAuto(altitude) || Real(form, label, View(altitude), -0.5, 25, "km");
}

bool CheckAntenna(TForm& form, const char* gainLabel, const char* efficiencyLabel, const char* efficiency,
                  const char* diameter, const char* frequency, int link)
{
    if (efficiency[0] == '+' || efficiency[0] == '-')
        return Real(form, gainLabel, View(efficiency), -30, 100, "dBi") &&
               form.CheckAntennaGain(View(diameter), View(efficiency), View(frequency), link);
    return Real(form, efficiencyLabel, View(efficiency), 10, 100, "%");
}

}  // namespace budgetcheck
