// "orbisco.dat": the stored values of the input dialogs, read from any file.
#include <vector>

#include "framework/app/config_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("orbisco.dat")};
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    // Records of exactly their sizes, so that a write past one is caught.
    std::vector<std::vector<std::uint8_t>> buffers;
    std::vector<std::span<std::uint8_t>> records;
    for (std::uint16_t bytes : kFormValueRecordSizes) buffers.emplace_back(bytes, std::uint8_t(0xA5));
    for (auto& b : buffers) records.emplace_back(b);
    const FormValuesRead read = ReadFormValuesFile(remover.path, records);
    FUZZ_CHECK((read == FormValuesRead::Whole) == (size >= kFormValueFileSize));
    return 0;
}
