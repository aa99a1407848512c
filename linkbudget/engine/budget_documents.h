// What the budgets' document readers share beyond the typed field reader:
// the notice of a changed legacy field, the old FEC rate layout, and reading
// a small document whole.  Free of Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/output/document_fields.h"

namespace lbdoc {

// Shown once when an old document's C/IM input is changed to AUTO.
constexpr std::int32_t kErrLegacyCim = -514;

// The oldest files stored the FEC rate as a numerator over a separate
// divisor.  A divisor that does not evaluate to a finite non-zero value
// leaves the text as it was, for the input dialog to refuse.
void DivideFec(char (&fec)[13], char (&divisorText)[13]);

// Far larger than any budget document; the rest of a bigger file is not read.
inline constexpr std::size_t kMaxDocumentBytes = 4096;

// The first kMaxDocumentBytes bytes of the file (all of a document); false
// when it cannot be opened.
bool ReadDocumentBytes(const char* fileName, std::vector<unsigned char>& bytes);

}  // namespace lbdoc
