// Shared by the table window tests: the application of the rftools window
// tests with the table window registered and a country file and
// "satlist.geo" written in its program folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "rftools/tables/table_forms.h"
#include "rftools/tables/table_registration.h"
#include "tables_support.h"
#include "tests/rftools/rftools_ui_support.h"

namespace tablesui {

inline void SetTexts(platform::Dialog& d, const std::map<int, std::string>& texts)
{
    for (const auto& [id, text] : texts) d.SetControlText(id, text);
}

class TableFixture : public rftest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        orbiscope::RegisterTableWindows();
        WriteFile("satlist.geo", SatelliteFileBytes(SatList()));
        WriteFile("Testland.twn", TownFileBytes(Testland()));
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        TTableForm::SetPickers({}, {});
        AppTest::TearDown();
    }
    static std::vector<SatelliteRecord> SatList() { return tablestest::TestSatellites(); }
    static std::vector<TownRecord> Testland() { return tablestest::Testland(); }
};

}  // namespace tablesui
