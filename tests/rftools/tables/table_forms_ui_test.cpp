// The table forms: their records byte for byte in the stored dialog values,
// the field checks the tables call for, Clear, Help and the Site and
// Satellite buttons.
#include "tables_ui_support.h"

namespace {

using namespace orbiscope::tables;
using tablesui::SetTexts;

using MakeForm = std::function<std::unique_ptr<TTableForm>(std::vector<std::uint8_t>&)>;

template <class Form, class Record>
MakeForm Maker()
{
    return [](std::vector<std::uint8_t>& buffer) {
        buffer.assign(sizeof(Record), 0);
        return std::make_unique<Form>(nullptr, *reinterpret_cast<Record*>(buffer.data()));
    };
}

// A form with every field valid, and where each edit lands in its record.
struct FormCase {
    const char* form;
    MakeForm make;
    int storedRecord;
    std::map<int, std::string> texts;
    std::vector<std::pair<int, std::size_t>> offsets;  // edit, byte offset
};

const FormCase kForms[] = {
    {"TRecSiteForm", Maker<TRecSiteForm, RecSiteRecord>(), 27,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {1380, "5"}}, {{200, 0}, {202, 41}, {203, 54}, {1380, 67}}},
    {"TRecSiteForm2", Maker<TRecSiteForm2, RecSite2Record>(), 28,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {232, "Madrid"}, {233, "40.42N"}, {234, "3.70W"}, {1380, "2"}},
     {{200, 0}, {202, 41}, {203, 54}, {232, 67}, {233, 108}, {234, 121}, {1380, 134}}},
    {"TSolarTransitForm", Maker<TSolarTransitForm, SolarTransitRecord>(), 30,
     {{200, "London"}, {202, "51.50N"}, {203, "0.12W"}, {17001, "0"}, {107, "28.2E"}, {105, "3"}, {106, "2024"}},
     {{200, 0}, {202, 41}, {203, 54}, {17001, 67}, {107, 80}, {105, 93}, {106, 106}}},
    {"TFreqForm", Maker<TFreqForm, FreqRecord>(), 21, {{208, "12"}}, {{208, 0}}},
    {"TAntSysSmallForm", Maker<TAntSysSmallForm, AntSysSmallRecord>(), 4, {{208, "12"}, {311, "150"}, {14002, "36"}},
     {{208, 0}, {311, 13}, {14002, 26}}},
    {"TBerForm", Maker<TBerForm, BerRecord>(), 9, {{4738, "-5"}}, {{4738, 0}}},
    {"TSatPosForm", Maker<TSatPosForm, SatPosRecord>(), 29, {{206, "28.2E"}, {207, "-10"}}, {{206, 0}, {207, 13}}},
    {"TDualTabForm", Maker<TDualTabForm, DualTabRecord>(), 15,
     {{201, "Alpha"}, {229, "Beta"}, {206, "28.2E"}, {2863, "19.2E"}, {14027, "1.2"}, {8704, "0.6"}, {8705, "1.1"}},
     {{201, 0}, {229, 41}, {206, 82}, {2863, 95}, {14027, 108}, {8704, 121}, {8705, 134}}},
};

class TableForms : public tablesui::TableFixture {
protected:
    std::unique_ptr<TTableForm> Show(const FormCase& c)
    {
        auto form = c.make(buffer);
        form->SetupWindow();
        return form;
    }
    std::vector<std::uint8_t> buffer;
};

// OK stores each edit's text at its offset in the stored values, terminated;
// the next form of the kind starts from them.
TEST_F(TableForms, RecordsByteForByte)
{
    for (const FormCase& c : kForms) {
        SCOPED_TRACE(c.form);
        {
            auto form = Show(c);
            SetTexts(*form, c.texts);
            ASSERT_TRUE(form->CanClose());
        }
        const auto stored = app->app->FormRecord(c.storedRecord);
        for (const auto& [id, offset] : c.offsets) {
            const std::string& text = c.texts.at(id);
            EXPECT_EQ(std::string(stored.begin() + long(offset), stored.begin() + long(offset + text.size() + 1)),
                      text + '\0')
                << id;
        }
        auto again = Show(c);
        for (const auto& [id, text] : c.texts) EXPECT_EQ(again->GetControlText(id), text) << id;
    }
    EXPECT_EQ(app->app->FormRecord(27)[90], 1) << "the K&u box, ticked at first start, is the sixth band word";
    EXPECT_TRUE(Messages().empty());
}

struct CheckCase {
    const char* name;
    std::size_t form;  // in kForms, its valid texts changed by one
    int id;
    const char* text;
    std::string message;  // caption|text; empty: accepted
};
const CheckCase kChecks[] = {
    {"one site takes 15 degrees", 0, 1380, "15", ""},
    {"two sites refuse 15 degrees", 1, 1380, "15", "Range Error|Minimum elevation\r\nRange 0.000000 to 10.000000 degrees"},
    {"year 1979", 2, 106, "1979", "Range Error|Year\r\nRange 1980.000000 to 3000.000000 "},
    {"time zone 14.5", 2, 17001, "14.5", "Range Error|International time zone\r\nRange -12.000000 to 14.000000 "},
    {"log BER -15", 5, 4738, "-15", ""},
    {"log BER -20, whatever the hint says", 5, 4738, "-20",
     "Range Error|Minimum log10(BER)\r\nRange -15.000000 to -0.100000 "},
    {"cant beyond 90", 6, 207, "91", "Range Error|Spot polarization cant\r\nRange -90.000000 to 90.000000 \xB0"},
};

