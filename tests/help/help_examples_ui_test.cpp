// Every example a user could type that the help pages give is marked in its
// page as <kbd class="example" data-kind="KIND" data-gives="WHAT">TEXT</kbd>
// (plain text, no entities) and fed here to the part of the program that
// reads that kind of text, the way the program reads it: it must give what
// the page says.  A refused example gives the words of the message that
// refuses it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>

#include "framework/forms/calculator.h"
#include "framework/forms/field_check.h"
#include "linkbudget/engine/input_text.h"
#include "linkbudget/windows/budget_checks.h"
#include "pointing/alignment/dual_feed.h"
#include "pointing/alignment/magvar_batch.h"
#include "pointing/sun/solar_batch_forms.h"
#include "propagation/coordinates.h"
#include "rftools/calculators/antenna_forms.h"
#include "rftools/calculators/receive_chain.h"
#include "rftools/tables/table_forms.h"
#include "tests/desktop/desktop_support.h"
#include "tests/linkbudget/engine/budget_fixtures.h"

namespace {

struct Example {
    std::string page, kind, text, gives, mode;
};

std::vector<Example> ExamplesIn(const std::filesystem::path& help)
{
    static const std::regex element(R"re(<kbd class="example"([^>]*)>([^<]*)</kbd>)re");
    static const std::regex attribute(R"re(data-([a-z]+)="([^"]*)")re");
    std::vector<Example> examples;
    for (const auto& entry : std::filesystem::directory_iterator(help)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (std::sregex_iterator m(html.begin(), html.end(), element), end; m != end; ++m) {
            Example e{entry.path().filename().string(), "", (*m)[2], "", ""};
            const std::string attributes = (*m)[1];
            for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute); a != end; ++a) {
                if ((*a)[1] == "kind") e.kind = (*a)[2];
                if ((*a)[1] == "gives") e.gives = (*a)[2];
                if ((*a)[1] == "mode") e.mode = (*a)[2];
            }
            examples.push_back(e);
        }
    }
    return examples;
}

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

class HelpExamples : public ::testing::Test {
protected:
    // What the program makes of an example, by its kind; "" for a kind no
    // reader is known for.
    std::string Feed(const Example& e)
    {
        program.messages.calls.clear();
        const std::string read = Read(e);
        return program.messages.calls.empty() ? read : program.messages.calls.front().text;
    }

