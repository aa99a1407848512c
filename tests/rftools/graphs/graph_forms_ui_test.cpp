// The graph forms: the records they leave in the window and in the stored
// dialog values (byte for byte), their field checks in order, Clear, Help,
// the Site and Satellite buttons, and the values they start from.
#include <cstring>

#include "tests/rftools/graphs/graph_ui_support.h"

using namespace graphtest;

namespace {

class GraphForms : public GraphFixture {};

// The bytes of a record laid out by hand: texts zero-padded to their width,
// then 16-bit little-endian states.
std::vector<std::uint8_t> Bytes(std::initializer_list<std::pair<const char*, int>> texts,
                                std::initializer_list<std::uint16_t> words)
{
    std::vector<std::uint8_t> out;
    for (const auto& [text, width] : texts) {
        const std::size_t at = out.size();
        out.resize(at + std::size_t(width), 0);
        std::memcpy(out.data() + at, text, std::strlen(text));
    }
    for (std::uint16_t w : words) {
        out.push_back(std::uint8_t(w & 0xFF));
        out.push_back(std::uint8_t(w >> 8));
    }
    return out;
}

template <class Record>
std::vector<std::uint8_t> BytesOf(const Record& r)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
    return std::vector<std::uint8_t>(p, p + sizeof r);
}

TEST_F(GraphForms, AcceptedValuesAreStoredByteForByteAndReloadedNextTime)
{
    platform::SetDialogDriver(TTemplateForm::kResourceId,
                              Fill({{TTemplateForm::kDiameter, "1.2"}, {TTemplateForm::kEfficiency, "65"},
                                    {TTemplateForm::kFrequency, "12"}, {TTemplateForm::kAngularLimit, "26.3"}},
                                   {TTemplateForm::kCrossPolar, TTemplateForm::kBo1213}));
    TGraphWin* w = Graph(6323);
    ASSERT_NE(w, nullptr);
    // 4 x 13 bytes of text, then co-polar, cross-polar, BO.1213, combined.
    const auto expected = Bytes({{"1.2", 13}, {"65", 13}, {"12", 13}, {"26.3", 13}}, {0, 1, 1, 0});
    ASSERT_EQ(expected.size(), 60u);
    const auto stored = app->app->FormRecord(TTemplateForm::kStoredRecord);
    EXPECT_EQ(std::vector<std::uint8_t>(stored.begin(), stored.end()), expected);
    EXPECT_EQ(BytesOf(w->TemplateBuffer), expected);
    EXPECT_EQ(Lines(*w)[0], "Antenna Gain Template (Cross-Polar) - BO.1213");

    // The next form starts from the stored values, whatever its window holds.
    std::string seen;
    platform::SetDialogDriver(TTemplateForm::kResourceId, [&](platform::Dialog& d) {
        seen = d.GetControlText(TTemplateForm::kAngularLimit) + "/" + std::to_string(d.GetCheck(TTemplateForm::kBo1213));
        return platform::IDOK;
    });
    ASSERT_NE(Graph(6323), nullptr);
    EXPECT_EQ(seen, "26.3/1");
}

