#include "framework/forms/field_check.h"

#include "framework/forms/evaluate.h"
#include "propagation/coordinates.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

locale_t CLocale()
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c_locale;
}

bool Report(const FieldMessageSink& sink, std::string caption, std::string text)
{
    if (sink) sink(FieldMessage{std::move(caption), std::move(text)});
    return false;
}

FieldMessage InvalidCharacterMessage(std::string_view label, std::string_view what)
{
    std::string text(label);
    if (!text.empty()) text += "\r\n";
    return {"Invalid Character Error", text + std::string(what)};
}

FieldMessage LineMarkMessage(std::string_view label)
{
    return InvalidCharacterMessage(label, "This field takes no \"#\" at the end (the report's line mark)");
}

}  // namespace

double LeadingNumber(std::string_view text)
{
    const std::string copy(text);   // zero-terminated for the run-time
    return strtod_l(copy.c_str(), nullptr, CLocale());
}

bool IsValidChar(char c, FieldType type)
{
    switch (type) {
    case FieldType::Text:
    case FieldType::FileName: return c != '~';
    case FieldType::Real: return IsDigit(c) || c == '.' || c == '-' || c == '+';
    case FieldType::Integer: return IsDigit(c) || c == '-' || c == '+';
    case FieldType::Latitude:
    case FieldType::LatitudeDMM: return IsDigit(c) || c == '.' || c == 'N' || c == 'S';
    case FieldType::Longitude:
    case FieldType::LongitudeDMM: return IsDigit(c) || c == '.' || c == 'W' || c == 'E';
    case FieldType::RainZone:
        return (c >= 'A' && c <= 'H') || (c >= 'J' && c <= 'N') || c == 'P' || c == 'Q' || (c >= '1' && c <= '3') ||
               c == '*' || c == '$' || c == '&' || c == '?';
    case FieldType::Polarization: return c == 'V' || c == 'H' || c == 'C';
    case FieldType::LeftRight: return c == 'L' || c == 'R';
    case FieldType::YesNo: return c == 'Y' || c == 'N';
    case FieldType::UnsignedDMM: return IsDigit(c) || c == '.';
    case FieldType::BandLetters: return c == 'S' || c == 'C' || c == 'K' || c == 'u' || c == 'a';
    }
    return false;
}

bool InRange(std::string_view text, FieldType type, double minimum, double maximum)
{
    switch (type) {
    case FieldType::Text:
    case FieldType::FileName:
    case FieldType::RainZone:
    case FieldType::Polarization:
    case FieldType::YesNo:
    case FieldType::BandLetters: return true;
    default: break;
    }
    const double v = LeadingNumber(text);
    // A run of digits too long for a double reads as infinity; no field takes it.
    if (!std::isfinite(v)) return false;
    if (type == FieldType::LatitudeDMM || type == FieldType::LongitudeDMM || type == FieldType::UnsignedDMM) {
        const double a = std::fabs(v);
        if (a - std::floor(a) > 0.59995) return false;
    }
    return !(v < minimum || v > maximum);
}

bool CheckField(std::string_view label, std::string_view text, FieldType type, double minimum, double maximum,
                std::string_view unit, const FieldMessageSink& sink)
{
    const std::string name(label);
    if (text.empty()) return Report(sink, "Empty Field Error", name);
    for (const char c : text) {
        if (!IsValidChar(c, type)) return Report(sink, "Invalid Character Error", name);
    }
    // A report line that ends in "#" is drawn in its emphasis font and loses
    // the "#": a name must not end in one.
    if (type == FieldType::Text && text.back() == '#') {
        const FieldMessage message = LineMarkMessage(label);
        return Report(sink, message.caption, message.text);
    }
    if (!InRange(text, type, minimum, maximum)) {
        char buffer[1024];
        // The limits print with a decimal point whatever the process locale.
        const locale_t previous = uselocale(CLocale());
        std::snprintf(buffer, sizeof buffer, "%s\r\nRange %0.6f to %0.6f %s", name.c_str(), minimum, maximum,
                      std::string(unit).c_str());
        uselocale(previous);
        return Report(sink, "Range Error", buffer);
    }
    if (type == FieldType::Latitude || type == FieldType::Longitude || type == FieldType::LatitudeDMM ||
        type == FieldType::LongitudeDMM) {
        const auto at = text.find_first_of("NSEW");
        if (at == std::string_view::npos) return Report(sink, "Suffix Missing Error (N,S,E or W)", name);
        if (at != text.size() - 1 || at == 0) return Report(sink, "Incorrectly Placed Suffix Error", name);
    }
    return true;
}

