#include "platform/user_text.h"

#include <cstdint>
#include <cstring>

namespace platform {

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

char32_t NextUtf8Char(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    char32_t c = lead;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        least = 0x10000;
    } else if (lead >= 0x80) {
        ++at;
        return kNotUtf8;
    }
    if (text.size() - at < length) {
        ++at;
        return kNotUtf8;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(b)) {
            ++at;
            return kNotUtf8;
        }
        c = (c << 6) | (b & 0x3Fu);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++at;
        return kNotUtf8;
    }
    at += length;
    return c;
}

bool IsUtf8(std::string_view text)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t at = 0;
    while (at < text.size()) {
        // Plain ASCII, the bulk of most files, eight bytes at a time.
        if (text.size() - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + at, sizeof word);
            if ((word & kHighBits) == 0) {
                at += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
        } else if (NextUtf8Char(text, at) == kNotUtf8) {
            return false;
        }
    }
    return true;
}

std::string_view TakeLine(std::string_view& rest, bool& ended)
{
    std::size_t end = 0;
    while (end < rest.size() && !IsLineEnd(rest[end])) ++end;
    ended = end < rest.size();
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + LineEndAt(rest, end));
    return line;
}

std::string_view WithoutByteOrderMark(std::string_view fileBytes)
{
    TakeLeadingByteOrderMark(fileBytes);
    return fileBytes;
}

}  // namespace platform
