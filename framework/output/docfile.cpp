#include "framework/output/docfile.h"

#include <cmath>

#include "platform/atomic_file.h"

int DocFieldSize(int kind)
{
    switch (kind) {
    case 1: return 41;
    case 2: return 13;
    case 3:
    case 4: return 2;
    case 5:
    case 6: return 4;
    case 7: return 81;
    default: return 0;
    }
}

// Only a regular file is opened: a FIFO or device named like a document
// would otherwise hold the program until something wrote to it.
DocumentFile::DocumentFile(const std::filesystem::path& path) : file_(platform::OpenRegularFile(path).release()) {}

DocumentFile::~DocumentFile() { Close(); }

void DocumentFile::Close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

bool DocumentFile::ReadExact(void* destination, std::size_t size)
{
    if (!file_) return false;
    return std::fread(destination, size, 1, file_) == 1;
}

bool DocumentFile::ReadVersion(std::uint16_t& version)
{
    std::uint8_t b[2];
    if (!ReadExact(b, 2)) return false;
    version = std::uint16_t(b[0] | b[1] << 8);
    return true;
}

const char* CalcErrorText(int code)
{
    switch (code) {
    case -500: return "ERROR: Antenna elevation below 5 degrees";
    case -501: return "ERROR: Negative margin detected: cannot close LB - premature exit - results invalid";
    case -502: return "ERROR: Carrier overspills available transponder bandwidth";
    case -504: return "ERROR: Oversaturation of transponder, HPA power value entered exceeds MAX (maximum)";
    case -505: return "ERROR: Number of carriers entered exceeds the transponder bandwidth";
    case -506: return "Legacy File: Transponder bandwidth is needed, 36MHz has been assumed";
    case -512: return "ERROR: An adjacent satellite is below horizon";
    case -513: return "ERROR: Transponder usage exceeds 100%";
    case -514: return "Legacy File: C/IM(down) input value changed to AUTO";
    default: return nullptr;
    }
}

double PolarizationTilt(double latitude_deg, double dlon_deg, const char* polarization, bool restrictTilt)
{
    const char first = polarization ? polarization[0] : '\0';
    if (first == 'C') return 0.7853981633974483;  // pi/4
    double angle = 0.0;
    if (!restrictTilt) {
        double phi = latitude_deg;
        if (phi == 0.0) phi = 1e-6;
        else if (phi == 90.0) phi = 89.9999999;
        constexpr double kDegToRad = 0.017453292519943295;
        const double phi_rad = phi * kDegToRad;
        const double dlon_rad = std::fabs(dlon_deg) * kDegToRad;
        const double beta = std::acos(std::cos(phi_rad) * std::cos(dlon_rad));
        const double q = std::sin(beta) / (6.610794055947345 - std::cos(beta));
        angle = std::atan(std::sqrt(1.0 + q * q) * std::sin(dlon_rad) / std::tan(phi_rad));
    }
    if (first == 'V') angle += 1.5707963267948966;
    return angle;
}
