#include "framework/output/document_fields.h"

#include <algorithm>

bool ReadCountedField(DocumentFile& file, void* destination, int kind, std::int32_t& total, std::int32_t limit)
{
    const int size = DocFieldSize(kind);
    if (size == 0) {
        file.Close();
        return false;
    }
    total += size;
    if (total > limit || !file.ReadExact(destination, std::size_t(size))) {
        file.Close();
        return false;
    }
    return true;
}

bool ReadUncountedField(DocumentFile& file, void* destination, int kind)
{
    const int size = DocFieldSize(kind);
    if (size == 0 || !file.ReadExact(destination, std::size_t(size))) {
        file.Close();
        return false;
    }
    return true;
}

bool DocumentFieldReader::WideState(ButtonState& s)
{
    std::uint8_t wide[4] = {};
    if (!Field(wide, kDocWord32)) return false;
    s.bytes[0] = wide[0];
    s.bytes[1] = wide[1];
    return true;
}

bool DocumentFieldReader::Flag(std::uint16_t& value)
{
    std::uint8_t b[2] = {};
    if (!Field(b, kDocState)) return false;
    value = std::uint16_t(b[0] | (b[1] << 8));
    return true;
}

bool DocumentFieldReader::UncountedFlag(std::uint16_t& value)
{
    if (!Flag(value)) return false;
    total_ -= 2;
    return true;
}

bool DocumentFieldReader::Skip(std::size_t bytes)
{
    char scratch[32];
    while (bytes > 0) {
        const std::size_t chunk = std::min(bytes, sizeof scratch);
        if (!file_.ReadExact(scratch, chunk)) {
            file_.Close();
            return false;
        }
        bytes -= chunk;
    }
    return true;
}
