// Builds the shipped town and satellite databases from the public place
// lists (see shared/data/places/SOURCES.md):
//   make_place_files PLACES_DIR OUTPUT_DIR
// writes one country file "<Country>.twn" per row of countries.csv and
// "satlist.geo", and copies ATTRIBUTION.md beside them as
// "places-ATTRIBUTION.md".  Texts are made Latin-1 and cut to the 18
// characters the editors take; coordinates of towns are stored in D.MM.
//
// Plain C++ (this file is not part of the program's libraries).
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "framework/databases/place_files.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kNameCharacters = 18;

// RFC 4180 rows: fields separated by commas, a quoted field may hold commas
// and doubled quotes.
std::vector<std::vector<std::string>> ReadCsv(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
            else if (c == '"') quoted = false;
            else field += c;
            continue;
        }
        if (c == '"') quoted = true, any = true;
        else if (c == ',') row.push_back(field), field.clear(), any = true;
        else if (c == '\r') continue;
        else if (c == '\n') {
            row.push_back(field);
            rows.push_back(row);
            row.clear(), field.clear(), any = false;
        } else field += c, any = true;
    }
    if (any) row.push_back(field), rows.push_back(row);
    if (!rows.empty()) rows.erase(rows.begin());  // the header
    return rows;
}

std::vector<char32_t> DecodeUtf8(const std::string& s)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + std::size_t(extra) >= s.size() + (extra == 0 ? 1u : 0u)) {
            out.push_back(U'?');
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? b : b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + std::size_t(k)]) & 0x3F);
        out.push_back(cp);
        i += std::size_t(extra) + 1;
    }
    return out;
}

// Base letters of U+0100..U+017F (Latin Extended-A).
constexpr const char kExtendedA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof kExtendedA - 1 == 0x80);
// ASCII letters for U+00C0..U+00FF.
constexpr const char kLatin1Fold[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty";
static_assert(sizeof kLatin1Fold - 1 == 0x40);

bool AllLatin1(const std::vector<char32_t>& cps)
{
    return std::all_of(cps.begin(), cps.end(), [](char32_t c) { return c <= 0xFF; });
}

bool AllAscii(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A name in Latin-1: as it is when it has no other letter; else the list's
// own ASCII spelling when it has one; else letter by letter.
std::string ToLatin1(const std::string& utf8, const std::string& ascii)
{
    const std::vector<char32_t> cps = DecodeUtf8(utf8);
    if (!AllLatin1(cps) && AllAscii(ascii)) return ascii;
    std::string out;
    for (char32_t c : cps) {
        if (c <= 0xFF) out += char(c);
        else if (c >= 0x100 && c < 0x180) out += kExtendedA[c - 0x100];
        else if (c == 0x2018 || c == 0x2019) out += '\'';
        else if (c == 0x2010 || c == 0x2013 || c == 0x2014) out += '-';
        else out += '?';
    }
    return out;
}

std::string Cut(std::string s, std::size_t n)
{
    if (s.size() > n) s.resize(n);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// A file name of plain letters: accents dropped, anything odd left out.
std::string FileNameOf(const std::string& latin1)
{
    std::string out;
    for (char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        char a = char(c);
        if (c >= 0xC0) a = kLatin1Fold[c - 0xC0];
        else if (c >= 0x80) continue;
        if (std::isalnum(static_cast<unsigned char>(a)) || a == ' ' || a == '-' || a == '(' || a == ')' || a == '.' ||
            a == ',' || a == '\'')
            out += a;
    }
    return out;
}

// Decimal degrees to D.MM, minutes rounded to the nearest whole minute.
float DegreesToDegMin(double degrees)
{
    const double a = std::fabs(degrees);
    double whole = std::floor(a);
    double minutes = std::round((a - whole) * 60.0);
    if (minutes >= 60.0) whole += 1.0, minutes = 0.0;
    const double dmm = whole + minutes / 100.0;
    return float(degrees < 0.0 ? -dmm : dmm);
}

double Number(const std::string& s, const fs::path& file)
{
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || !std::isfinite(v)) throw std::runtime_error("bad number '" + s + "' in " + file.string());
    return v;
}

void WriteCountries(const fs::path& places, const fs::path& out)
{
    const auto countries = ReadCsv(places / "countries.csv");
    for (const auto& row : countries) {
        if (row.size() < 2) continue;
        const fs::path list = places / "towns" / (row[0] + ".csv");
        if (!fs::exists(list)) continue;
        const std::string country = ToLatin1(row[1], "");
        std::vector<TownRecord> records(1);
        SetRecordText(records[0].name, Cut(country, kNameCharacters));
        for (const auto& town : ReadCsv(list)) {
            if (town.size() < 3 || records.size() > kMaxTowns) continue;
            TownRecord r;
            const std::string ascii = town.size() >= 5 ? town[4] : std::string();
            SetRecordText(r.name, Cut(ToLatin1(town[0], ascii), kNameCharacters));
            r.latitude = DegreesToDegMin(Number(town[1], list));
            r.longitude = DegreesToDegMin(Number(town[2], list));
            records.push_back(r);
        }
        SortTowns(records, 1, records.size() - 1);
        const fs::path file = out / (FileNameOf(country) + ".twn");
        if (!WriteTownFile(file, records)) throw std::runtime_error("cannot write " + file.string());
    }
}

void WriteSatelliteList(const fs::path& places, const fs::path& out)
{
    const fs::path list = places / "satellites.csv";
    std::vector<SatelliteRecord> records(1);
    SetRecordText(records[0].name, "Satellite List");
    for (const auto& row : ReadCsv(list)) {
        if (row.size() < 2 || records.size() > kMaxSatellites) continue;
        SatelliteRecord r;
        SetRecordText(r.name, Cut(ToLatin1(row[0], ""), kNameCharacters));
        r.longitude = float(Number(row[1], list));
        // The list names no bands; "?" (other) keeps every record editable.
        const std::string bands = row.size() >= 3 && !row[2].empty() ? row[2] : "?";
        SetRecordText(r.bands, bands);
        records.push_back(r);
    }
    SortSatellites(records, 1, records.size() - 1);
    if (!WriteSatelliteFile(out / kSatelliteListFile, records))
        throw std::runtime_error("cannot write " + (out / kSatelliteListFile).string());
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: make_place_files PLACES_DIR OUTPUT_DIR\n";
        return 2;
    }
    try {
        const fs::path places = argv[1], out = argv[2];
        fs::create_directories(out);
        WriteCountries(places, out);
        WriteSatelliteList(places, out);
        fs::copy_file(places / "ATTRIBUTION.md", out / "places-ATTRIBUTION.md", fs::copy_options::overwrite_existing);
    } catch (const std::exception& e) {
        std::cerr << "make_place_files: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
