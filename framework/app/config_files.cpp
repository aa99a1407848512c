#include "framework/app/config_files.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>
#include <vector>


namespace {

using File = platform::UniqueFile;

void PutLe32(std::uint8_t* p, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k) p[k] = static_cast<std::uint8_t>(v >> (8 * k));
}

std::uint32_t GetLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::string SetUpRecord::Text(std::size_t offset, std::size_t size) const
{
    const auto* begin = bytes.data() + offset;
    const auto* end = std::find(begin, begin + size, std::uint8_t{0});
    return std::string(begin, end);
}

void SetUpRecord::SetText(std::size_t offset, std::size_t size, std::string_view s)
{
    const std::size_t n = std::min(s.size(), size - 1);
    std::memcpy(bytes.data() + offset, s.data(), n);
    std::memset(bytes.data() + offset + n, 0, size - n);
}

std::uint16_t SetUpRecord::Word(std::size_t offset) const
{
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

void SetUpRecord::SetWord(std::size_t offset, std::uint16_t v)
{
    bytes[offset] = static_cast<std::uint8_t>(v & 0xFF);
    bytes[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}

SetUpRecord DefaultSetUpRecord()
{
    SetUpRecord r;
    r.SetCompany("Produced using Orbiscope Pro");
    // The town nearest the default coordinates.
    r.SetSiteName("Liverpool,UnitedKingdom");
    r.SetLatitude("53.42N");
    r.SetLongitude("3.00W");
    return r;
}

bool ReadSetupFile(const std::filesystem::path& file, SetUpRecord& record)
{
    File f = platform::OpenRegularFile(file);
    if (!f) return false;
    const std::size_t got = std::fread(record.bytes.data(), 1, SetUpRecord::kSize, f.get());
    const bool closed = std::fclose(f.release()) == 0;
    return got == SetUpRecord::kSize && closed;
}

bool WriteSetupFile(const std::filesystem::path& file, const SetUpRecord& record)
{
    return platform::WriteFileAtomically(
        file, std::string_view(reinterpret_cast<const char*>(record.bytes.data()), record.bytes.size()));
}

const std::array<std::uint16_t, kFormValueRecordCount> kFormValueRecordSizes = {
    160, 39, 78, 39, 65, 168, 194, 26, 13, 80, 54, 54, 51, 54, 147, 19,    // 1-16
    166, 67, 26, 67, 13, 54, 54, 142, 149, 136, 98, 165, 26, 119, 363, 108,  // 17-32
    141, 402, 261, 81, 108, 60, 84, 275, 273, 207, 67, 67, 78, 791, 91,     // 33-47
};

FormValuesRead ReadFormValuesFile(const std::filesystem::path& file,
                                  std::span<const std::span<std::uint8_t>> records)
{
    File f = platform::OpenRegularFile(file);
    if (!f) return FormValuesRead::Missing;
    bool whole = true;
    const auto readRecord = [&](std::size_t k) {
        const auto& rec = records[k];
        const std::size_t size = std::min<std::size_t>(rec.size(), kFormValueRecordSizes[k]);
        const bool ok = std::fread(rec.data(), 1, size, f.get()) == size;
        whole = whole && ok;
        return ok;
    };
    const std::size_t count = std::min<std::size_t>(records.size(), kFormValueRecordCount);
    bool record32 = true;
    for (std::size_t k = 0; k < std::min<std::size_t>(count, 32); ++k) record32 = readRecord(k);
    if (record32) {
        for (std::size_t k = 32; k < count; ++k) readRecord(k);
    }
    return whole ? FormValuesRead::Whole : FormValuesRead::Short;
}

bool WriteFormValuesFile(const std::filesystem::path& file,
                         std::span<const std::span<const std::uint8_t>> records)
{
    std::string bytes;
    bytes.reserve(kFormValueFileSize);
    for (std::size_t k = 0; k < records.size() && k < kFormValueRecordCount; ++k) {
        // Each record is written at its file size, whatever the buffer holds.
        std::string rec(kFormValueRecordSizes[k], '\0');
        std::memcpy(rec.data(), records[k].data(), std::min<std::size_t>(records[k].size(), rec.size()));
        bytes += rec;
    }
    return platform::WriteFileAtomically(file, bytes);
}

std::array<std::uint8_t, WindowPlacement::kSize> WindowPlacement::ToBytes() const
{
    std::array<std::uint8_t, kSize> b{};
    const std::uint32_t fields[11] = {length,
                                      flags,
                                      showCommand,
                                      static_cast<std::uint32_t>(minX),
                                      static_cast<std::uint32_t>(minY),
                                      static_cast<std::uint32_t>(maxX),
                                      static_cast<std::uint32_t>(maxY),
                                      static_cast<std::uint32_t>(left),
                                      static_cast<std::uint32_t>(top),
                                      static_cast<std::uint32_t>(right),
                                      static_cast<std::uint32_t>(bottom)};
    for (std::size_t k = 0; k < 11; ++k) PutLe32(b.data() + 4 * k, fields[k]);
    return b;
}

WindowPlacement WindowPlacement::FromBytes(std::span<const std::uint8_t, kSize> b)
{
    WindowPlacement p;
    p.length = GetLe32(&b[0]);
    p.flags = GetLe32(&b[4]);
    p.showCommand = GetLe32(&b[8]);
    p.minX = static_cast<std::int32_t>(GetLe32(&b[12]));
    p.minY = static_cast<std::int32_t>(GetLe32(&b[16]));
    p.maxX = static_cast<std::int32_t>(GetLe32(&b[20]));
    p.maxY = static_cast<std::int32_t>(GetLe32(&b[24]));
    p.left = static_cast<std::int32_t>(GetLe32(&b[28]));
    p.top = static_cast<std::int32_t>(GetLe32(&b[32]));
    p.right = static_cast<std::int32_t>(GetLe32(&b[36]));
    p.bottom = static_cast<std::int32_t>(GetLe32(&b[40]));
    return p;
}

std::string EncodeProfileStruct(std::span<const std::uint8_t> block)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * block.size() + 2);
    std::uint8_t sum = 0;
    for (const std::uint8_t b : block) {
        text += kHex[b >> 4];
        text += kHex[b & 0xF];
        sum = static_cast<std::uint8_t>(sum + b);
    }
    text += kHex[sum >> 4];
    text += kHex[sum & 0xF];
    return text;
}

