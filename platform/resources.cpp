#include "platform/resources.h"

#include <map>

namespace platform {

namespace {

std::map<int, std::span<const std::uint8_t>>& Table()
{
    static std::map<int, std::span<const std::uint8_t>> table;
    return table;
}

}  // namespace

void RegisterBitmapResource(int id, std::span<const std::uint8_t> bytes) { Table()[id] = bytes; }

std::span<const std::uint8_t> FindBitmapResource(int id)
{
    const auto it = Table().find(id);
    return it == Table().end() ? std::span<const std::uint8_t>() : it->second;
}

}  // namespace platform
