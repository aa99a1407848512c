#include "framework/output/file_limit.h"

#include <cstdio>

#include "platform/messagebox.h"

namespace orbiscope {

void ShowFileTooLarge(QWidget* owner, const std::string& fileName, std::uint64_t limitBytes, std::string_view kind)
{
    char format[160];
    std::snprintf(format, sizeof format,
                  "%%s\r\nThis file is larger than %llu MB, more than %.*s holds: it was not read.",
                  static_cast<unsigned long long>(limitBytes >> 20), static_cast<int>(kind.size()), kind.data());
    platform::MessageBox(owner, platform::FileMessage{format, fileName}, "File Too Large",
                         platform::MB_ICONEXCLAMATION);
}

}  // namespace orbiscope
