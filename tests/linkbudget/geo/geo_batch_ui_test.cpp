// The GEO batch dialog through File > Run GEO Batch Link Budget Process:
// its settings come back from the stored dialog values and are kept only by
// OK; its checks; Select and Clear; and the batch processor it starts, once
// for real.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/app/registration.h"
#include "linkbudget/geo/geo_batch_form.h"
#include "tests/linkbudget/windows/window_support.h"

namespace {

using F = TGeoBatchForm;

class GeoBatch : public lbtest::WindowFixture {
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        orbiscope::RegisterCalculator(F::kCommand, F::Run);
        F::SetStarter([this](const BatchCommand& c) {
            started.push_back(c);
            return startSucceeds;
        });
    }
    void TearDown() override
    {
        F::SetStarter({});
        WindowFixture::TearDown();
    }
    std::span<std::uint8_t> Stored() { return app->app->FormRecord(F::kStoredRecord); }
    void Store(const GeoBatchSettings& s) { std::memcpy(Stored().data(), &s, sizeof s); }
    GeoBatchSettings StoredSettings()
    {
        GeoBatchSettings s;
        std::memcpy(&s, Stored().data(), sizeof s);
        return s;
    }
    // The menu command with a script for the dialog, which `close` ends.
    void Run(std::function<void(F&)> script, int close)
    {
        platform::SetDialogDriver(F::kResourceId, [script, close](platform::Dialog& d) {
            if (script) script(static_cast<F&>(d));
            return close;
        });
        app->app->Dispatch(F::kCommand);
    }
    static GeoBatchSettings Settings(const char* exe, const char* input, const char* output, int csv, int include,
                                     int quiet, int hide)
    {
        GeoBatchSettings s;
        std::memset(&s, 0, sizeof s);
        PutText(s.executable, exe);
        PutText(s.inputFile, input);
        PutText(s.outputBase, output);
        s.csv.Set(std::uint16_t(csv));
        s.includeInput.Set(std::uint16_t(include));
        s.quiet.Set(std::uint16_t(quiet));
        s.hideTerminal.Set(std::uint16_t(hide));
        return s;
    }

    std::vector<BatchCommand> started;
    bool startSucceeds = true;
};

// OK keeps what the dialog shows and starts the processor; the next opening
// shows it again.  Cancel (after Clear) keeps the stored settings as they were.
TEST_F(GeoBatch, SettingsComeBackAndOnlyOkKeepsThem)
{
    Store(Settings("/opt/batch", "in.txt", "out", 1, 0, 1, 0));
    std::string shown;
    int csv = -1;
    Run([&](F& f) {
        shown = f.GetControlText(F::kExecutable) + "|" + f.GetControlText(F::kInputFile) + "|" +
                f.GetControlText(F::kOutputBase);
        csv = f.GetCheck(F::kCsv);
        f.SetControlText(F::kInputFile, "second.txt");
        f.SetCheck(F::kHideTerminal, 1);
    }, platform::IDOK);
    EXPECT_EQ(shown, "/opt/batch|in.txt|out");
    EXPECT_EQ(csv, 1);
    const GeoBatchSettings kept = StoredSettings();
    EXPECT_EQ(FieldText(kept.inputFile), "second.txt");
    EXPECT_EQ(kept.hideTerminal.Value(), 1);
    EXPECT_EQ(kept.quiet.Value(), 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, "/opt/batch");
    EXPECT_EQ(started[0].arguments, (std::vector<std::string>{"second.txt", "out", "--csv", "--quiet"}));
    EXPECT_TRUE(started[0].hideTerminal);

    GeoBatchSettings cleared{};
    Run([&](F& f) {
        f.OnButton(F::kClear);
        cleared = f.Scratch();
    }, platform::IDCANCEL);
    EXPECT_EQ(FieldText(cleared.executable), "");
    EXPECT_EQ(FieldText(cleared.outputBase), "");
    EXPECT_EQ(cleared.includeInput.Value(), 1);
    EXPECT_EQ(cleared.hideTerminal.Value(), 0);
    EXPECT_EQ(std::memcmp(Stored().data(), &kept, sizeof kept), 0);
    EXPECT_EQ(started.size(), 1u);
    Run([&](F& f) { shown = f.GetControlText(F::kInputFile); }, platform::IDCANCEL);
    EXPECT_EQ(shown, "second.txt");
}

struct EmptyName {
    const char* exe;
    const char* input;
    const char* output;
    const char* label;
};

