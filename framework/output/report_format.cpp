#include "framework/output/report_format.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string_view>
#include <locale.h>

namespace {

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

// The C locale for the lifetime of one call, whatever the thread's is.
class InCLocale {
public:
    InCLocale() : previous_(uselocale(CLocale())) {}
    ~InCLocale() { uselocale(previous_); }
    InCLocale(const InCLocale&) = delete;
    InCLocale& operator=(const InCLocale&) = delete;

private:
    locale_t previous_;
};

// One printf conversion (flags, width, precision, length and specifier),
// rebuilt as a format of its own, its stars replaced by the numbers they
// took, so that it prints a single argument.
class PrintfConversion {
public:
    void Flag(char c)
    {
        const std::size_t n = std::strlen(flags_);
        if (!std::memchr(flags_, c, n) && n + 1 < sizeof flags_) flags_[n] = c;
    }
    void Width(long w)
    {
        if (w < 0) {
            Flag('-');
            w = -w;
        }
        width_ = w;
    }
    void Precision(long p) { precision_ = p; }
    void Length(const char* begin, const char* end)
    {
        const auto n = static_cast<std::size_t>(end - begin);
        std::memcpy(length_, begin, n < sizeof length_ ? n : sizeof length_ - 1);
    }
    void SetSpecifier(char c) { specifier_ = c; }
    char specifier() const { return specifier_; }
    // "%" flags width .precision length specifier
    const char* Text()
    {
        char* p = text_;
        *p++ = '%';
        for (const char* f = flags_; *f; ++f) *p++ = *f;
        if (width_ >= 0) p = std::to_chars(p, p + 12, width_).ptr;
        if (precision_ >= 0) {
            *p++ = '.';
            p = std::to_chars(p, p + 12, precision_).ptr;
        }
        for (const char* l = length_; *l; ++l) *p++ = *l;
        *p++ = specifier_;
        *p = '\0';
        return text_;
    }

private:
    char flags_[8] = {};
    long width_ = -1, precision_ = -1;
    char length_[3] = {};
    char specifier_ = 0;
    char text_[64] = {};
};

// Appends one argument printed by the format of its conversion.
template <class T>
void Put(std::string& out, const char* format, T value)
{
    char small[128];
    const int n = std::snprintf(small, sizeof small, format, value);
    if (n < 0) return;
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, static_cast<std::size_t>(n));
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n) + 1);
    std::snprintf(out.data() + at, static_cast<std::size_t>(n) + 1, format, value);
    out.resize(at + static_cast<std::size_t>(n));
}

// Whether the printed mantissa (what comes before an exponent) is all zeros.
bool PrintedAsZero(std::string_view printed, char specifier)
{
    const bool hex = specifier == 'a' || specifier == 'A';
    bool digit = false;
    for (char c : printed) {
        if (hex ? (c == 'p' || c == 'P') : (c == 'e' || c == 'E')) break;
        if (c >= '1' && c <= '9') return false;
        if (hex && std::strchr("abcdefABCDEF", c)) return false;
        digit = digit || c == '0';
    }
    return digit;
}

// A floating-point argument: printed, and printed again without its sign
// when what shows is a zero.  Negating a value leaves its digits as they were.
template <class T>
void PutFloating(std::string& out, const char* format, char specifier, T value)
{
    const std::size_t at = out.size();
    Put(out, format, value);
    if (!std::signbit(value) || std::isnan(value)) return;
    if (!PrintedAsZero(std::string_view(out).substr(at), specifier)) return;
    out.resize(at);
    Put(out, format, -value);
}

long Digits(const char*& p)
{
    long n = 0;
    while (*p >= '0' && *p <= '9') {
        if (n < 100000000) n = n * 10 + (*p - '0');
        ++p;
    }
    return n;
}

// Whether the text may hold a value printed as a negative zero: a "-0" with
// nothing but zeros and points after it up to a character that is not a
// digit 1-9.  It may also be a text that reads so; a false alarm costs only
// the slower road.
bool MayShowNegativeZero(std::string_view text)
{
    for (std::size_t i = text.find("-0"); i != std::string_view::npos; i = text.find("-0", i + 1)) {
        std::size_t j = i + 2;
        while (j < text.size() && (text[j] == '0' || text[j] == '.')) ++j;
        if (j == text.size() || text[j] < '1' || text[j] > '9') return true;
    }
    return false;
}

