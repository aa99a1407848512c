// Scratch copies of a form's record.  A form whose transfer buffer is a
// record works on a copy read from its controls: close checks validate it,
// pickers and option buttons change it and put it back, and the window's
// own record is touched only by the transfer on OK.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

#include "framework/forms/form.h"

// The record as the controls hold it now, passed through `terminate` (which
// ends its texts at their last byte) when one is given.
template <class Record>
Record ReadScratch(const TForm& form, void (*terminate)(Record&) = nullptr)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    Record r;
    std::memset(&r, 0, sizeof r);
    const std::vector<std::uint8_t> v = form.ReadControls();
    std::memcpy(&r, v.data(), std::min(v.size(), sizeof r));
    if (terminate) terminate(r);
    return r;
}

// Puts a scratch copy back into the controls.
template <class Record>
void WriteScratch(TForm& form, const Record& r)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    form.WriteControls(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(&r), sizeof r));
}

// Zeroes the bytes after each edit's terminator in a record laid out as the
// transfer buffer of `controls`, as a run of the dialog leaves them, so that
// records compare byte for byte.  Fields beyond the record are left alone.
void ClearTextTails(std::span<std::uint8_t> record, const std::vector<platform::ControlSpec>& controls);

template <class Record>
void ClearTextTails(Record& record, const std::vector<platform::ControlSpec>& controls)
{
    static_assert(std::is_trivially_copyable_v<Record>);
    ClearTextTails(std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(&record), sizeof record), controls);
}