TEST_F(TableForms, FieldChecks)
{
    for (const CheckCase& c : kChecks) {
        SCOPED_TRACE(c.name);
        auto form = Show(kForms[c.form]);
        SetTexts(*form, kForms[c.form].texts);
        form->SetControlText(c.id, c.text);
        app->messages.calls.clear();
        EXPECT_EQ(form->CanClose(), c.message.empty());
        EXPECT_EQ(Messages(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    }
}

TEST_F(TableForms, BandBoxesAndClear)
{
    auto form = Show(kForms[1]);
    SetTexts(*form, kForms[1].texts);
    form->SetCheck(455, 0);
    EXPECT_FALSE(form->CanClose());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Check Box Error|No active band selected"});
    form->SetCheck(461, 1);
    EXPECT_TRUE(form->CanClose());
    form->OnButton(TTableForm::kClear);
    for (const auto& [id, text] : kForms[1].texts) EXPECT_EQ(form->GetControlText(id), "") << id;
    for (int id : {457, 458, 453, 454, 459, 456, 460, 461}) EXPECT_EQ(form->GetCheck(id), 0) << id;
    EXPECT_EQ(form->GetCheck(455), 1);
}

// Help opens the dialog's topic; F1 on any field a topic of the help pages
// the program ships.
TEST_F(TableForms, HelpTopics)
{
    platform::SetProgramDirectoryOverride(QCoreApplication::applicationDirPath().toStdString());
    std::vector<int> sent;
    platform::HelpViewer::SetSink([&](const platform::HelpRequest& r) {
        sent.push_back(r.contextId);
        return true;
    });
    std::vector<int> dialogs;
    for (const FormCase& c : kForms) {
        auto form = Show(c);
        form->OnButton(platform::IDHELP);
        dialogs.push_back(sent.back());
        for (QObject* child : form->children())
            if (auto* control = dynamic_cast<TMyControl*>(child)) control->EvHelp();
    }
    EXPECT_EQ(dialogs, (std::vector<int>{718, 236, 900, 9235, 320, 16520, 3883, 8706}));
    EXPECT_EQ(sent.size(), 8u + 50u) << "every edit and band box";
    for (int id : sent) EXPECT_TRUE(platform::FindHelpTopic(id)) << id;
}

// The pickers leave their choice in the application; the buttons copy it
// into their own fields.
TEST_F(TableForms, SiteAndSatelliteButtons)
{
    TTableForm::SetPickers(
        [this](TForm&) {
            std::strcpy(app->app->PickedSiteName, "Leeds, Testland");
            std::strcpy(app->app->PickedSiteLatitude, "53.80N");
            std::strcpy(app->app->PickedSiteLongitude, "1.55W");
            return true;
        },
        [this](TForm&) {
            std::strcpy(app->app->PickedSatName, "Alpha");
            std::strcpy(app->app->PickedSatLongitude, "28.20E");
            return true;
        });
    auto transit = Show(kForms[2]);
    transit->OnButton(TTableForm::kSite);
    EXPECT_EQ(transit->GetControlText(202), "53.80N");
    EXPECT_EQ(transit->GetControlText(107), "1.55W") << "the site's own longitude: a transit table";
    transit->OnButton(TTableForm::kSatellite);
    EXPECT_EQ(transit->GetControlText(107), "28.20E") << "a satellite's: a coincidence table";
    EXPECT_EQ(transit->GetControlText(200), "Leeds, Testland");

    auto twoSites = Show(kForms[1]);
    twoSites->OnButton(TRecSiteForm2::kSite2);
    EXPECT_EQ(twoSites->GetControlText(232), "Leeds, Testland");
    EXPECT_EQ(twoSites->GetControlText(200), "");

    auto position = Show(kForms[6]);
    position->OnButton(TTableForm::kSatellite);
    EXPECT_EQ(position->GetControlText(206), "28.20E");

    // The dual-feed form fills the satellite whose field had the focus last.
    for (const auto& [focused, name] : std::vector<std::pair<int, int>>{{206, 201}, {201, 201}, {2863, 229}, {8705, 229}}) {
        auto dual = Show(kForms[7]);
        dual->show();
        dual->FocusControl(focused);
        QCoreApplication::processEvents();
        EXPECT_EQ(app->app->LastFocusedEntry, focused);
        dual->OnButton(TTableForm::kSatellite);
        EXPECT_EQ(dual->GetControlText(name), "Alpha") << focused;
    }
}

}  // namespace
