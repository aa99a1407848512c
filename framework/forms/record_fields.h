// The fixed-width fields of an input record: the transfer buffer of a form,
// which is also the body of a document.  Texts are Latin-1 and end at their
// last byte at the latest; button states are 16-bit little-endian words at
// any offset.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#pragma pack(push, 1)

// A 16-bit button state as it lies in the record: little-endian, unaligned.
struct ButtonState {
    std::uint8_t bytes[2];
    bool On() const { return (bytes[0] | bytes[1]) != 0; }
    std::uint16_t Value() const { return std::uint16_t(bytes[0] | (bytes[1] << 8)); }
    void Set(std::uint16_t v)
    {
        bytes[0] = std::uint8_t(v & 0xFF);
        bytes[1] = std::uint8_t(v >> 8);
    }
};

#pragma pack(pop)

static_assert(sizeof(ButtonState) == 2 && alignof(ButtonState) == 1);

// The text widths of the records, terminator included.
using Text41 = char[41];
using Text13 = char[13];
using Text2 = char[2];
using Text81 = char[81];

// Writes `text` into the field, cut to fit, and zero-fills the rest, as an
// edit control's transfer leaves it.
template <std::size_t N>
void PutText(char (&field)[N], const char* text)
{
    const std::size_t n = strnlen(text, N - 1);
    std::memcpy(field, text, n);
    std::memset(field + n, 0, N - n);
}

// Ends the field at its last byte, so that a text from a file or a full edit
// control can never make a reader run past it.
template <std::size_t N>
void TerminateText(char (&field)[N])
{
    field[N - 1] = '\0';
}

template <std::size_t K, std::size_t N>
void TerminateText(char (&fields)[K][N])
{
    for (auto& f : fields) TerminateText(f);
}

// The field's text, cut at its last byte whatever the record holds.
template <std::size_t N>
std::string_view FieldView(const char (&field)[N])
{
    return std::string_view(field, strnlen(field, N - 1));
}

template <std::size_t N>
std::string FieldText(const char (&field)[N])
{
    return std::string(FieldView(field));
}

// Exchanges two fields of the same width byte for byte.
template <std::size_t N>
void SwapText(char (&a)[N], char (&b)[N])
{
    char t[N];
    std::memcpy(t, a, N);
    std::memcpy(a, b, N);
    std::memcpy(b, t, N);
}
