// Shared by the database window and picker tests: the application over a
// temporary program directory with the framework's own database windows,
// files written there, and dialog scripts that press buttons in turn.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/app/setup_form.h"
#include "framework/databases/country_win.h"
#include "framework/databases/databases.h"
#include "framework/databases/place_files.h"
#include "framework/databases/satellite_win.h"
#include "tests/framework/app/gui_support.h"

namespace dbtest {

inline TownRecord Town(const char* name, float lat, float lon)
{
    TownRecord t;
    SetRecordText(t.name, name);
    t.latitude = lat;
    t.longitude = lon;
    return t;
}

inline SatelliteRecord Satellite(const char* name, float lon, const char* bands)
{
    SatelliteRecord s;
    SetRecordText(s.name, name);
    s.longitude = lon;
    SetRecordText(s.bands, bands);
    return s;
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes)
{
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

// A dialog script that presses `buttons` one after the other; before each
// press `step(dialog, index)` may set controls or look at them.  Once the
// buttons are used up it answers 0 (the run ends as cancelled).  Every run
// of the dialog starts again from the first button.
inline platform::DialogScript Presses(std::vector<int> buttons,
                                      std::function<void(platform::Dialog&, int)> step = {})
{
    // Each run of the dialog (a new dialog object) starts from the first press.
    struct State {
        QPointer<platform::Dialog> dialog;   // null once that run's dialog is gone
        int index = 0;
    };
    auto state = std::make_shared<State>();
    return [buttons, step, state](platform::Dialog& d) {
        if (state->dialog.data() != &d) {
            state->dialog = &d;
            state->index = 0;
        }
        const int i = state->index++;
        if (step) step(d, i);
        return i < int(buttons.size()) ? buttons[std::size_t(i)] : 0;
    };
}

class DatabaseTest : public ::testing::Test {
protected:
    DatabaseTest()
    {
        databases::RegisterDatabases();
        f.messages.calls.clear();
    }
    ~DatabaseTest() override
    {
        platform::ClearDialogDrivers();
        TSetUpForm::SetSitePicker({});
    }

    std::filesystem::path Dir() const { return f.dir.Path(); }
    TOrbiscope& App() { return *f.app; }

    TMyWindow* Open(const std::filesystem::path& file)
    {
        f.app->Client()->OpenFile(file.c_str());
        QCoreApplication::processEvents();
        auto* child = f.app->Client()->ActiveDocumentChild();
        return child ? child->Document() : nullptr;
    }
    TCountryWin* OpenCountry(const char* name, const std::vector<TownRecord>& records)
    {
        WriteBytes(Dir() / name, TownFileBytes(records));
        return dynamic_cast<TCountryWin*>(Open(Dir() / name));
    }
    TSatelliteWin* OpenSatellites(const char* name, const std::vector<SatelliteRecord>& records)
    {
        WriteBytes(Dir() / name, SatelliteFileBytes(records));
        return dynamic_cast<TSatelliteWin*>(Open(Dir() / name));
    }

    std::vector<std::string> ReportLines(const TMyWindow& w) const
    {
        std::vector<std::string> lines;
        std::istringstream in{std::string(w.Report())};
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::string Company() const
    {
        SetUpRecord r;
        r.bytes = f.app->SetUpRecord;
        return r.Company();
    }
    std::vector<std::string> ListLines(platform::Dialog& d, int id) const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < d.ListCount(id); ++i) lines.push_back(d.ListString(id, i));
        return lines;
    }
    // Double-clicks a list line as the user would.
    static void DoubleClick(platform::Dialog& d, int listId, int line)
    {
        auto* list = qobject_cast<QListWidget*>(d.Control(listId));
        ASSERT_NE(list, nullptr);
        list->setCurrentRow(line);
        emit list->itemDoubleClicked(list->item(line));
    }

    testsupport::AppFixture f;
    testsupport::HelpRecorder help;
};

}  // namespace dbtest