std::optional<std::string> DecodeProfileStruct(std::string_view text, std::size_t size)
{
    if (text.size() != 2 * size + 2) return std::nullopt;
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string block(size + 1, '\0');
    for (std::size_t k = 0; k <= size; ++k) {
        const int hi = nibble(text[2 * k]), lo = nibble(text[2 * k + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        block[k] = static_cast<char>(hi << 4 | lo);
    }
    std::uint8_t sum = 0;
    for (std::size_t k = 0; k < size; ++k) sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(block[k]));
    if (sum != static_cast<std::uint8_t>(block[size])) return std::nullopt;
    block.resize(size);
    return block;
}

namespace {

constexpr std::string_view kSection = "[Section]";
constexpr std::string_view kKey = "Key";

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// The file's lines (none when it is missing or may not be read), and how it
// may be used.
platform::SettingsFile ReadLines(const std::filesystem::path& file, std::vector<std::string>& lines)
{
    const platform::SettingsFile usable = platform::CheckSettingsFile(file);
    if (!platform::SettingsReadable(usable)) return usable;
    std::vector<std::uint8_t> bytes;
    // A file that grew past the limit since it was looked at is as large.
    if (platform::ReadRegularFile(file, bytes, platform::kMaxSettingsFileBytes) == platform::FileRead::TooLarge)
        return platform::SettingsFile::TooLarge;
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return usable;
}

}  // namespace

std::optional<WindowPlacement> ReadPlacementFile(const std::filesystem::path& file, platform::SettingsFile* refused)
{
    std::vector<std::string> lines;
    const platform::SettingsFile usable = ReadLines(file, lines);
    if (refused) *refused = usable;
    bool inSection = false;
    for (const std::string& raw : lines) {
        const std::string_view line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            inSection = EqualNoCase(line, kSection);
            continue;
        }
        const auto eq = line.find('=');
        if (!inSection || eq == std::string_view::npos || !EqualNoCase(Trim(line.substr(0, eq)), kKey)) continue;
        const auto block = DecodeProfileStruct(Trim(line.substr(eq + 1)), WindowPlacement::kSize);
        if (!block) return std::nullopt;
        return WindowPlacement::FromBytes(
            std::span<const std::uint8_t, WindowPlacement::kSize>(reinterpret_cast<const std::uint8_t*>(block->data()),
                                                                  WindowPlacement::kSize));
    }
    return std::nullopt;
}

bool WritePlacementFile(const std::filesystem::path& file, const WindowPlacement& placement)
{
    const auto bytes = placement.ToBytes();
    const std::string entry = std::string(kKey) + "=" + EncodeProfileStruct(bytes);
    std::vector<std::string> lines;
    // A file that may not be read is left as it is rather than cut to this
    // line, and one that may not be replaced is not tried.
    if (ReadLines(file, lines) != platform::SettingsFile::Usable) return false;
    // Replace the key inside its section, or add the section.
    bool inSection = false, written = false;
    std::size_t sectionEnd = lines.size();
    bool sectionSeen = false;
    for (std::size_t k = 0; k < lines.size() && !written; ++k) {
        const std::string_view line = Trim(lines[k]);
        if (!line.empty() && line.front() == '[') {
            if (inSection) sectionEnd = k;
            inSection = EqualNoCase(line, kSection);
            if (inSection) {
                sectionSeen = true;
                sectionEnd = lines.size();
            }
            continue;
        }
        const auto eq = line.find('=');
        if (inSection && eq != std::string_view::npos && EqualNoCase(Trim(line.substr(0, eq)), kKey)) {
            lines[k] = entry;
            written = true;
        }
    }
    if (!written) {
        if (sectionSeen) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
        } else {
            lines.push_back(std::string(kSection));
            lines.push_back(entry);
        }
    }
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    return platform::WriteFileAtomically(file, text);
}
