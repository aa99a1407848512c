#include "pointing/sun/batch_input.h"

#include <cstdio>
#include <filesystem>

#include "framework/app/orbiscope.h"
#include "framework/forms/form.h"
#include "platform/messagebox.h"
#include "platform/services.h"

namespace orbiscope::sun {

bool LoadBatchRecords(TForm& form, const std::string& fileName, int fieldCount, std::vector<BatchRecord>& records)
{
    if (TOrbiscope* app = form.App()) app->SetProgramDir();
    std::filesystem::path path(fileName);
    if (path.is_relative()) path = platform::ProgramDirectory() / path;
    std::error_code ec;
    std::vector<std::uint8_t> bytes;
    if (!std::filesystem::is_regular_file(path, ec) || !platform::ReadWholeFile(path, bytes)) {
        platform::MessageBox(&form, platform::FileMessage{"%s", fileName}, "Unable to open file",
                             platform::MB_ICONEXCLAMATION);
        return false;
    }
    records = ReadBatchRecords(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                               fieldCount);
    return true;
}

bool CheckBatchField(TForm& form, std::string_view label, const BatchField& field, FieldType type, double minimum,
                     double maximum, std::string_view unit)
{
    if (field.outsideLatin1) {
        const FieldMessage message = UnstorableTextMessage(label);
        form.ReportFieldError(message.text, message.caption);
        return false;
    }
    return form.CheckField(label, field.text, type, minimum, maximum, unit);
}

void ReportBatchLine(TForm& form, int line)
{
    char text[32];
    std::snprintf(text, sizeof text, "Line: %d", line);
    platform::MessageBox(&form, text, "Batch File Error", platform::MB_ICONEXCLAMATION);
}

}  // namespace orbiscope::sun
