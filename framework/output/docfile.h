// Document files: the typed fields the readers take apart, the calculation
// error texts and the polarization tilt angle.  Free of Qt.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

// Sizes of the typed document fields: kind 1 = char[41], 2 = char[13],
// 3 and 4 = 16-bit states, 5 and 6 = 32-bit values, 7 = char[81].
// Returns 0 for a kind that does not exist.
int DocFieldSize(int kind);

// An open document for reading, closed exactly once (by a failed field read
// or at the end of the reader's scope).
class DocumentFile {
public:
    explicit DocumentFile(const std::filesystem::path& path);
    ~DocumentFile();
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    bool Closed() const { return file_ == nullptr; }
    // Reads exactly `size` bytes; false (and nothing more read) when the file
    // ends first or is closed.
    bool ReadExact(void* destination, std::size_t size);
    // The 16-bit little-endian version word at the start.
    bool ReadVersion(std::uint16_t& version);
    void Close();

private:
    std::FILE* file_ = nullptr;
};

// The message of a calculation error code (-500 .. -514), or null for a code
// without text (0, the reserved codes, anything else).
const char* CalcErrorText(int code);

// Polarization tilt angle in radians for the rain model.  Circular ("C...")
// gives pi/4; with `restrictTilt` a linear polarization is 0 (H) or pi/2 (V);
// otherwise the tilt of a linear wave seen from a site at latitude
// `latitude_deg` to a geostationary satellite `dlon_deg` away in longitude.
double PolarizationTilt(double latitude_deg, double dlon_deg, const char* polarization, bool restrictTilt);
