// Text read from a file the user wrote (a batch input file, the names in an
// element-set file): a file that is valid UTF-8, as editors write it today,
// is read as UTF-8, and any other as Latin-1 (where every byte is a
// character, 0xFF the letter y with diaeresis).  The choice is made once for the whole
// file: a file of plain ASCII reads the same either way, and a Latin-1 file
// almost never happens to be valid UTF-8.  Plain C++, so that the readers of
// the calculation libraries share it.
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

// How one user's file is read.
class UserText {
public:
    explicit UserText(std::string_view fileBytes);

    bool Utf8() const { return utf8_; }
    // The file's characters: its bytes without a UTF-8 byte-order mark.
    std::string_view Text() const { return text_; }
    // The character at `at` (below piece.size()) of Text() or of a piece of
    // it cut at a line end, with `at` moved past it.
    char32_t Next(std::string_view piece, std::size_t& at) const
    {
        const auto lead = static_cast<unsigned char>(piece[at]);
        if (!utf8_ || lead < 0x80) {
            ++at;
            return lead;
        }
        return NextUtf8Char(piece, at);
    }

private:
    std::string_view text_;
    bool utf8_ = false;
};

// A control code: C0 (below the blank), DEL, or C1 (U+0080 to U+009F).
inline bool IsControlChar(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

}  // namespace platform
