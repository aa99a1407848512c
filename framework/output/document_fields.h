// Reading a document's record field by field.  A calculation window's
// document is a version word followed by its input record; older versions
// hold fewer or other fields, so loaders read typed fields one at a time and
// fill what a version lacks.  Every counted field adds its size to a running
// total, and a read that would take the total past the size of the record,
// or that the file cannot satisfy, fails and closes the file.  Free of Qt.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/forms/record_fields.h"
#include "framework/output/docfile.h"

// Field kinds of the typed reader (DocFieldSize gives their sizes).
enum DocFieldKind : int {
    kDocText41 = 1,
    kDocText13 = 2,
    kDocState = 3,   // also a two-byte text
    kDocWord32 = 5,
    kDocText81 = 7,
};

// One typed field, counted: `total` grows by the field's size first; false,
// with the file closed, for an unknown kind, a total above `limit` or a short
// read.
bool ReadCountedField(DocumentFile& file, void* destination, int kind, std::int32_t& total, std::int32_t limit);
// One typed field outside the count; false, with the file closed, for an
// unknown kind or a short read.
bool ReadUncountedField(DocumentFile& file, void* destination, int kind);

// The typed reader of one document: counts its fields against the size of
// the record they fill.
class DocumentFieldReader {
public:
    DocumentFieldReader(DocumentFile& file, std::size_t recordBytes)
        : file_(file), limit_(static_cast<std::int32_t>(recordBytes))
    {
    }

    bool Field(void* destination, int kind) { return ReadCountedField(file_, destination, kind, total_, limit_); }

    bool Text(char (&d)[41]) { return Field(d, kDocText41); }
    bool Text(char (&d)[13]) { return Field(d, kDocText13); }
    bool Text(char (&d)[2]) { return Field(d, kDocState); }
    bool Text(char (&d)[81]) { return Field(d, kDocText81); }
    template <class... Fields>
    bool Texts(Fields&... fields)
    {
        return (Text(fields) && ...);
    }
    bool State(ButtonState& s) { return Field(s.bytes, kDocState); }
    // A 32-bit state of the oldest files: its low 16 bits are the state.
    bool WideState(ButtonState& s);
    // A 13-byte text that the record does not keep, read outside the count.
    bool Unchecked(char (&d)[13]) { return ReadUncountedField(file_, d, kDocText13); }
    // A 16-bit word outside the record, counted against the limit.
    bool Flag(std::uint16_t& value);
    // The same word read without being counted.
    bool UncountedFlag(std::uint16_t& value);
    // Bytes of the file that the record does not keep; not counted.
    bool Skip(std::size_t bytes);

    std::int32_t Total() const { return total_; }

private:
    DocumentFile& file_;
    std::int32_t limit_;
    std::int32_t total_ = 0;
};
