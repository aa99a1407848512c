// "orbisco.ini": the frame's placement among any other lines.  Writing a
// placement into the file keeps it readable and gives back what was written.
#include "framework/app/config_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("orbisco.ini")};
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    const std::optional<WindowPlacement> read = ReadPlacementFile(remover.path);
    if (read) {
        const auto bytes = read->ToBytes();
        FUZZ_CHECK(WindowPlacement::FromBytes(bytes).ToBytes() == bytes);
    }
    WindowPlacement written;
    written.left = 10;
    written.top = 20;
    written.right = 710;
    written.bottom = 520;
    if (!WritePlacementFile(remover.path, written)) return 0;
    const std::optional<WindowPlacement> again = ReadPlacementFile(remover.path);
    FUZZ_CHECK(again && again->ToBytes() == written.ToBytes());
    return 0;
}