// The names are checked in order; the first empty one is named and the
// dialog stays open (the script then cancels it), nothing is kept or started.
TEST_F(GeoBatch, EmptyNamesAreRefusedInOrder)
{
    const EmptyName cases[] = {
        {"", "", "", "Orbiscope filename"},
        {"/opt/batch", "", "", "Input filename"},
        {"/opt/batch", "in.txt", "", "Base output filename"},
    };
    for (const EmptyName& c : cases) {
        const GeoBatchSettings before = Settings("keep", "keep", "keep", 0, 1, 0, 0);
        Store(before);
        app->messages.calls.clear();
        int calls = 0;
        platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
            if (calls++ > 0) return int(platform::IDCANCEL);
            d.SetControlText(F::kExecutable, c.exe);
            d.SetControlText(F::kInputFile, c.input);
            d.SetControlText(F::kOutputBase, c.output);
            return int(platform::IDOK);
        });
        app->app->Dispatch(F::kCommand);
        ASSERT_EQ(app->messages.calls.size(), 1u) << c.label;
        EXPECT_EQ(app->messages.calls[0].text, c.label);
        EXPECT_EQ(app->messages.calls[0].caption, "Empty Field Error");
        EXPECT_EQ(std::memcmp(Stored().data(), &before, sizeof before), 0) << c.label;
    }
    EXPECT_TRUE(started.empty());
}

