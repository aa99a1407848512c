// Batch input text files: records of comma-separated fields, each record
// ended by ";".  Line breaks and other control characters carry no meaning
// (a record may run over several lines), bytes from 128 up are dropped and a
// byte 0xFF ends the text.  Every field is read exactly as written: an empty
// field stays an empty field and a record with too few fields gets empty
// ones, so the checks that follow can say which field of which line is
// wrong.  Free of Qt; the forms check and convert the fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orbiscope::sun {

struct BatchField {
    std::string text;  // blanks around it removed
    int line = 0;      // 1-based line of the file where the field starts (or where its record ends, when missing)
};

struct BatchRecord {
    std::vector<BatchField> fields;  // exactly the count asked for
};

// Splits the bytes of a batch file into records of `fieldCount` fields.  The
// last field runs to the ";" (an extra "," stays in it); the last record may
// lack its ";".  Blank text after the last record is not a record.
std::vector<BatchRecord> ReadBatchRecords(std::string_view fileBytes, int fieldCount);

// A text cut to at most `maxChars` characters.
std::string CutText(std::string_view text, std::size_t maxChars);

}  // namespace orbiscope::sun
