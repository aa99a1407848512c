// Any bytes as the site file of the magnetic-variation batch: read, every
// field checked, every site's declination found and the report written as
// tabbed text (even lengths) or as an HTML page (odd ones).
#include "fuzz/batch_support.h"
#include "platform/messagebox.h"
#include "pointing/alignment/magvar_batch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const fuzzsupport::BatchForm form{TMagVarBatchForm::kResourceId, TMagVarBatchForm::kCommand,
                                             TMagVarBatchForm::kFileId, "sites.txt"};
    // The output question is the only one with two answers.
    platform::SetMessageBoxSink([size](const platform::MessageBoxCall& call) {
        if (!call.YesNo()) return platform::IDOK;
        return size % 2 ? platform::IDNO : platform::IDYES;
    });
    fuzzsupport::RunBatchForm(form, data, size, [](platform::Dialog&) {});
    return 0;
}
