#include "framework/forms/scratch_record.h"

void ClearTextTails(std::span<std::uint8_t> record, const std::vector<platform::ControlSpec>& controls)
{
    for (const platform::TransferField& f : platform::TransferLayout(controls)) {
        if (!f.IsText() || f.offset >= record.size()) continue;
        const std::size_t begin = f.offset;
        const std::size_t end = std::min(record.size(), begin + f.size);
        std::size_t at = begin;
        while (at < end && record[at] != 0) ++at;
        std::fill(record.begin() + long(at), record.begin() + long(end), std::uint8_t{0});
    }
}
