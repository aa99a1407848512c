#include "pointing/sun/batch_file.h"

#include <utility>

namespace orbiscope::sun {

namespace {

// Stand in the kept text for a character that Latin-1 cannot hold, and for
// a byte-order mark inside a line and at a line's start: control codes, so
// never ones kept from the file itself.
constexpr char kOutsideLatin1 = '\0';
constexpr char kByteOrderMark = '\1';
constexpr char kLineStartMark = '\2';

bool IsBlank(char c) { return c == ' '; }

// A field as it is read: its text without the blanks before it, and the line
// of its first character that is not a blank.
struct FieldInProgress {
    std::string text;
    int line = 0;
    bool outsideLatin1 = false;
    bool byteOrderMark = false;
    bool markAtLineStart = false;

    void Add(char c, int at)
    {
        if (text.empty() && IsBlank(c)) return;
        if (text.empty()) line = at;
        markAtLineStart = markAtLineStart || c == kLineStartMark;
        byteOrderMark = byteOrderMark || c == kByteOrderMark || c == kLineStartMark;
        outsideLatin1 = outsideLatin1 || c == kOutsideLatin1 || byteOrderMark;
        text.push_back(c);
    }

    // The field, ended at line `end` (that of its "," or ";", or the file's
    // last): an empty field stands on the line of what ends it.
    BatchField Take(int end)
    {
        while (!text.empty() && IsBlank(text.back())) text.pop_back();
        const int at = text.empty() ? end : line;
        BatchField field{outsideLatin1 ? std::string() : std::move(text), at, outsideLatin1, byteOrderMark,
                         markAtLineStart};
        *this = {};
        return field;
    }
};

}  // namespace

BatchReader::BatchReader(std::string_view fileBytes, int fieldCount)
    : rest_(platform::WithoutByteOrderMark(fileBytes)), fieldCount_(fieldCount)
{
}

bool BatchReader::NextChar(char& c)
{
    for (;;) {
        if (markFirst_) {
            markFirst_ = false;
            c = kLineStartMark;
            return true;
        }
        while (at_ < line_.Text().size()) {
            const char32_t next = line_.Next(at_);
            const bool windowsSign = !line_.Utf8() && next >= 0x80 && next < 0xA0;
            if (next > 0xFF || windowsSign) {
                c = next == platform::kByteOrderMarkChar ? kByteOrderMark : kOutsideLatin1;
                return true;
            }
            if (platform::IsControlChar(next)) continue;
            c = static_cast<char>(next);
            return true;
        }
        if (!moreLines_) return false;
        std::string_view line = platform::TakeLine(rest_, moreLines_);
        markFirst_ = platform::TakeLeadingByteOrderMark(line);
        line_ = platform::UserLine(line);
        at_ = 0;
        ++lineNumber_;
    }
}

bool BatchReader::Next(BatchRecord& record)
{
    record.fields.clear();
    FieldInProgress field;
    bool anyText = false;  // anything but blanks since the last record
    char c;
    // The record ends at its ";" or at the end of the file; missing fields
    // are empty, on the line where it ends.
    const auto end = [&] {
        record.fields.push_back(field.Take(lineNumber_));
        while (static_cast<int>(record.fields.size()) < fieldCount_) record.fields.push_back({{}, lineNumber_});
        return true;
    };
    while (NextChar(c)) {
        anyText = anyText || !IsBlank(c);
        if (c == ';') return end();
        if (c == ',' && static_cast<int>(record.fields.size()) < fieldCount_ - 1) {
            record.fields.push_back(field.Take(lineNumber_));
            continue;
        }
        field.Add(c, lineNumber_);
    }
    return anyText && end();
}

std::string CutText(std::string_view text, std::size_t maxChars)
{
    return std::string(text.substr(0, maxChars));
}

}  // namespace orbiscope::sun
