#include "pointing/sun/batch_input.h"

#include <cstdio>
#include <filesystem>

#include "framework/app/orbiscope.h"
#include "framework/forms/form.h"
#include "framework/output/file_limit.h"
#include "platform/atomic_file.h"
#include "platform/messagebox.h"
#include "platform/services.h"

namespace orbiscope::sun {

bool LoadBatchFile(TForm& form, const std::string& fileName, std::vector<std::uint8_t>& bytes)
{
    if (TOrbiscope* app = form.App()) app->SetProgramDir();
    std::filesystem::path path(fileName);
    if (path.is_relative()) path = platform::ProgramDirectory() / path;
    const platform::FileRead read = platform::ReadRegularFile(path, bytes, kMaxBatchFileBytes);
    if (read == platform::FileRead::TooLarge) {
        orbiscope::ShowFileTooLarge(&form, fileName, kMaxBatchFileBytes, "a batch input file");
        return false;
    }
    if (read != platform::FileRead::Whole) {
        platform::MessageBox(&form, platform::FileMessage{"%s", fileName}, "Unable to open file",
                             platform::MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CheckBatchField(TForm& form, std::string_view label, const BatchField& field, FieldType type, double minimum,
                     double maximum, std::string_view unit)
{
    if (field.outsideLatin1) {
        const FieldMessage message = field.byteOrderMark ? ByteOrderMarkMessage(label, field.markAtLineStart)
                                                         : UnstorableTextMessage(label);
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
