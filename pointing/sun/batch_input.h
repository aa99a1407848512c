// Reading a batch input file in a batch form: the file's bytes (a name that
// is not a regular file, or cannot be read, gets "Unable to open file"; one
// larger than any batch file is refused for its size before any of it is
// read), the check of each field, and the "Line: %d" notice that follows a
// field that fails its check.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/forms/field_check.h"

#include "pointing/sun/batch_file.h"

class TForm;

namespace orbiscope::sun {

// The largest batch input file read: some 600,000 sites, where a real one
// holds hundreds.
inline constexpr std::uint64_t kMaxBatchFileBytes = 16u << 20;

// The bytes of the named file, relative names taken from the program
// directory; false after the message that says why it was not read.
bool LoadBatchFile(TForm& form, const std::string& fileName, std::vector<std::uint8_t>& bytes);

// Those bytes as the text a BatchReader splits.
inline std::string_view BatchText(const std::vector<std::uint8_t>& bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The form's check of one field of the file.  A field holding a character
// that Latin-1 cannot hold is refused as such a typed field is, named by its
// label, before any other check reads it.
bool CheckBatchField(TForm& form, std::string_view label, const BatchField& field, FieldType type, double minimum,
                     double maximum, std::string_view unit);

// "Line: %d" titled "Batch File Error" (0 when the file holds no record).
void ReportBatchLine(TForm& form, int line);

}  // namespace orbiscope::sun
