// What the link-budget document readers share beyond the typed field reader:
// the old FEC rate layout and the notice of a changed legacy field.
#pragma once

#include <cstdint>

#include "framework/output/document_fields.h"

namespace lbdoc {

// Shown once when an old document's C/IM input is changed to AUTO.
constexpr std::int32_t kErrLegacyCim = -514;

// The oldest files stored the FEC rate as a numerator over a separate
// divisor.  A divisor that does not evaluate to a finite non-zero value
// leaves the text as it was, for the input dialog to refuse.
void DivideFec(char (&fec)[13], char (&divisorText)[13]);

}  // namespace lbdoc
