// The string-table texts of the option-button hints that the input dialogs
// show in the status bar when a control takes the focus.  Plain data, no Qt.
#pragma once

namespace orbiscope {

// The hint text of a string id of the form controls, or "" when this table
// has none (7353 and 7354 are among those: the table never held them).
const char* FormStringText(int id);

// Any string of the program: the application's table first, then the form
// controls' hints.  "" when neither has the id.
const char* AnyStringText(int id);

}  // namespace orbiscope
