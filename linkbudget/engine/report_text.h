// What the link-budget reports share beyond the report writer of the
// framework: the names of the polarizations.
#pragma once

#include "framework/forms/record_fields.h"
#include "framework/output/report_writer.h"

namespace lbreport {

// "Vertical", "Horizontal" or "Circular" by the first letter of the
// polarization text (upper case only); empty for any other.
const char* PolarizationName(const char* text);

}  // namespace lbreport
