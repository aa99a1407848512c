// Batch input text files: records of comma-separated fields, each record
// ended by ";".  Each line is read as UTF-8 when it is valid UTF-8 and as
// Latin-1 otherwise (platform/user_text.h), and the fields are given in the
// program's Latin-1, so that "Z\xFCrich" comes out the same from either kind
// of line.  Lines end at LF, CR LF or CR alone; line ends and other control
// characters carry no meaning in a record (one may run over several lines).
// In a line read as Latin-1 the bytes 0x80 to 0x9F, control codes in
// Latin-1 but letters and signs in the Windows code page such files are
// mostly written in, count as characters Latin-1 cannot hold.  A field
// holding such a character, or one from outside Latin-1, is marked so that
// its check refuses it: it is never dropped or stored altered.  So is one
// holding a byte-order mark: only the file's first is skipped, and one at
// the start of a later line (two files joined) is the mark in either kind
// of line, never the letters its bytes are in Latin-1; the field tells
// whether its mark started a line or stood inside one (a pasted name brings
// it), so that its message gives the right cause.  Every other field is
// read exactly as written: an empty field stays an empty field and a record
// with too few fields gets empty ones, so the checks that follow can say
// which field of which line is wrong.  Free of Qt; the forms check and
// convert the fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/user_text.h"

namespace orbiscope::sun {

struct BatchField {
    // Latin-1, blanks around it removed; empty when outsideLatin1.
    std::string text;
    // 1-based line of the file where the field starts (or where its record
    // ends, when missing).
    int line = 0;
    bool outsideLatin1 = false;  // holds a character that Latin-1 cannot hold: the field is refused
    bool byteOrderMark = false;  // among them a byte-order mark, which no editor shows
    bool markAtLineStart = false;  // one such mark starts a line of the file (two files joined)
};

struct BatchRecord {
    std::vector<BatchField> fields;  // exactly the count asked for
};

// Splits the bytes of a batch file into records of `fieldCount` fields, one
// record at a time, so that a form refuses a file at its first wrong record
// without splitting the rest.  The last field runs to the ";" (an extra ","
// stays in it); the last record may lack its ";".  Blank text after the last
// record is not a record.  The bytes must outlive the reader.
class BatchReader {
public:
    BatchReader(std::string_view fileBytes, int fieldCount);

    // The next record; false once the file holds no more.
    bool Next(BatchRecord& record);

private:
    // The next character kept (Latin-1, or a stand-in for one that Latin-1
    // cannot hold), with line_ its line; false at the end of the file.
    bool NextChar(char& c);

    std::string_view rest_;                    // what follows the line being read
    platform::UserLine line_{std::string_view{}};  // the line being read
    std::size_t at_ = 0;                       // in line_
    bool markFirst_ = false;                   // line_ started with a byte-order mark, not yet given
    bool moreLines_ = true;
    int lineNumber_ = 0;
    int fieldCount_;
};

// A text cut to at most `maxChars` characters.
std::string CutText(std::string_view text, std::size_t maxChars);

}  // namespace orbiscope::sun
