// Any bytes as the site file of the solar-outage batch with one satellite:
// read, every field checked, every site searched and the report written, in
// the layout and with the search options the input's length picks.
#include "fuzz/batch_support.h"
#include "pointing/sun/solar_batch_forms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace solarform;
    static const fuzzsupport::BatchForm form{TSolarBatchForm::kDefinition.resourceId, TSolarBatchForm::kCommand,
                                             kBatchFile, "sites.txt"};
    fuzzsupport::RunBatchForm(form, data, size, [size](platform::Dialog& d) {
        d.SetControlText(kSatName, "Fuzzsat 28.2E");
        d.SetControlText(kSatLongitude, "28.2E");
        d.SetControlText(kYear, "2025");
        d.SetControlText(kFrequency, "11.7");
        fuzzsupport::SetSolarBatchOptions(d, size);
    });
    return 0;
}
