#include "linkbudget/engine/budget_documents.h"

#include <cmath>
#include <cstring>

#include "framework/forms/evaluate.h"

namespace lbdoc {

void DivideFec(char (&fec)[13], char (&divisorText)[13])
{
    TerminateText(fec);
    TerminateText(divisorText);
    TEvaluate evaluator;
    const double divisor = evaluator.Evaluate(divisorText, 1.0, 0, 0);
    const double rate = evaluator.Evaluate(fec, 1.0, 0, 0);
    if (evaluator.ErrorCode() != kEvalOk || divisor == 0.0) return;
    const double quotient = rate / divisor;
    if (!std::isfinite(quotient)) return;
    std::snprintf(fec, sizeof fec, "%.4lf", quotient);
}

bool ReadDocumentBytes(const char* fileName, std::vector<unsigned char>& bytes)
{
    DocumentFile file(fileName ? fileName : "");
    if (!file.IsOpen()) return false;
    bytes.clear();
    unsigned char b = 0;
    while (bytes.size() < kMaxDocumentBytes && file.ReadExact(&b, 1)) bytes.push_back(b);
    return true;
}

std::vector<unsigned char> EncodeDocument(std::uint16_t version, const void* record, std::size_t recordBytes)
{
    std::vector<unsigned char> bytes(2 + recordBytes);
    bytes[0] = static_cast<unsigned char>(version & 0xFF);
    bytes[1] = static_cast<unsigned char>(version >> 8);
    std::memcpy(bytes.data() + 2, record, recordBytes);
    return bytes;
}

bool DocumentVersion(const unsigned char* data, std::size_t size, std::uint16_t& version)
{
    if (size < 2) return false;
    version = std::uint16_t(data[0] | (data[1] << 8));
    return true;
}

bool ReadStretches(const unsigned char* data, std::size_t size, std::uint16_t version,
                   std::span<const DocumentStretch> stretches, void* record)
{
    auto* base = static_cast<unsigned char*>(record);
    std::size_t at = 2;
    for (const DocumentStretch& s : stretches) {
        if (version < s.fromVersion) continue;
        if (s.size > size - at) return false;
        std::memcpy(base + s.offset, data + at, s.size);
        at += s.size;
    }
    return true;
}

}  // namespace lbdoc
