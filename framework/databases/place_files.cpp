#include "framework/databases/place_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/atomic_file.h"
#include "propagation/coordinates.h"

const char* const kBandCodes[kBandCount] = {"P", "L", "S", "C", "X", "Ku", "Ka", "Q/V", "?"};

namespace {

std::uint16_t Word(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

// Checks the head against the rule and the size; the number of records
// (n + 1) the file holds, or 0 when it is refused.
std::size_t RecordsInFile(std::span<const std::uint8_t> head, std::uint64_t fileBytes, const PlaceFileRule& rule,
                          std::size_t recordBytes)
{
    if (head.size() < kPlaceFileHeadBytes) return 0;
    const std::uint16_t version = Word(head.data());
    const std::size_t n = Word(head.data() + 2);   // unsigned: 0 to 65535
    if (rule.laterVersions ? version < rule.version : version != rule.version) return 0;
    if (rule.maxCount != 0 && n > rule.maxCount) return 0;
    const std::uint64_t needed = kPlaceFileHeadBytes + std::uint64_t(n + 1) * recordBytes;
    if (fileBytes < needed) return 0;
    return n + 1;
}

template <class Record>
void TerminateTexts(Record& r);

template <>
void TerminateTexts(TownRecord& r)
{
    r.name[sizeof r.name - 1] = '\0';
}

template <>
void TerminateTexts(SatelliteRecord& r)
{
    r.name[sizeof r.name - 1] = '\0';
    r.bands[sizeof r.bands - 1] = '\0';
}

// Records are copied byte by byte from the little-endian image: the floats
// are IEEE single precision in the machine's order on every target we build.
template <class Record>
std::vector<Record> RecordsFrom(const std::uint8_t* data, std::size_t count)
{
    static_assert(std::numeric_limits<float>::is_iec559);
    std::vector<Record> records(count);
    std::memcpy(records.data(), data, count * sizeof(Record));
    for (Record& r : records) TerminateTexts(r);
    return records;
}

template <class Record>
bool Parse(std::span<const std::uint8_t> bytes, const PlaceFileRule& rule, std::vector<Record>& records)
{
    const std::size_t count = RecordsInFile(bytes, bytes.size(), rule, sizeof(Record));
    if (count == 0) return false;
    records = RecordsFrom<Record>(bytes.data() + kPlaceFileHeadBytes, count);
    return true;
}

template <class Record>
bool Read(const std::filesystem::path& file, const PlaceFileRule& rule, std::vector<Record>& records)
{
    platform::UniqueFile f = platform::OpenRegularFile(file);
    if (!f) return false;
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long end = std::ftell(f.get());
    if (end < 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;
    std::uint8_t head[kPlaceFileHeadBytes];
    if (std::fread(head, sizeof head, 1, f.get()) != 1) return false;
    const std::size_t count = RecordsInFile(head, std::uint64_t(end), rule, sizeof(Record));
    if (count == 0) return false;
    std::vector<std::uint8_t> body(count * sizeof(Record));
    if (std::fread(body.data(), body.size(), 1, f.get()) != 1) return false;
    records = RecordsFrom<Record>(body.data(), count);
    return true;
}

template <class Record>
std::string Bytes(const std::vector<Record>& records, std::uint16_t version)
{
    const std::size_t count = std::max<std::size_t>(records.size(), 1);
    const std::size_t n = count - 1;
    std::string out(kPlaceFileHeadBytes + count * sizeof(Record), '\0');
    out[0] = char(version & 0xFF);
    out[1] = char(version >> 8);
    out[2] = char(n & 0xFF);
    out[3] = char((n >> 8) & 0xFF);
    if (!records.empty()) std::memcpy(out.data() + kPlaceFileHeadBytes, records.data(), records.size() * sizeof(Record));
    return out;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

}  // namespace

bool ParseTownFile(std::span<const std::uint8_t> bytes, const PlaceFileRule& rule, std::vector<TownRecord>& records)
{
    return Parse(bytes, rule, records);
}

bool ParseSatelliteFile(std::span<const std::uint8_t> bytes, const PlaceFileRule& rule,
                        std::vector<SatelliteRecord>& records)
{
    return Parse(bytes, rule, records);
}

bool ReadTownFile(const std::filesystem::path& file, const PlaceFileRule& rule, std::vector<TownRecord>& records)
{
    return Read(file, rule, records);
}

bool ReadSatelliteFile(const std::filesystem::path& file, const PlaceFileRule& rule,
                       std::vector<SatelliteRecord>& records)
{
    return Read(file, rule, records);
}

std::string TownFileBytes(const std::vector<TownRecord>& records) { return Bytes(records, kCountryFileVersion); }

std::string SatelliteFileBytes(const std::vector<SatelliteRecord>& records)
{
    return Bytes(records, kSatelliteFileVersion);
}

bool WriteTownFile(const std::filesystem::path& file, const std::vector<TownRecord>& records)
{
    if (records.size() > kMaxTowns + 1) return false;
    return platform::WriteFileAtomically(file, TownFileBytes(records));
}

bool WriteSatelliteFile(const std::filesystem::path& file, const std::vector<SatelliteRecord>& records)
{
    if (records.size() > kMaxSatellites + 1) return false;
    return platform::WriteFileAtomically(file, SatelliteFileBytes(records));
}

void SetRecordText(char* field, std::size_t size, std::string_view text)
{
    if (size == 0) return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(Upper(a[i]));
        const auto y = static_cast<unsigned char>(Upper(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

void SortTowns(std::vector<TownRecord>& records, std::size_t first, std::size_t last)
{
    if (first >= records.size() || last < first) return;
    last = std::min(last, records.size() - 1);
    std::stable_sort(records.begin() + std::ptrdiff_t(first), records.begin() + std::ptrdiff_t(last) + 1,
                     [](const TownRecord& a, const TownRecord& b) {
                         return CompareNoCase(RecordText(a.name), RecordText(b.name)) < 0;
                     });
}

void SortSatellites(std::vector<SatelliteRecord>& records, std::size_t first, std::size_t last)
{
    if (first >= records.size() || last < first) return;
    last = std::min(last, records.size() - 1);
    // A longitude that is no number (a damaged file) sorts as +infinity, so
    // the order stays strict and weak.
    auto key = [](float v) { return std::isnan(v) ? std::numeric_limits<float>::infinity() : v; };
    std::stable_sort(records.begin() + std::ptrdiff_t(first), records.begin() + std::ptrdiff_t(last) + 1,
                     [&key](const SatelliteRecord& a, const SatelliteRecord& b) {
                         return key(a.longitude) < key(b.longitude);
                     });
}

std::string BandText(const bool (&ticked)[kBandCount])
{
    std::string text;
    for (std::size_t i = 0; i < kBandCount; ++i) {
        if (!ticked[i]) continue;
        text += kBandCodes[i];
        text += ',';
    }
    if (!text.empty()) text.pop_back();
    return text;
}

void BandsInText(std::string_view text, bool (&ticked)[kBandCount])
{
    for (std::size_t i = 0; i < kBandCount; ++i) ticked[i] = text.find(kBandCodes[i]) != std::string_view::npos;
}

std::string TownListLine(const TownRecord& town)
{
    char lat[16], lon[16];
    FormatLatLon(town.latitude, 0, lat);
    FormatLatLon(town.longitude, 1, lon);
    return RecordText(town.name) + " (" + lat + "," + lon + ")";
}

std::string SatelliteListLine(const SatelliteRecord& satellite)
{
    char lon[16];
    FormatLatLon(satellite.longitude, 1, lon);
    return RecordText(satellite.name) + " (" + lon + ")";
}