    std::string Read(const Example& e)
    {
        const std::string& t = e.text;
        TForm form(nullptr, 1, "Example", {});  // the shared field checks, as every dialog runs them
        using FT = FieldType;
        if (e.kind == "expression") return Evaluate(t, e.mode != "radians");
        if (e.kind == "fec")  // the budgets' and the bandwidth calculator's FEC code rate
            return form.CheckFraction(t, 0.001, 1, "FEC") ? Number(lbtext::FecRate(t.c_str())) : "";
        if (e.kind == "latitude" || e.kind == "longitude") {
            const bool lat = e.kind == "latitude";
            return form.CheckField("Example", t, lat ? FT::Latitude : FT::Longitude, 0, lat ? 90 : 180, "")
                       ? Number(ParseLatLon(t))
                       : "";
        }
        if (e.kind == "latitude-dm" || e.kind == "longitude-dm") {  // the town editor's degrees.minutes
            const bool lat = e.kind == "latitude-dm";
            return form.CheckField("Example", t, lat ? FT::LatitudeDMM : FT::LongitudeDMM, 0, lat ? 90 : 180, "")
                       ? Number(DegMinToDegrees(ParseLatLon(t)))
                       : "";
        }
        if (e.kind == "budget-antenna" || e.kind == "budget-lnb" || e.kind == "budget-rolloff")
            return Budget(e.kind, t, form);
        if (e.kind == "m-ary") {  // M, as the budgets, the bandwidth calculator and the Eb/No graph check it
            const bool oneBit = e.mode == "1bit", qam = e.mode == "qam";
            return form.CheckMary(t, oneBit, qam) ? Number(LeadingNumber(t)) : "";
        }
        if (e.kind == "log-ber") {  // the modulation comparison table's error rate
            orbiscope::tables::BerRecord r{};
            TBerForm ber(program.app->Frame(), r);
            ber.SetControlText(TBerForm::kLog10Ber, t);
            return ber.CanClose() ? Number(std::pow(10.0, LeadingNumber(t))) : "";
        }
        if (e.kind == "time-zone") {  // the solar transit table's hours ahead of Greenwich
            orbiscope::tables::SolarTransitRecord r{};
            TSolarTransitForm transit(program.app->Frame(), r);
            using F = TSolarTransitForm;
            const std::pair<int, std::string> fields[] = {
                {F::kSiteName, "Frankfurt"}, {F::kSiteLatitude, "50.11N"}, {F::kSiteLongitude, "8.68E"},
                {F::kZone, t},               {F::kTargetLongitude, "8.68E"}, {F::kMonth, "1"}, {F::kYear, "2025"}};
            for (const auto& [id, text] : fields) transit.SetControlText(id, text);
            return transit.CanClose() ? Number(LeadingNumber(t)) : "";
        }
        if (e.kind == "beamwidth-level") {
            // The nominal beamwidth calculator on a dish 100 wavelengths
            // across: the -3 dB width is 70 wavelengths over the aperture.
            using F = TCalcBeamwidthForm;
            return Calculator(F::kCommand, 2500, {{F::kLevel, t}, {F::kFrequency, "29.9792458"}, {F::kAperture, "1"}},
                              F::kResult);
        }
        if (e.kind == "feed-efficiency") {
            DualFeedInputRecord r{};
            SetText(r.efficiency, t.c_str());
            const DualFeedInputs in = ParseDualFeedRecord(r);
            return in.efficiencyIsGain ? "gain " + Number(in.efficiency) + " dBi" : Number(in.efficiency) + " %";
        }
        if (e.kind == "noise-entry") {  // the G/T calculator's noise column
            switch (rfcalc::NoiseKindOf(t)) {
            case rfcalc::NoiseKind::Auto: return "auto";
            case rfcalc::NoiseKind::Temperature: return Number(LeadingNumber(t)) + " K";
            case rfcalc::NoiseKind::Figure: return Number(LeadingNumber(t)) + " dB";
            }
        }
        if (e.kind == "magvar-record") {
            std::vector<std::uint8_t> buffer(TMagVarBatchForm::kFileBytes, 0);
            TMagVarBatchForm batch(program.app->Frame(), buffer.data(), buffer.size());
            batch.SetControlText(TMagVarBatchForm::kFileId, InputFile(t));
            batch.CanClose();
            if (batch.Sites().size() != 1) return "";
            program.messages.calls.clear();  // the output file type it asks for once the file is read
            const MagVarSite& s = batch.Sites()[0];
            return s.name + " " + Number(s.latitude) + " " + Number(s.longitude);
        }
        if (e.kind == "sites-record" || e.kind == "satellites-record") return SunBatch(e.kind == "sites-record", t);
        return "";
    }

    // The Expression Evaluator of the Calculate menu, as the user runs it.
    std::string Evaluate(const std::string& text, bool degrees)
    {
        std::string result;
        int step = 0;
        platform::SetDialogDriver(TEvalForm::kResourceId, [&](platform::Dialog& d) {
            if (step++ > 0) {
                result = d.GetControlText(TEvalForm::kResult);
                return platform::IDCANCEL;
            }
            d.SetControlText(TEvalForm::kExpression, text);
            d.SetCheck(TEvalForm::kDegrees, degrees ? 1 : 0);
            d.SetCheck(TEvalForm::kRadians, degrees ? 0 : 1);
            return platform::IDOK;
        });
        program.app->Dispatch(TEvalForm::kCommand);
        platform::ClearDialogDrivers();
        return result;
    }

    // A calculator of the Calculate menu, as the user runs it: its fields
    // typed, OK, and what its result shows.
    std::string Calculator(int command, int dialog, const std::vector<std::pair<int, std::string>>& fields, int result)
    {
        std::string shown;
        int step = 0;
        platform::SetDialogDriver(dialog, [&](platform::Dialog& d) {
            if (step++ > 0) {
                shown = d.GetControlText(result);
                return platform::IDCANCEL;
            }
            for (const auto& [id, text] : fields) d.SetControlText(id, text);
            return platform::IDOK;
        });
        program.app->Dispatch(command);
        platform::ClearDialogDrivers();
        return shown;
    }

    // A GEO budget's field, through the budgets' check and the budget's own reading.
    std::string Budget(const std::string& kind, const std::string& text, TForm& form)
    {
        FixedAtmosphere atmosphere;
        RecordingHost host;
        GeoLinkBudget budget{atmosphere, host};
        GeoLinkInputRecord& r = budget.record;
        FillHandBudget(r);
        if (kind == "budget-antenna") {
            SetText(r.upEfficiency, text.c_str());
            if (!budgetcheck::CheckAntenna(form, "Antenna gain", "Antenna efficiency", r.upEfficiency, r.upDiameter,
                                           r.upFrequency, 1))
                return "";
            budget.ParseInputs();
            return budget.in.up.gainGiven ? "gain " + Number(lbtext::Number(r.upEfficiency)) + " dBi"
                                          : Number(budget.in.up.efficiency) + " %";
        }
        if (kind == "budget-rolloff") {  // one plus the roll-off: the occupied bandwidth over the symbol rate
            SetText(r.rollOff, text.c_str());
            if (!budgetcheck::CheckCarrier(form, r, "Required target", 100)) return "";
            budget.ParseInputs();
            return Number(budget.in.rollOff);
        }
        SetText(r.lnbNoise, text.c_str());
        budget.ParseInputs();
        return Number(budget.in.lnb) + (budget.in.lnbIsTemperature ? " K" : " dB");
    }

