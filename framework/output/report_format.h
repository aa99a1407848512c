// printf for everything the program prints as a number for a reader: report
// lines, tables, graph texts, calculator results and what is exported from
// them.  The conversions are the C library's, in the C locale, with one rule
// of our own: a floating-point value that rounds to zero at its printed
// precision is written without a minus sign.  An excess margin that a search
// leaves a hair below zero reads "0.00", never "-0.00"; the same holds for
// "-0.0", "-0", "-0.000e+00" and a computed -0.0 under any conversion.  A
// value that keeps a non-zero digit keeps its sign: -0.005 at "%.2f" is
// "-0.01", as the C library rounds the binary value (just beyond -0.005).
// Text is never changed: "-0.00" in the format or in a "%s" argument (a
// record text echoed as typed) stays as it is.
//
// Positional arguments ("%1$d") are not supported; the program uses none, and
// the format attribute lets the compiler check every other use.  Free of Qt.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>

// Appends the formatted text to `out`.
void AppendReportFormatV(std::string& out, const char* format, std::va_list args);
__attribute__((format(printf, 2, 3))) void AppendReportFormat(std::string& out, const char* format, ...);

// The formatted text.
__attribute__((format(printf, 1, 2))) std::string ReportFormat(const char* format, ...);

// Into a character buffer as snprintf fills one: at most size - 1 characters
// and a terminating zero; returns the length of the whole text.
__attribute__((format(printf, 3, 4))) int ReportFormatInto(char* buffer, std::size_t size, const char* format, ...);
