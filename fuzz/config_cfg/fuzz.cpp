// "orbisco.cfg": the set-up record, read from any file.
#include "framework/app/config_files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::InputFileRemover remover{fuzzsupport::InputPath("orbisco.cfg")};
    if (!fuzzsupport::WriteInput(remover.path, data, size)) return 0;
    SetUpRecord record;
    const bool whole = ReadSetupFile(remover.path, record);
    FUZZ_CHECK(whole == (size >= SetUpRecord::kSize));
    // Each text ends inside its field, whatever the file held.
    FUZZ_CHECK(record.Company().size() < SetUpRecord::kCompanySize + 1);
    FUZZ_CHECK(record.SiteName().size() <= SetUpRecord::kSiteNameSize);
    FUZZ_CHECK(record.Latitude().size() <= SetUpRecord::kLatitudeSize);
    FUZZ_CHECK(record.Longitude().size() <= SetUpRecord::kLongitudeSize);
    (void)record.SaveDialogEntries();
    (void)record.RestrictTilt();
    return 0;
}
