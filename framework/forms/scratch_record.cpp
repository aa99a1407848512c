#include "framework/forms/scratch_record.h"

void ClearTextTails(std::span<std::uint8_t> record, const std::vector<platform::ControlSpec>& controls)
{
    for (const platform::ControlSpec& c : controls) {
        if (c.kind != platform::ControlKind::Edit || c.textLimit <= 0) continue;
        const long offset = platform::TransferOffset(controls, c.id);
        if (offset < 0) continue;
        const std::size_t begin = std::size_t(offset);
        const std::size_t end = std::min(record.size(), begin + std::size_t(c.textLimit));
        std::size_t at = begin;
        while (at < end && record[at] != 0) ++at;
        std::fill(record.begin() + long(at), record.begin() + long(end), std::uint8_t{0});
    }
}
