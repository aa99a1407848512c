#include "rftools/calculators/result_text.h"

#include <cstdio>
#include <locale.h>

namespace rfcalc {

namespace {
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}
}  // namespace

std::string FormatFixed(double value, int decimals)
{
    char text[400];
    const locale_t previous = uselocale(CLocale());
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    uselocale(previous);
    return text;
}

}  // namespace rfcalc
