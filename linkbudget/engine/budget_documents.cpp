#include "linkbudget/engine/budget_documents.h"

#include <cmath>

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

}  // namespace lbdoc