TEST_F(GraphForms, ChecksStopAtTheFirstFieldThatFails)
{
    struct Row {
        const char* name;
        int dialog;
        int command;
        std::vector<Entry> entries;
        std::vector<int> radios;
        const char* caption;  // of the one message, "" for none
        const char* text;     // start of its text
    };
    const Row rows[] = {
        {"angular limit 26.4", TTemplateForm::kResourceId, 6323,
         {{14027, "1.2"}, {14028, "65"}, {208, "12"}, {691, "26.4"}}, {}, "Range Error",
         "Angular X Limit\r\nRange 0.000001 to 26.300000 degrees"},
        {"angular limit 1e-6 passes", TTemplateForm::kResourceId, 6323,
         {{14027, "1.2"}, {14028, "65"}, {208, "12"}, {691, "0.000001"}}, {}, "", ""},
        {"efficiency before frequency", TTemplateForm::kResourceId, 6323,
         {{14027, "1.2"}, {14028, "9"}, {208, "99"}, {691, "5"}}, {}, "Range Error", "Antenna Efficiency"},
        {"beam aperture", TBeamForm::kResourceId, 6312, {{208, "12"}, {14027, "60"}}, {}, "Range Error", "Antenna aperture"},
        {"gain graph efficiency 20 % at least", TAntGainForm::kResourceId, 6313,
         {{208, "12"}, {14028, "19"}, {314, "2"}}, {}, "Range Error", "Antenna efficiency"},
        {"EIRP graph takes auto", TAntSysForm::kResourceId, 6314,
         {{208, "12"}, {311, "150"}, {14002, "36"}, {313, "6"}, {314, "AuTo"}}, {}, "", ""},
        {"EIRP graph refuses letters", TAntSysForm::kResourceId, 6314,
         {{208, "12"}, {311, "150"}, {14002, "36"}, {313, "6"}, {314, "big"}}, {}, "Invalid Character Error", ""},
        {"f/D", TFocalfD2Form::kResourceId, 6317, {{14027, "1.8"}, {8001, "2"}}, {}, "Range Error", "f/D ratio"},
        {"8-QAM passes", TEbNoNoCodeForm::kResourceId, 6321, {{4742, "8"}}, {TEbNoNoCodeForm::kQam}, "", ""},
        {"4-QAM", TEbNoNoCodeForm::kResourceId, 6321, {{4742, "4"}}, {TEbNoNoCodeForm::kQam}, "Value of M (QAM)",
         "M must be >= 8"},
        {"M of 6", TEbNoNoCodeForm::kResourceId, 6321, {{4742, "6"}}, {TEbNoNoCodeForm::kPsk}, "Modulation",
         "M must be 2 raised to a positive integer power"},
        {"rain polarization", TAttenForm::kResourceId, 6319,
         {{200, "Here"}, {201, "Sat"}, {202, "40N"}, {203, "3W"}, {205, "auto"}, {206, "10W"}, {215, "X"}}, {},
         "Invalid Character Error", ""},
        {"absorption availability 95 % at most", TAbsorbForm::kResourceId, 6318,
         {{200, "Here"}, {201, "Sat"}, {202, "40N"}, {203, "3W"}, {206, "10W"}, {4516, "99"}}, {}, "Range Error",
         "Availability"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CloseAll();
        app->messages.calls.clear();
        // OK once (checked), then Cancel if the form stayed open.
        int presses = 0;
        platform::SetDialogDriver(r.dialog, [&](platform::Dialog& d) {
            if (presses++ > 0) return platform::IDCANCEL;
            for (const Entry& e : r.entries) Type(d, e.id, e.text);
            for (int id : r.radios) Choose(d, id);
            return platform::IDOK;
        });
        TGraphWin* w = Graph(r.command);
        const bool refused = r.caption[0] != '\0';
        EXPECT_EQ(w == nullptr, refused);
        std::vector<platform::MessageBoxCall> checks;
        for (const auto& c : app->messages.calls)
            if (c.caption != "Elevation") checks.push_back(c);
        ASSERT_EQ(checks.size(), refused ? 1u : 0u);
        if (refused) {
            EXPECT_EQ(checks[0].caption, r.caption);
            EXPECT_EQ(checks[0].text.rfind(r.text, 0), 0u) << checks[0].text;
        }
    }
}

TEST_F(GraphForms, ClearHelpAndThePickers)
{
    struct Row { int dialog, command, typedField; std::vector<std::uint8_t> cleared; };
    // Clear empties the texts; the template selects co-polar and BO.1213, the modulation form M-PSK.
    const Row rows[] = {
        {TTemplateForm::kResourceId, 6323, 691, Bytes({{"", 13}, {"", 13}, {"", 13}, {"", 13}}, {1, 0, 1, 0})},
        {TEbNoNoCodeForm::kResourceId, 6321, 4742, Bytes({{"", 13}}, {0, 1, 0})},
        {TAttenForm::kResourceId, 6319, 200,
         Bytes({{"", 41}, {"", 41}, {"", 13}, {"", 13}, {"", 13}, {"", 13}, {"", 2}, {"", 13}, {"", 13}}, {0, 0, 0})},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.dialog);
        std::vector<std::uint8_t> seen;
        platform::SetDialogDriver(r.dialog, [&](platform::Dialog& d) {
            Type(d, r.typedField, "9");
            d.OnButton(120);
            seen = static_cast<TForm&>(d).ReadControls();
            return platform::IDCANCEL;
        });
        Graph(r.command);
        EXPECT_EQ(seen, r.cleared);
    }

    std::vector<int> topics;
    platform::HelpViewer::SetSink([&](const platform::HelpRequest& r) {
        topics.push_back(r.contextId);
        return true;
    });
    for (auto [dialog, command] : {std::pair{TFocalfD2Form::kResourceId, 6317}, std::pair{TBeamForm::kResourceId, 6311}}) {
        platform::SetDialogDriver(dialog, [](platform::Dialog& d) {
            d.OnButton(platform::IDHELP);
            return platform::IDCANCEL;
        });
        Graph(command);
    }
    EXPECT_EQ(topics, (std::vector<int>{8000, 6581}));

    // The Site and Satellite buttons copy what the pickers leave in the application.
    SetGraphPickers(
        [](TForm& f) {
            std::strcpy(f.App()->PickedSiteName, "Lisbon, Portugal");
            std::strcpy(f.App()->PickedSiteLatitude, "38.72N");
            std::strcpy(f.App()->PickedSiteLongitude, "9.14W");
            std::strcpy(f.App()->PickedSiteAltitude, "AUTO");
            return true;
        },
        [](TForm& f) {
            std::strcpy(f.App()->PickedSatName, "Testsat");
            std::strcpy(f.App()->PickedSatLongitude, "10.0W");
            return true;
        });
    graphs::AttenRecord picked{};
    platform::SetDialogDriver(TAttenForm::kResourceId, [&](platform::Dialog& d) {
        d.OnButton(TAttenForm::kSiteButton);
        d.OnButton(TAttenForm::kSatelliteButton);
        const auto v = static_cast<TForm&>(d).ReadControls();
        std::memcpy(&picked, v.data(), sizeof picked);
        return platform::IDCANCEL;
    });
    Graph(6319);
    EXPECT_EQ(FieldText(picked.location), "Lisbon, Portugal");
    EXPECT_EQ(FieldText(picked.siteLatitude), "38.72N");
    EXPECT_EQ(FieldText(picked.siteLongitude), "9.14W");
    EXPECT_EQ(FieldText(picked.siteAltitude), "AUTO");
    EXPECT_EQ(FieldText(picked.satellite), "Testsat");
    EXPECT_EQ(FieldText(picked.satelliteLongitude), "10.0W");
}

}  // namespace
