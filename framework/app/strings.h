// The program's string table: menu hints (by command id), document and
// calculation-error texts.  Plain data, no Qt.
#pragma once

namespace orbiscope {

// The text of a string id, or "" when the table has none.
const char* StringText(int id);

inline constexpr int kStrUntitled = 32550;         // "Untitled"
inline constexpr int kStrCannotRead = 32551;       // "Cannot read file %s"
inline constexpr int kStrUnableToWrite = 32552;    // "Unable to write file %s to disk."
inline constexpr int kStrMayHaveBeenEdited = 32553;

}  // namespace orbiscope
