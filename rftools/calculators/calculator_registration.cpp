#include "rftools/calculators/calculator_registration.h"

#include "rftools/calculators/antenna_forms.h"
#include "rftools/calculators/bandwidth_form.h"
#include "rftools/calculators/converter_forms.h"
#include "rftools/calculators/ionosphere_form.h"
#include "rftools/calculators/link_forms.h"

namespace orbiscope {

void RegisterCalculatorForms()
{
    calculators::RegisterBandwidthForm();
    calculators::RegisterConverterForms();
    calculators::RegisterAntennaForms();
    calculators::RegisterIonosphereForm();
    calculators::RegisterLinkForms();
}

}  // namespace orbiscope
