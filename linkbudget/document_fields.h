// Reading the typed fields of the link-budget documents, shared by every
// budget window's loader.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "framework/output/docfile.h"
#include "framework/output/mywindow.h"
#include "linkbudget/geo_link_record.h"

namespace lbdoc {

// Field kinds of the window's reader: texts of 41, 13 and 81 bytes, 16-bit
// states, 32-bit words.
constexpr int kText41 = 1, kText13 = 2, kState = 3, kWord32 = 5, kText81 = 7;
// Shown once when an old document's C/IM input is changed to AUTO.
constexpr std::int32_t kErrLegacyCim = -514;

template <std::size_t N>
void Put(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

// Field texts read from a file end at their last byte before anything
// reads them as strings.
template <std::size_t N>
void Terminate(char (&field)[N])
{
    field[N - 1] = '\0';
}

// The oldest files stored the FEC rate as a numerator over a separate
// divisor.  A divisor that does not evaluate to a finite non-zero value
// leaves the text as it was, for the input dialog to refuse.
void DivideFec(char (&fec)[13], char (&divisorText)[13]);

// Reads the typed fields of one document for one window.
class FieldReader {
public:
    FieldReader(TMyWindow& w, DocumentFile& f) : w_(w), f_(f) {}

    bool Text(char (&d)[41]) { return w_.ReadField(d, kText41, f_); }
    bool Text(char (&d)[13]) { return w_.ReadField(d, kText13, f_); }
    bool Text(char (&d)[2]) { return w_.ReadField(d, kState, f_); }
    bool Text(char (&d)[81]) { return w_.ReadField(d, kText81, f_); }
    bool State(ButtonState& s) { return w_.ReadField(s.bytes, kState, f_); }
    // A 32-bit state of the oldest files: its low 16 bits are the state.
    bool WideState(ButtonState& s)
    {
        std::uint8_t wide[4] = {};
        if (!w_.ReadField(wide, kWord32, f_)) return false;
        s.bytes[0] = wide[0];
        s.bytes[1] = wide[1];
        return true;
    }
    bool Unchecked(char (&d)[13]) { return w_.ReadFieldUnchecked(d, kText13, f_); }
    // A 16-bit flag outside the record, counted against the limit.
    bool Flag(std::uint16_t& value)
    {
        std::uint8_t b[2] = {};
        if (!w_.ReadField(b, kState, f_)) return false;
        value = std::uint16_t(b[0] | (b[1] << 8));
        return true;
    }
    // The same, read but not counted.
    bool UncountedFlag(std::uint16_t& value)
    {
        if (!Flag(value)) return false;
        w_.FieldReadTotal -= 2;
        return true;
    }
    // Bytes of the file that the record does not keep; not counted.
    bool Skip(std::size_t n)
    {
        char scratch[32];
        while (n > 0) {
            const std::size_t chunk = std::min(n, sizeof scratch);
            if (!f_.ReadExact(scratch, chunk)) {
                f_.Close();
                return false;
            }
            n -= chunk;
        }
        return true;
    }
    template <class... Fields>
    bool Texts(Fields&... fields)
    {
        return (Text(fields) && ...);
    }

    TMyWindow& Window() { return w_; }

private:
    TMyWindow& w_;
    DocumentFile& f_;
};

}  // namespace lbdoc
