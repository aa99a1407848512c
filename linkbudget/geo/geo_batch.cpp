#include "linkbudget/geo/geo_batch.h"

#include <cstring>

GeoBatchSettings ClearedGeoBatchSettings()
{
    GeoBatchSettings s;
    std::memset(&s, 0, sizeof s);
    s.includeInput.Set(1);
    return s;
}

BatchCommand BatchCommandFor(const GeoBatchSettings& settings)
{
    BatchCommand c;
    c.program = FieldText(settings.executable);
    c.arguments = {FieldText(settings.inputFile), FieldText(settings.outputBase)};
    if (settings.csv.On()) c.arguments.emplace_back("--csv");
    if (settings.includeInput.On()) c.arguments.emplace_back("--include-input");
    if (settings.quiet.On()) c.arguments.emplace_back("--quiet");
    c.hideTerminal = settings.hideTerminal.On();
    return c;
}
