// Reading a batch input file in a batch form: the file's bytes (a name that
// is not a regular file, or cannot be read, gets "Unable to open file"), and
// the "Line: %d" notice that follows a field that fails its check.
#pragma once

#include <string>
#include <vector>

#include "pointing/sun/batch_file.h"

class TForm;

namespace orbiscope::sun {

// Records of `fieldCount` fields from the named file, relative names taken
// from the program directory; false after the open-failure message.
bool LoadBatchRecords(TForm& form, const std::string& fileName, int fieldCount, std::vector<BatchRecord>& records);

// "Line: %d" titled "Batch File Error" (0 when the file holds no record).
void ReportBatchLine(TForm& form, int line);

}  // namespace orbiscope::sun
