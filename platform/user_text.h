// Text read from a file the user wrote (a batch input file, the names in an
// element-set file).  Each line is read on its own: as UTF-8 when it is valid
// UTF-8, as editors write it today, and as Latin-1 otherwise (where every
// byte is a character, 0xFF the letter y with diaeresis), so that a file
// whose lines were written by different editors keeps every letter.  A line
// of plain ASCII reads the same either way, and a Latin-1 line almost never
// happens to be valid UTF-8.  A UTF-8 byte-order mark at the start of the
// file is not text; one at the start of a later line (two files joined) is.
// Plain C++, so that the readers of the calculation libraries share it.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// What a byte that starts no well-formed UTF-8 character decodes to: no
// character at all (one past the last code point).
inline constexpr char32_t kNotUtf8 = 0x110000;

// The character that starts at `at` (below text.size()) of UTF-8 text, with
// `at` moved past it.  A byte that starts no well-formed character (a stray
// continuation byte, an overlong form, a surrogate, a code point past
// U+10FFFF, a sequence cut short by the end of the text) gives kNotUtf8 and
// moves `at` one byte on.  Nothing past the text is ever read.
char32_t NextUtf8Char(std::string_view text, std::size_t& at);

// Every character of the text is well-formed UTF-8 (an empty text is).
bool IsUtf8(std::string_view text);

// The UTF-8 byte-order mark, U+FEFF: a character no editor shows.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The mark as a character of a UTF-8 line: inside a line as at its start it
// is the mark, never a letter.
inline constexpr char32_t kByteOrderMarkChar = 0xFEFF;

// Takes a mark off the start of a line, telling whether there was one.  One
// that starts a later line (files joined, each saved with a mark) is the
// mark before a Latin-1 line too, never the letters its bytes are in
// Latin-1: so it comes off before the line's kind is judged.
inline bool TakeLeadingByteOrderMark(std::string_view& line)
{
    if (!line.starts_with(kByteOrderMark)) return false;
    line.remove_prefix(kByteOrderMark.size());
    return true;
}

// The file's text: its bytes without a leading UTF-8 byte-order mark (which
// the rest of the first line need not follow: a Latin-1 file may start with
// one an editor put there).
std::string_view WithoutByteOrderMark(std::string_view fileBytes);

// A line of a user's file ends at LF, CR LF or CR alone, as editors of each
// system write it.
inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
// The length of the line end at `at` of the text: 2 for CR LF, 1 for LF or
// CR alone, 0 where none starts.
inline std::size_t LineEndAt(std::string_view text, std::size_t at)
{
    if (at >= text.size() || !IsLineEnd(text[at])) return 0;
    return text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
}
// The line at the start of `rest`, without its end, and `rest` moved past
// both; `ended` tells whether a line end followed it (another line, perhaps
// empty, comes after) or the text ran out.
std::string_view TakeLine(std::string_view& rest, bool& ended);

// One line of a user's file (no line end in it), and how it is read.
class UserLine {
public:
    explicit UserLine(std::string_view line) : line_(line), utf8_(IsUtf8(line)) {}

    bool Utf8() const { return utf8_; }
    std::string_view Text() const { return line_; }
    // The character at `at` (below Text().size()), with `at` moved past it.
    char32_t Next(std::size_t& at) const
    {
        const auto lead = static_cast<unsigned char>(line_[at]);
        if (!utf8_ || lead < 0x80) {
            ++at;
            return lead;
        }
        return NextUtf8Char(line_, at);
    }

private:
    std::string_view line_;
    bool utf8_ = false;
};

// A control code: C0 (below the blank), DEL, or C1 (U+0080 to U+009F).
inline bool IsControlChar(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

}  // namespace platform
