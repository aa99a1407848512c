// Binds every calculator of the Calculate menu to its command.
#pragma once

namespace orbiscope {

void RegisterCalculatorForms();

}  // namespace orbiscope
