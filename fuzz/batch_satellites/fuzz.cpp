// Any bytes as the satellite file of the solar-outage batch for one site:
// read, every field checked, every satellite searched and the report
// written, in the layout and with the search options the input's length
// picks.
#include "fuzz/batch_support.h"
#include "pointing/sun/solar_batch_forms.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace solarform;
    static const fuzzsupport::BatchForm form{TSunBatchForm::kDefinition.resourceId, TSunBatchForm::kCommand,
                                             kBatchFile, "satellites.txt"};
    fuzzsupport::RunBatchForm(form, data, size, [size](platform::Dialog& d) {
        d.SetControlText(kSiteName, "Fuzz, London");
        d.SetControlText(kSiteLatitude, "51.50N");
        d.SetControlText(kSiteLongitude, "0.12W");
        d.SetControlText(kYear, "2025");
        d.SetControlText(kZone, "0");
        d.SetControlText(kAperture, "1.2");
        d.SetControlText(kFrequency, "11.7");
        fuzzsupport::SetSolarBatchOptions(d, size);
    });
    return 0;
}
