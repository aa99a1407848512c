#include "world.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace pictures {

namespace {

[[noreturn]] void Fail(const std::string& path, int line, const char* what)
{
    throw std::runtime_error(path + ":" + std::to_string(line) + ": " + what);
}

// Two numbers separated by one space, in the C locale whatever the process's.
bool ParsePoint(std::string_view text, GeoPoint& p)
{
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos)
        return false;
    const char* end = text.data() + text.size();
    const auto a = std::from_chars(text.data(), text.data() + space, p.lon);
    const auto b = std::from_chars(text.data() + space + 1, end, p.lat);
    return a.ec == std::errc() && a.ptr == text.data() + space && b.ec == std::errc() && b.ptr == end &&
           std::abs(p.lon) <= 180 && std::abs(p.lat) <= 90;
}

}  // namespace

std::vector<Ring> ReadRings(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<Ring> rings;
    std::string text;
    int lineNo = 0;
    std::size_t left = 0;
    while (std::getline(in, text)) {
        ++lineNo;
        if (text.empty() || (text[0] == '#' && rings.empty()))
            continue;
        if (left > 0) {
            GeoPoint p;
            if (!ParsePoint(text, p))
                Fail(path, lineNo, "bad point");
            rings.back().points.push_back(p);
            --left;
            continue;
        }
        // "ring <id> <count> <name>" or "line <id> <count> <name>"
        const std::size_t s1 = text.find(' '), s2 = text.find(' ', s1 + 1), s3 = text.find(' ', s2 + 1);
        const std::string kind = text.substr(0, s1);
        if ((kind != "ring" && kind != "line") || s3 == std::string::npos)
            Fail(path, lineNo, "expected a ring or line header");
        std::size_t count = 0;
        const auto r = std::from_chars(text.data() + s2 + 1, text.data() + s3, count);
        if (r.ec != std::errc() || count == 0)
            Fail(path, lineNo, "bad point count");
        rings.push_back({text.substr(s3 + 1), kind == "line", {}});
        rings.back().points.reserve(count);
        left = count;
    }
    if (left > 0 || rings.empty())
        Fail(path, lineNo, "file ends inside a block");
    return rings;
}

std::vector<Ring> Select(const std::vector<Ring>& rings, const std::string& code)
{
    std::vector<Ring> out;
    for (const Ring& r : rings)
        if (r.name == code || r.name.rfind(code + " ", 0) == 0)
            out.push_back(r);
    return out;
}

bool IsCutEdge(const GeoPoint& a, const GeoPoint& b)
{
    return (std::abs(a.lon) == 180 && a.lon == b.lon) || (std::abs(a.lat) == 90 && a.lat == b.lat);
}

}  // namespace pictures
