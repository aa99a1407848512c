#include "pointing/sun/batch_file.h"

namespace orbiscope::sun {

namespace {

constexpr unsigned char kEndOfText = 0xFF;

// The characters a batch file keeps, each with its line.
struct KeptText {
    std::string chars;
    std::vector<int> lines;
};

KeptText KeepPrintable(std::string_view bytes)
{
    KeptText kept;
    int line = 1;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == kEndOfText) break;
        if (u == '\n') ++line;
        if (u < 32 || u >= 128) continue;
        kept.chars.push_back(c);
        kept.lines.push_back(line);
    }
    kept.lines.push_back(line);  // where the text ends
    return kept;
}

bool IsBlank(char c) { return c == ' '; }

BatchField MakeField(const KeptText& kept, std::size_t from, std::size_t to)
{
    while (from < to && IsBlank(kept.chars[from])) ++from;
    while (to > from && IsBlank(kept.chars[to - 1])) --to;
    return {kept.chars.substr(from, to - from), kept.lines[from]};
}

bool AllBlank(const std::string& s, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (!IsBlank(s[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<BatchRecord> ReadBatchRecords(std::string_view fileBytes, int fieldCount)
{
    const KeptText kept = KeepPrintable(fileBytes);
    const std::string& s = kept.chars;
    std::vector<BatchRecord> records;
    std::size_t at = 0;
    while (at < s.size()) {
        std::size_t end = s.find(';', at);
        if (end == std::string::npos) {
            if (AllBlank(s, at, s.size())) break;
            end = s.size();
        }
        BatchRecord r;
        std::size_t from = at;
        for (int f = 0; f < fieldCount; ++f) {
            const bool lastField = f == fieldCount - 1;
            std::size_t stop = lastField ? end : s.find(',', from);
            if (stop == std::string::npos || stop > end) stop = end;
            if (from > end) from = end;
            r.fields.push_back(MakeField(kept, from, stop));
            from = stop + 1;
        }
        records.push_back(std::move(r));
        at = end + 1;
    }
    return records;
}

std::string CutText(std::string_view text, std::size_t maxChars)
{
    return std::string(text.substr(0, maxChars));
}

}  // namespace orbiscope::sun
