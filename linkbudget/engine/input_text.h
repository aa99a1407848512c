// Reading numbers and keywords out of the budgets' fixed-width input texts.
#pragma once

namespace lbtext {

// The leading decimal number of a text, as the C run-time's string-to-double
// reads it in the C locale whatever the process locale; 0 when the text holds
// no number or a value that is not finite.
double Number(const char* text);

// True when the whole text equals the keyword without regard to case.
bool IsKeyword(const char* text, const char* keyword);

// The FEC code rate field, an arithmetic expression such as "3/4".
double FecRate(const char* text);

}  // namespace lbtext
