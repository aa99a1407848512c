// The three configuration files of the program directory, byte for byte:
//   "orbisco.cfg"  the set-up record, 142 bytes
//   "orbisco.dat"  the stored values of 47 input dialogs, 5980 bytes
//   "orbisco.ini"  the frame's window placement, a 44-byte block kept as a
//                  profile structure (hexadecimal text with a checksum byte)
// Plain C++: the application object holds the records and calls these.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/atomic_file.h"

// ---- "orbisco.cfg" ----

// Stored whole; texts zero-terminated and zero-padded, words little-endian.
struct SetUpRecord {
    static constexpr std::size_t kSize = 142;
    static constexpr std::size_t kCompanyOffset = 0, kCompanySize = 71;
    static constexpr std::size_t kSiteNameOffset = 71, kSiteNameSize = 41;
    static constexpr std::size_t kLatitudeOffset = 112, kLatitudeSize = 13;
    static constexpr std::size_t kLongitudeOffset = 125, kLongitudeSize = 13;
    static constexpr std::size_t kSaveDialogEntriesOffset = 138;
    static constexpr std::size_t kRestrictTiltOffset = 140;

    std::array<std::uint8_t, kSize> bytes{};

    std::string Company() const { return Text(kCompanyOffset, kCompanySize); }
    std::string SiteName() const { return Text(kSiteNameOffset, kSiteNameSize); }
    std::string Latitude() const { return Text(kLatitudeOffset, kLatitudeSize); }
    std::string Longitude() const { return Text(kLongitudeOffset, kLongitudeSize); }
    std::uint16_t SaveDialogEntries() const { return Word(kSaveDialogEntriesOffset); }
    std::uint16_t RestrictTilt() const { return Word(kRestrictTiltOffset); }

    void SetCompany(std::string_view s) { SetText(kCompanyOffset, kCompanySize, s); }
    void SetSiteName(std::string_view s) { SetText(kSiteNameOffset, kSiteNameSize, s); }
    void SetLatitude(std::string_view s) { SetText(kLatitudeOffset, kLatitudeSize, s); }
    void SetLongitude(std::string_view s) { SetText(kLongitudeOffset, kLongitudeSize, s); }
    void SetSaveDialogEntries(std::uint16_t v) { SetWord(kSaveDialogEntriesOffset, v); }
    void SetRestrictTilt(std::uint16_t v) { SetWord(kRestrictTiltOffset, v); }

    // A text field, read up to its terminating zero or its last byte.
    std::string Text(std::size_t offset, std::size_t size) const;
    // Writes at most size - 1 bytes and zero-pads the rest of the field.
    void SetText(std::size_t offset, std::size_t size, std::string_view s);
    std::uint16_t Word(std::size_t offset) const;
    void SetWord(std::size_t offset, std::uint16_t v);
};

// The record that "Restore defaults" and a missing file give.
SetUpRecord DefaultSetUpRecord();

// Reads one 142-byte block.  False when the file is missing or shorter.
bool ReadSetupFile(const std::filesystem::path& file, SetUpRecord& record);
// Writes the 142 bytes through a temporary file renamed over the old one.
bool WriteSetupFile(const std::filesystem::path& file, const SetUpRecord& record);

// ---- "orbisco.dat" ----

inline constexpr int kFormValueRecordCount = 47;
// Sizes of the 47 records, in file order.
extern const std::array<std::uint16_t, kFormValueRecordCount> kFormValueRecordSizes;
inline constexpr std::size_t kFormValueFileSize = 5980;

enum class FormValuesRead {
    Missing,  // no file: every record keeps its defaults
    Whole,    // every record read whole
    Short,    // a record came up short (the caller reports it)
};

// Reads the records in order into `records` (each span as long as its record).
// A record read short keeps the bytes that were read; when one of the first
// 32 records is short, the rest of them are still tried, and records 33 to 47
// are left untouched when record 32 itself was short.
FormValuesRead ReadFormValuesFile(const std::filesystem::path& file,
                                  std::span<const std::span<std::uint8_t>> records);
bool WriteFormValuesFile(const std::filesystem::path& file,
                         std::span<const std::span<const std::uint8_t>> records);

// ---- "orbisco.ini" ----

// The frame's placement: length, flags, show command, minimized and maximized
// positions, normal rectangle; ten little-endian 32-bit fields.
struct WindowPlacement {
    static constexpr std::size_t kSize = 44;
    std::uint32_t length = kSize;
    std::uint32_t flags = 0;
    std::uint32_t showCommand = 1;
    std::int32_t minX = 0, minY = 0;
    std::int32_t maxX = 0, maxY = 0;
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    std::array<std::uint8_t, kSize> ToBytes() const;
    static WindowPlacement FromBytes(std::span<const std::uint8_t, kSize> bytes);
};

// A binary block as profile text: two upper-case hex digits a byte, then the
// low byte of the sum of the block's bytes as two more.
std::string EncodeProfileStruct(std::span<const std::uint8_t> block);
// The block back, when the text has the expected length, is all hex and its
// checksum matches; otherwise nothing.
std::optional<std::string> DecodeProfileStruct(std::string_view text, std::size_t size);

// Reads and writes section "Section", key "Key" of an ini file.  Other lines
// of the file are kept when writing.  A file is read only when
// platform::CheckSettingsFile allows it, and written only when it is usable
// in full; `refused` tells how it may be used.
std::optional<WindowPlacement> ReadPlacementFile(const std::filesystem::path& file,
                                                 platform::SettingsFile* refused = nullptr);
bool WritePlacementFile(const std::filesystem::path& file, const WindowPlacement& placement);
