// The number rule of report text: a value that rounds to zero at its printed
// precision has no minus sign; everything else prints as the C library
// prints it.  Expected texts are worked out from C's rounding of the binary
// value (-0.005 is stored as -0.005000000000000000104..., so it rounds away
// from zero), not taken from the code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "framework/output/report_format.h"
#include "framework/output/report_writer.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct OneValue {
    const char* format;
    double value;
    const char* expected;
};

const OneValue kOneValue[] = {
    // Fixed notation: anything below half a unit of the last digit is zero.
    {"%.2f", -0.004, "0.00"},
    {"%.2lf", -0.004999, "0.00"},
    {"%.2f", -0.005, "-0.01"},
    {"%.2f", -0.0, "0.00"},
    {"%.2f", -1e-300, "0.00"},
    {"%.2f", -std::numeric_limits<double>::denorm_min(), "0.00"},
    {"%.2f", 0.004, "0.00"},
    {"%.2f", -1.234, "-1.23"},
    {"%.4lf", -0.00004, "0.0000"},
    {"%.4lf", -0.00005001, "-0.0001"},
    {"%f", -1e-7, "0.000000"},
    {"%.0f", -0.4, "0"},
    {"%.0f", -0.5, "0"},   // half-way: to even
    {"%.0f", -0.6, "-1"},
    {"%.0lf", -1.5, "-2"},
    {"%#.0f", -0.2, "0."},
    // Width, padding and the sign flags keep their meaning.
    {"%8.3f", -0.0004, "   0.000"},
    {"%-8.1f|", -0.04, "0.0     |"},
    {"%08.2f", -0.001, "00000.00"},
    {"%08.2f", -1.5, "-0001.50"},
    {"%+.2f", -0.001, "+0.00"},
    {"%+.2f", -0.01, "-0.01"},
    {"% .2f", -0.001, " 0.00"},
    // Exponent and shortest forms: only a zero is zero.
    {"%.2e", -0.0, "0.00e+00"},
    {"%.2E", -1e-300, "-1.00E-300"},
    {"%e", -2.5e-10, "-2.500000e-10"},
    {"%g", -0.0, "0"},
    {"%g", -1e-300, "-1e-300"},
    {"%.3g", -0.0001, "-0.0001"},
    {"%#g", -0.0, "0.00000"},
    {"%a", -0.0, "0x0p+0"},
    {"%a", -1.0, "-0x1p+0"},
    // Not numbers keep their text.
    {"%.2f", -kInf, "-inf"},
    {"%.2f", kInf, "inf"},
    {"%.2f", kNaN, "nan"},
    // Text around the value, and text that only looks like a number.
    {"Excess margin\t%.2lf\tdB#", -0.0001, "Excess margin\t0.00\tdB#"},
    {"-0.00 <%.1f>", -0.01, "-0.00 <0.0>"},
    {"100%% %.1f%%", -0.01, "100% 0.0%"},
};

TEST(ReportFormat, OneValueAtItsPrintedPrecision)
{
    for (const OneValue& c : kOneValue)
        EXPECT_EQ(ReportFormat(c.format, c.value), c.expected) << c.format << " of " << c.value;
}

// Stars, long doubles and every other conversion take their own arguments,
// so the values after them land where they belong.
TEST(ReportFormat, EveryConversionTakesItsArguments)
{
    struct Case { std::string got; const char* expected; };
    const char* text = "-0.00";
    const Case cases[] = {
        {ReportFormat("%.*f|%*.*f|%-*.1f|", 2, -0.001, 7, 1, -0.01, -6, -0.04), "0.00|    0.0|0.0   |"},
        {ReportFormat("%.*f", -1, -0.0000001), "0.000000"},  // a negative precision is none
        {ReportFormat("%.2Lf|%Le", -0.001L, -0.0L), "0.00|0.000000e+00"},
        {ReportFormat("%s|%5s|%.2s|%-4s|", text, "ab", "abc", "x"), "-0.00|   ab|ab|x   |"},
        {ReportFormat("%d %i %ld %lld %hd %hhd", -1, 2, -3L, -4LL, short(-5), static_cast<signed char>(-6)),
         "-1 2 -3 -4 -5 -6"},
        {ReportFormat("%u %lu %llu %zu %jd %td", 1u, 2ul, 3ull, std::size_t{4}, std::intmax_t{-5}, std::ptrdiff_t{6}),
         "1 2 3 4 -5 6"},
        {ReportFormat("%x %X %o %#x %c%c", 255u, 255u, 8u, 255u, 'o', 'k'), "ff FF 10 0xff ok"},
        {ReportFormat("%.2d:%.2d:%.2d\t%s\t%.4lf", 7, 5, 0, "1.0", -0.00001), "07:05:00\t1.0\t0.0000"},
        {ReportFormat("Excess margin\t%.2lf\t%.2lf\t%.2lf\tdB#", 1.3, -1e-9, 0.0),
         "Excess margin\t1.30\t0.00\t0.00\tdB#"},
        {ReportFormat("%%d %s", "after"), "%d after"},
        {ReportFormat("no conversion"), "no conversion"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected);
}

// The three entry points give the same text; the buffer form cuts it as
// snprintf does and says how long the whole text is.
TEST(ReportFormat, IntoAStringOrABuffer)
{
    std::string out = "kept ";
    AppendReportFormat(out, "%.1f %s", -0.01, "end");
    EXPECT_EQ(out, "kept 0.0 end");

    char buffer[6];
    EXPECT_EQ(ReportFormatInto(buffer, sizeof buffer, "%.3f|%d", -0.0001, 12), 8);
    EXPECT_STREQ(buffer, "0.000");
    EXPECT_EQ(ReportFormatInto(buffer, 1, "%.1f", -0.01), 3);
    EXPECT_STREQ(buffer, "");

    const std::string wide(5000, 'x');
    EXPECT_EQ(ReportFormat("%s%.1f", wide.c_str(), -0.01), wide + "0.0");
    // Long conversions: 1e-300 is zero at 290 decimals; 4.9e-324 shows its
    // digits at 400.
    EXPECT_EQ(ReportFormat("%.290f", -1e-300), "0." + std::string(290, '0'));
    EXPECT_EQ(ReportFormat("%.400f", -std::numeric_limits<double>::denorm_min()).substr(0, 5), "-0.00");
}

// Every report line goes through the rule.
TEST(ReportFormat, ReportLines)
{
    std::string text;
    std::int32_t lines = 0;
    ReportWriter line(text, lines);
    line("Excess margin\t%.2lf\t%.2lf\t%.2lf\tdB#", 1.3, -0.0001, 0.0);
    EXPECT_EQ(text, "Excess margin\t1.30\t0.00\t0.00\tdB#\n");
}

}  // namespace