    // A sun outage batch over a file of one record: the report's line of
    // that record, without the look angles.
    std::string SunBatch(bool sites, const std::string& record)
    {
        using namespace solarform;
        const std::string output = (program.dir.Path() / "outages.tab").string();
        std::filesystem::remove(output);
        const std::pair<int, std::string> fields[] = {
            {kBatchFile, InputFile(record)}, {kSiteName, "Reading"}, {kSiteLatitude, "51.45N"},
            {kSiteLongitude, "0.97W"},       {kZone, "0"},           {kAperture, "1.2"},
            {kSatName, "Testsat"},           {kSatLongitude, "28.2E"}, {kYear, "2025"},
            {kFrequency, "11.7"}};
        platform::SetDialogDriver(sites ? 590 : 595, [&](platform::Dialog& d) {
            for (const auto& [id, text] : fields) d.SetControlText(id, text);
            return platform::IDOK;
        });
        platform::QueueFileDialogAnswer({{output}});
        program.app->Dispatch(sites ? TSolarBatchForm::kCommand : TSunBatchForm::kCommand);
        platform::ClearDialogDrivers();
        platform::ClearFileDialogAnswers();
        std::ifstream in(output);
        const std::string name = record.substr(0, record.find(','));
        for (std::string line; std::getline(in, line);) {
            if (line.rfind(name + ", ", 0) != 0) continue;
            const std::size_t angles = line.find(", EL="), after = line.find(", TZ=");
            return line.substr(0, angles) + (after == std::string::npos ? "" : line.substr(after));
        }
        return "";
    }

    std::string InputFile(const std::string& text)
    {
        const std::filesystem::path file = program.dir.Path() / "example.txt";
        std::ofstream(file, std::ios::binary) << text << "\r\n";
        return file.string();
    }

    desktoptest::ProgramFixture program;
};

TEST_F(HelpExamples, EveryExampleGivesWhatItsPageSays)
{
    const std::filesystem::path help = QCoreApplication::applicationDirPath().toStdString() + "/help";
    const std::vector<Example> examples = ExamplesIn(help);
    std::map<std::string, int> kinds;
    for (const Example& e : examples) {
        ++kinds[e.kind];
        EXPECT_EQ(Feed(e), e.gives) << e.page << ": " << e.kind << " \"" << e.text << '"';
    }
    // The pages' own: the evaluator's page names its functions by example.
    EXPECT_GE(kinds["expression"], 15);
    for (const char* kind : {"fec", "latitude", "longitude", "latitude-dm", "longitude-dm", "budget-antenna",
                             "budget-lnb", "feed-efficiency", "noise-entry", "magvar-record", "sites-record",
                             "satellites-record", "m-ary", "budget-rolloff", "log-ber", "time-zone",
                             "beamwidth-level"})
        EXPECT_GE(kinds[kind], 1) << kind;
}

// An example left unmarked is never fed: a number that a page offers "for
// example", "such as" or "e.g." is marked, as an example a user types or,
// in <samp>, as what the program shows.
TEST_F(HelpExamples, NoNumberOfferedAsAnExampleIsUnmarked)
{
    static const std::regex marked(R"re(<kbd class="example"[^>]*>[^<]*</kbd>|<samp>[^<]*</samp>)re");
    static const std::regex offered(R"re(\b(for example|such as|e\.g\.)\s+[-+]?\.?[0-9])re");
    const std::filesystem::path help = QCoreApplication::applicationDirPath().toStdString() + "/help";
    for (const auto& entry : std::filesystem::directory_iterator(help)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        html = std::regex_replace(html, marked, "EXAMPLE");
        std::replace(html.begin(), html.end(), '\n', ' ');
        for (std::sregex_iterator m(html.begin(), html.end(), offered), end; m != end; ++m)
            ADD_FAILURE() << entry.path().filename().string() << ": \"" << html.substr(m->position(), 40) << '"';
    }
}

}  // namespace
