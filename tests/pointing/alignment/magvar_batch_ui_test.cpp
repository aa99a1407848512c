// The magnetic-variation batch: its report lines, a run from a file, and
// faulty files.
#include <cmath>

#include "pointing/alignment/magvar_batch.h"
#include "tests/pointing/pointing_ui_support.h"

namespace {

// Declinations chosen by hand for the report test: 0 exactly at the
// equator, west (negative) in the Americas, east elsewhere.
double HandDeclination(double latitude, double longitude)
{
    if (latitude == 0.0 && longitude == 0.0) return 0.0;
    return longitude < -30.0 ? -13.456 : 2.004;
}

TEST(MagVarReport, LinesWithHemisphereSuffixes)
{
    const std::vector<MagVarSite> sites = {
        {"Equator", 0.0, 0.0}, {"Boston", 42.36, -71.06}, {"Hobart", -42.88, 147.33}};
    const std::vector<std::string> expected = {
        "Magnetic Variation: Tuesday 5 March 2024 (all values in degrees)",
        " ",
        "Site\tLat\tLong\tMag.Var.~",
        "Equator\t0.00N\t0.00E\t0.00E",
        "Boston\t42.36N\t71.06W\t13.46W",
        "Hobart\t42.88S\t147.33E\t2.00E",
    };
    EXPECT_EQ(MagVarReportLines(sites, "Tuesday 5 March 2024", HandDeclination), expected);
}

class MagVarBatch : public pointingtest::SunWindows {
protected:
    std::vector<std::string> Run(const std::string& input, int answer)
    {
        platform::SetDialogDriver(TMagVarBatchForm::kResourceId, [input](platform::Dialog& d) {
            d.SetControlText(TMagVarBatchForm::kFileId, input);
            return platform::IDOK;
        });
        app->messages.yesNoAnswer = answer;
        output = (Dir() / (answer == platform::IDYES ? "magvar.tab" : "magvar.html")).string();
        platform::QueueFileDialogAnswer({{output}});
        app->app->Dispatch(TMagVarBatchForm::kCommand);
        return pointingtest::Lines(pointingtest::ReadFile(output));
    }
    std::string output;
};

TEST_F(MagVarBatch, RecordsOverLinesToTabbedText)
{
    const std::string longName(90, 'x');
    const std::string input = WriteFile("sites.txt", "  Paris,48.85N,\r\n2.35E;\r\n" + longName + ",10.00S,20.00W;");
    const auto lines = Run(input, platform::IDYES);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Magnetic Variation: Tuesday 5 March 2024 (all values in degrees)");
    EXPECT_EQ(lines[2], "Site\tLat\tLong\tMag.Var.");
    EXPECT_EQ(lines[3].rfind("Paris\t48.85N\t2.35E\t", 0), 0u) << lines[3];
    EXPECT_EQ(lines[4].rfind(std::string(79, 'x') + "\t10.00S\t20.00W\t", 0), 0u) << lines[4];
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Select Output File Type|'Yes' for default tabbed text file, 'No' for HTML file"}));
    // The name is kept for the next run.
    EXPECT_EQ(transfer::GetText(app->app->FormRecord(TMagVarBatchForm::kStoredRecord), 0, 261), input);
}

TEST_F(MagVarBatch, NoGivesHtml)
{
    const std::string input = WriteFile("sites.txt", "Paris,48.85N,2.35E;");
    Run(input, platform::IDNO);
    EXPECT_NE(pointingtest::ReadFile(output).find("<table"), std::string::npos);
}

struct FaultCase { const char* name; std::string input; std::vector<std::string> messages; };

const FaultCase kFaults[] = {
    {"longitude without suffix on line 2", "Paris,48.85N,2.35E;\nRome,41.90N,12.50;",
     {"Suffix Missing Error (N,S,E or W)|Text file: Site longitude", "Batch File Error|Line: 2"}},
    {"a record without its longitude on line 1", "Paris,48.85N;",
     {"Empty Field Error|Text file: Site longitude", "Batch File Error|Line: 1"}},
    {"an empty file", "", {"Batch File Error|Line: 0"}},
};

TEST_F(MagVarBatch, FaultyFilesWriteNothing)
{
    for (const auto& c : kFaults) {
        app->messages.calls.clear();
        const std::string input = WriteFile("faulty.txt", c.input);
        Run(input, platform::IDYES);
        EXPECT_EQ(Messages(), c.messages) << c.name;
        EXPECT_FALSE(std::filesystem::exists(output)) << c.name;
        platform::ClearFileDialogAnswers();
    }
}

TEST_F(MagVarBatch, MissingFile)
{
    Run((Dir() / "nowhere.txt").string(), platform::IDYES);
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].caption, "Unable to open file");
}

}  // namespace
