#include "pointing/sun/batch_file.h"

#include <algorithm>

#include "platform/user_text.h"

namespace orbiscope::sun {

namespace {

// Stands in the kept text for a character that Latin-1 cannot hold: a
// control code, so never one kept from the file itself.
constexpr char kOutsideLatin1 = '\0';

// The characters a batch file keeps, in Latin-1, each with its line.
struct KeptText {
    std::string chars;
    std::vector<int> lines;
};

KeptText KeepCharacters(std::string_view fileBytes)
{
    const platform::UserText file(fileBytes);
    const std::string_view text = file.Text();
    KeptText kept;
    kept.chars.reserve(text.size());
    kept.lines.reserve(text.size() + 1);
    int line = 1;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = file.Next(text, at);
        if (c == '\n') ++line;
        const bool windowsSign = !file.Utf8() && c >= 0x80 && c < 0xA0;
        if (c > 0xFF || windowsSign) {
            kept.chars.push_back(kOutsideLatin1);
        } else if (platform::IsControlChar(c)) {
            continue;
        } else {
            kept.chars.push_back(static_cast<char>(c));
        }
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
    const auto begin = kept.chars.begin() + static_cast<std::ptrdiff_t>(from);
    const auto end = kept.chars.begin() + static_cast<std::ptrdiff_t>(to);
    if (std::find(begin, end, kOutsideLatin1) != end) return {{}, kept.lines[from], true};
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
    const KeptText kept = KeepCharacters(fileBytes);
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