// The batch processor is a separate program: a path naming Orbiscope itself
// (this very binary, directly, through a link, or a copy of it) is refused
// with a word on what the processor is, the path field takes the focus and
// the dialog stays open; another program is started as before.
TEST_F(GeoBatch, OrbiscopeItselfIsRefusedAsTheProcessor)
{
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    const std::filesystem::path link = app->dir.Path() / "batch";
    std::filesystem::create_symlink(self, link);
    const std::filesystem::path other = app->dir.Path() / "processor";
    std::ofstream(other) << "#!/bin/sh\n";
    std::filesystem::permissions(other, std::filesystem::perms::owner_all);
    const std::filesystem::path selfPath(self);
    const std::string roundabout =
        (selfPath.parent_path() / ".." / selfPath.parent_path().filename() / "." / selfPath.filename()).string();
    const std::filesystem::path hardLink = app->dir.Path() / "hard", copy = app->dir.Path() / "copy";
    std::error_code onAnotherDisk;
    std::filesystem::create_hard_link(self, hardLink, onAnotherDisk);
    std::filesystem::copy_file(self, copy);
    const std::filesystem::path nearly = app->dir.Path() / "nearly";  // as long, one byte apart
    std::filesystem::copy_file(self, nearly);
    std::fstream(nearly, std::ios::in | std::ios::out | std::ios::binary).put('x');
    const struct { std::string path; bool refused; } cases[] = {
        {self, true},
        {roundabout, true},
        {link.string(), true},
        {hardLink.string(), true},
        {copy.string(), true},
        {nearly.string(), false},
        {other.string(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        if (c.path == hardLink.string() && onAnotherDisk) {
            std::fprintf(stderr, "[  SKIPPED ] the hard-link row: the temporary folder lies on another file system (%s)\n",
                         onAnotherDisk.message().c_str());
            continue;
        }
        const GeoBatchSettings before = Settings("keep", "keep", "keep", 0, 1, 0, 0);
        Store(before);
        started.clear();
        app->messages.calls.clear();
        int calls = 0;
        int focused = 0;
        platform::SetDialogDriver(F::kResourceId, [&](platform::Dialog& d) {
            if (calls++ > 0) {
                focused = d.ControlId(d.focusWidget());
                return int(platform::IDCANCEL);
            }
            d.SetControlText(F::kExecutable, c.path);
            d.SetControlText(F::kInputFile, "in.txt");
            d.SetControlText(F::kOutputBase, "out");
            return int(platform::IDOK);
        });
        app->app->Dispatch(F::kCommand);
        if (c.refused) {
            EXPECT_EQ(calls, 2);
            ASSERT_EQ(app->messages.calls.size(), 1u);
            EXPECT_NE(app->messages.calls[0].text.find("separate program"), std::string::npos)
                << app->messages.calls[0].text;
            EXPECT_NE(app->messages.calls[0].text.find("not part of Orbiscope"), std::string::npos);
            EXPECT_EQ(focused, F::kExecutable);
            EXPECT_TRUE(started.empty());
            EXPECT_EQ(std::memcmp(Stored().data(), &before, sizeof before), 0);
        } else {
            EXPECT_EQ(calls, 1);
            EXPECT_TRUE(app->messages.calls.empty());
            ASSERT_EQ(started.size(), 1u);
            EXPECT_EQ(started[0].program, c.path);
        }
    }
}

// A path of 260 characters fits; the entries take no more.
TEST_F(GeoBatch, EntriesTakeTwoHundredAndSixtyCharacters)
{
    const std::string path260 = "/" + std::string(259, 'p');
    std::string fits, cut;
    Run([&](F& f) {
        f.SetControlText(F::kExecutable, path260);
        fits = f.GetControlText(F::kExecutable);
        f.SetControlText(F::kOutputBase, path260 + "q");
        cut = f.GetControlText(F::kOutputBase);
        f.SetControlText(F::kInputFile, "in.txt");
    }, platform::IDOK);
    EXPECT_EQ(fits, path260);
    EXPECT_EQ(cut, path260);
    EXPECT_EQ(FieldText(StoredSettings().executable), path260);
}

// Select asks for its file with its own title and filter and fills its entry
// only; the others keep what was typed.  Cancelled, it changes nothing.
TEST_F(GeoBatch, SelectFillsItsOwnEntry)
{
    GeoBatchSettings chosen{}, cancelled{};
    Run([&](F& f) {
        f.SetControlText(F::kExecutable, "typed exe");
        f.SetControlText(F::kOutputBase, "typed out");
        platform::QueueFileDialogAnswer({{"/data/chosen.txt"}});
        f.OnButton(F::kSelectInput);
        chosen = f.Scratch();
        platform::QueueFileDialogAnswer({});
        f.OnButton(F::kSelectOutput);
        cancelled = f.Scratch();
    }, platform::IDCANCEL);
    EXPECT_EQ(FieldText(chosen.inputFile), "/data/chosen.txt");
    EXPECT_EQ(FieldText(chosen.executable), "typed exe");
    EXPECT_EQ(FieldText(cancelled.outputBase), "typed out");
    const platform::FileDialogRequest& asked = platform::LastFileDialogRequest();
    EXPECT_EQ(asked.title, "Set Base Output Results Filename");
    EXPECT_EQ(asked.data.filter, "Text Files (*.txt)|*.txt");
    EXPECT_FALSE(asked.save);
}

// A processor that cannot be started is reported, with the program's title
// and no icon; the settings are kept all the same.
TEST_F(GeoBatch, FailureToStartIsReported)
{
    for (bool real : {false, true}) {
        started.clear();
        startSucceeds = false;
        if (real) F::SetStarter({});
        Store(Settings("/nonexistent/orbiscope-batch", "in.txt", "out", 0, 1, 0, 1));
        app->messages.calls.clear();
        Run(nullptr, platform::IDOK);
        ASSERT_EQ(app->messages.calls.size(), 1u) << real;
        EXPECT_EQ(app->messages.calls[0].text, "Failed to run orbiscope.ese");
        EXPECT_EQ(app->messages.calls[0].caption, orbiscope::kMainTitle);
        EXPECT_EQ(app->messages.calls[0].Icon(), 0u);
        EXPECT_EQ(FieldText(StoredSettings().executable), "/nonexistent/orbiscope-batch");
    }
}

// The processor really runs, detached, and gets each name as one argument
// however many blanks and shell characters it holds: nothing is run through
// a shell.
TEST_F(GeoBatch, TheProcessorGetsItsArgumentsAsTyped)
{
    F::SetStarter({});
    const std::filesystem::path folder = app->dir.Path();
    const std::filesystem::path script = folder / "batch processor.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\n"
               "out=\"$(dirname \"$0\")/args.txt\"\n"
               ": > \"$out.part\"\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$out.part\"; done\n"
               "mv \"$out.part\" \"$out\"\n";
    }
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string input = "budgets; touch " + (folder / "shell-ran").string();
    const std::string output = "$(touch " + (folder / "shell-ran-too").string() + ")";
    Store(Settings(script.c_str(), input.c_str(), output.c_str(), 1, 1, 0, 1));
    Run(nullptr, platform::IDOK);
    EXPECT_TRUE(app->messages.calls.empty());
    const std::filesystem::path args = folder / "args.txt";
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(args); }, 20000));
    std::ifstream in(args);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), input + "\n" + output + "\n--csv\n--include-input\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "shell-ran"));
    EXPECT_FALSE(std::filesystem::exists(folder / "shell-ran-too"));
}

}  // namespace
