// Reading a batch input file in a batch form: the file's bytes (a name that
// is not a regular file, or cannot be read, gets "Unable to open file"), the
// check of each field, and the "Line: %d" notice that follows a field that
// fails its check.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/forms/field_check.h"

#include "pointing/sun/batch_file.h"

class TForm;

namespace orbiscope::sun {

// Records of `fieldCount` fields from the named file, relative names taken
// from the program directory; false after the open-failure message.
bool LoadBatchRecords(TForm& form, const std::string& fileName, int fieldCount, std::vector<BatchRecord>& records);

// The form's check of one field of the file.  A field holding a character
// that Latin-1 cannot hold is refused as such a typed field is, named by its
// label, before any other check reads it.
bool CheckBatchField(TForm& form, std::string_view label, const BatchField& field, FieldType type, double minimum,
                     double maximum, std::string_view unit);

// "Line: %d" titled "Batch File Error" (0 when the file holds no record).
void ReportBatchLine(TForm& form, int line);

}  // namespace orbiscope::sun
