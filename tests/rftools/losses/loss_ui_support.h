// Shared by the window tests of the atmospheric losses: the application of
// the rftools window tests with the loss windows and the table window
// registered, every loss calculation over a known atmosphere.
#pragma once

#include <algorithm>
#include <cstring>
#include <utility>
#include <string>
#include <vector>

#include "fake_atmosphere.h"
#include "rftools/losses/atmos_loss_record.h"
#include "rftools/losses/loss_registration.h"
#include "rftools/losses/loss_table_builders.h"
#include "rftools/tables/table_registration.h"
#include "tests/rftools/rftools_ui_support.h"

namespace losstest {

class LossFixture : public rftest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        orbiscope::RegisterTableWindows();
        orbiscope::RegisterLossWindows();
        orbiscope::losses::SetLossAtmosphere(&atm);
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        orbiscope::losses::SetLossAtmosphere(nullptr);
        AppTest::TearDown();
    }
    FakeAtmosphere atm;
};

// A station in London looking at 28.2E.
inline void FillLondon(AtmosLossInputRecord& r)
{
    const std::pair<char*, const char*> texts[] = {
        {r.siteName, "London"},   {r.satName, "Astra 2E"},    {r.siteLatitude, "51.50N"}, {r.siteLongitude, "0.12W"},
        {r.siteAltitude, "auto"}, {r.satLongitude, "28.2E"},  {r.frequency, "11.7"},      {r.polarization, "H"},
        {r.availability, "99.99"}, {r.systemNoise, "120"},    {r.diameter, "1.2"},        {r.efficiency, "65"},
    };
    for (const auto& [field, text] : texts) std::strcpy(field, text);
}

inline bool HasLine(const std::string& report, const std::string& line)
{
    const std::vector<std::string> lines = Lines(report);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace losstest