// One conversion at a time, so that each floating-point value is seen on its own.
void AppendByConversion(std::string& out, const char* format, std::va_list ap)
{
    const char* p = format;
    while (*p) {
        const char* percent = std::strchr(p, '%');
        if (!percent) {
            out.append(p);
            break;
        }
        out.append(p, static_cast<std::size_t>(percent - p));
        p = percent + 1;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        PrintfConversion conversion;
        while (*p && std::strchr("-+ #0'", *p)) conversion.Flag(*p++);
        if (*p == '*') {
            ++p;
            conversion.Width(va_arg(ap, int));
        } else if (*p >= '0' && *p <= '9') {
            conversion.Width(Digits(p));
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                ++p;
                const int precision = va_arg(ap, int);
                if (precision >= 0) conversion.Precision(precision);
            } else {
                conversion.Precision(Digits(p));
            }
        }
        const char* length = p;
        while (*p && std::strchr("hlLqjzZt", *p)) ++p;
        const std::string_view modifier(length, static_cast<std::size_t>(p - length));
        conversion.Length(length, p);
        if (!*p) break;
        conversion.SetSpecifier(*p++);
        const char* text = conversion.Text();
        switch (conversion.specifier()) {
        case 'd': case 'i':
            if (modifier == "l") Put(out, text, va_arg(ap, long));
            else if (modifier == "ll" || modifier == "q") Put(out, text, va_arg(ap, long long));
            else if (modifier == "j") Put(out, text, va_arg(ap, std::intmax_t));
            else if (modifier == "z" || modifier == "Z") Put(out, text, va_arg(ap, std::ptrdiff_t));
            else if (modifier == "t") Put(out, text, va_arg(ap, std::ptrdiff_t));
            else Put(out, text, va_arg(ap, int));
            break;
        case 'u': case 'o': case 'x': case 'X':
            if (modifier == "l") Put(out, text, va_arg(ap, unsigned long));
            else if (modifier == "ll" || modifier == "q") Put(out, text, va_arg(ap, unsigned long long));
            else if (modifier == "j") Put(out, text, va_arg(ap, std::uintmax_t));
            else if (modifier == "z" || modifier == "Z") Put(out, text, va_arg(ap, std::size_t));
            else if (modifier == "t") Put(out, text, va_arg(ap, std::size_t));
            else Put(out, text, va_arg(ap, unsigned));
            break;
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
            if (modifier == "L") PutFloating(out, text, conversion.specifier(), va_arg(ap, long double));
            else PutFloating(out, text, conversion.specifier(), va_arg(ap, double));
            break;
        case 'c':
            if (modifier == "l") Put(out, text, va_arg(ap, std::wint_t));
            else Put(out, text, va_arg(ap, int));
            break;
        case 's':
            if (modifier == "l") Put(out, text, va_arg(ap, const wchar_t*));
            else Put(out, text, va_arg(ap, const char*));
            break;
        case 'p': Put(out, text, va_arg(ap, void*)); break;
        case 'n': va_arg(ap, void*); break;  // nothing is written back
        default:
            // Not a conversion: the directive stays as text.
            out.append(percent, static_cast<std::size_t>(p - percent));
            break;
        }
    }
}

}  // namespace

// A line printed whole, as most are, needs no second look unless it shows a
// "-0"; only then is it printed again conversion by conversion.
void AppendReportFormatV(std::string& out, const char* format, std::va_list args)
{
    const InCLocale c;
    char line[1024];
    std::va_list ap;
    va_copy(ap, args);
    const int n = std::vsnprintf(line, sizeof line, format, ap);
    va_end(ap);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof line &&
        !MayShowNegativeZero(std::string_view(line, static_cast<std::size_t>(n)))) {
        out.append(line, static_cast<std::size_t>(n));
        return;
    }
    va_copy(ap, args);
    AppendByConversion(out, format, ap);
    va_end(ap);
}

void AppendReportFormat(std::string& out, const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    AppendReportFormatV(out, format, args);
    va_end(args);
}

std::string ReportFormat(const char* format, ...)
{
    std::string out;
    std::va_list args;
    va_start(args, format);
    AppendReportFormatV(out, format, args);
    va_end(args);
    return out;
}

int ReportFormatInto(char* buffer, std::size_t size, const char* format, ...)
{
    std::string out;
    std::va_list args;
    va_start(args, format);
    AppendReportFormatV(out, format, args);
    va_end(args);
    if (size > 0) {
        const std::size_t n = out.size() < size - 1 ? out.size() : size - 1;
        out.copy(buffer, n);
        buffer[n] = '\0';
    }
    return static_cast<int>(out.size());
}
