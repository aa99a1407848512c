// What the budgets' document readers share beyond the typed field reader:
// the notice of a changed legacy field, the old FEC rate layout, documents
// read whole and versions made of stretches of the record.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
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

// A stretch of a record that lies in a document from one version on.  The
// document holds the stretches of its version in record order, back to back.
struct DocumentStretch {
    std::size_t offset, size;
    std::uint16_t fromVersion;
};

// The version word (little-endian) and the record.
std::vector<unsigned char> EncodeDocument(std::uint16_t version, const void* record, std::size_t recordBytes);
// The 16-bit version word at the start of the data; false when there is none.
bool DocumentVersion(const unsigned char* data, std::size_t size, std::uint16_t& version);
// Copies the stretches that `version` holds from the data after its version
// word into the record; false when the data end first.
bool ReadStretches(const unsigned char* data, std::size_t size, std::uint16_t version,
                   std::span<const DocumentStretch> stretches, void* record);

// The first kMaxDocumentBytes bytes of the file (all of a document); false
// when it cannot be opened.
bool ReadDocumentBytes(const char* fileName, std::vector<unsigned char>& bytes);

}  // namespace lbdoc