FieldMessage UnstorableTextMessage(std::string_view label)
{
    return InvalidCharacterMessage(label, "This field takes Western European (Latin-1) letters only");
}

FieldMessage OneLineTextMessage(std::string_view label)
{
    return InvalidCharacterMessage(label, "This field takes one line of text, without tabs or control characters");
}

FieldMessage ByteOrderMarkMessage(std::string_view label, bool atLineStart)
{
    // Only a mark that starts a line can be a joined file's: one inside a
    // line came in with the text (pasted), and that reason would mislead.
    const std::string what = std::string("This field holds a byte-order mark, an invisible character that editors "
                                         "do not show") +
                             (atLineStart ? " (left where two files were joined)" : "") + ": remove it";
    return InvalidCharacterMessage(label, what);
}

bool CheckDate(int day, int month, int year, const FieldMessageSink& sink)
{
    int length = 31;
    if (month == 4 || month == 6 || month == 9 || month == 11) {
        length = 30;
    } else if (month == 2) {
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        length = leap ? 29 : 28;
    }
    if (day >= 1 && day <= length) return true;
    return Report(sink, "Date Input Error", "Invalid date");
}

bool CheckMary(std::string_view mText, bool oneBitPerSymbol, bool qam, const FieldMessageSink& sink)
{
    const double m = LeadingNumber(mText);
    bool ok = true;
    bool power = false;
    for (int i = 1; i <= 8; ++i) power = power || m == static_cast<double>(1 << i);
    if (!power) ok = Report(sink, "Modulation", "M must be 2 raised to a positive integer power");
    if (oneBitPerSymbol && m != 2.0) ok = Report(sink, "Value of M", "Set M=2 for all 1 bit/symbol modulation schemes");
    if (qam && !(m >= 8.0)) ok = Report(sink, "Value of M (QAM)", "M must be >= 8");
    return ok;
}

bool CheckAntennaGain(std::string_view diameterM, std::string_view gainDbi, std::string_view frequencyGHz, int link,
                      const FieldMessageSink& sink)
{
    const double lambda = Wavelength(LeadingNumber(frequencyGHz));
    const double piD = M_PI * LeadingNumber(diameterM);
    const double efficiency = 100.0 * std::pow(10.0, 0.1 * LeadingNumber(gainDbi)) * lambda * lambda / (piD * piD);
    if (!(efficiency > 100.0)) return true;
    const char* which = link == 1 ? "(up)" : link == 2 ? "(down)" : "";
    return Report(sink, std::string("Antenna gain ") + which, "Input results in antenna efficiency > 100%");
}

bool CheckFraction(std::string_view text, double minimum, double maximum, std::string_view label,
                   const FieldMessageSink& sink)
{
    TEvaluate evaluate;
    const std::string expression(text);
    const double value = evaluate.Evaluate(expression.c_str(), 1.0, 0, 0);
    // A value that is not finite (a power's domain error) is no fraction.
    if (evaluate.ErrorCode() > 0 || !std::isfinite(value) || value < minimum || value > maximum) {
        return Report(sink, "Input Error", std::string(label) + " fractional expression or value");
    }
    return true;
}

bool CheckSatelliteSpacing(std::string_view wanted, std::string_view adjacent1, std::string_view adjacent2,
                           std::string_view adjacent3, std::string_view adjacent4, std::uint16_t include2,
                           std::uint16_t include3, std::uint16_t include4, const FieldMessageSink& sink)
{
    // Compared as places: 10.0E and 10.0W are two satellites, while 180.0E
    // and 180.0W are one meridian.
    const double w = ParseLatLon(wanted);
    auto sameAs = [w](std::string_view other) { return LongitudeDifference(w, ParseLatLon(other)) == 0.0; };
    const bool same = sameAs(adjacent1) || (include2 != 0 && sameAs(adjacent2)) ||
                      (include3 != 0 && sameAs(adjacent3)) || (include4 != 0 && sameAs(adjacent4));
    if (!same) return true;
    return Report(sink, "Satellite Longitude Error", "Adjacent and wanted satellites have same longitude");
}

bool CheckCarrierSpacing(std::string_view first, std::string_view second, const FieldMessageSink& sink)
{
    if (!(LeadingNumber(second) < LeadingNumber(first))) return true;
    return Report(sink, "Input Error", "Carrier spacing factor must be >= (1 + Roll-off factor)");
}
