// Document-type registration: the command line option, the exact bytes of
// the desktop entry and of each class's mime package, and registering and
// removing them in a data folder of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "framework/app/shell_registration.h"
#include "tests/framework/app/gui_support.h"

namespace {

namespace fs = std::filesystem;

using testfiles::ReadText;

TEST(CommandLine, TokensAreNamesOptionsAndValues)
{
    using T = orbiscope::CmdLineToken;
    const auto tokens = orbiscope::TokenizeCommandLine({"-u", "/UNREG", "file.glb", "-opt=1", "/k:v:w", "-", ""});
    const std::vector<std::pair<T::Kind, std::string>> expected = {
        {T::Option, "u"},  {T::Option, "UNREG"}, {T::Name, "file.glb"}, {T::Option, "opt"}, {T::Value, "1"},
        {T::Option, "k"},  {T::Value, "v:w"},    {T::Option, ""}};
    ASSERT_EQ(tokens.size(), expected.size());
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        EXPECT_EQ(tokens[i].kind, expected[i].first) << i;
        EXPECT_EQ(tokens[i].text, expected[i].second) << i;
    }
}

TEST(ShellFiles, MimePackageOfTheCountryClass)
{
    // ".twn" is class 9: the numbers skip 7 and 8.
    EXPECT_EQ(orbiscope::MimePackageText(9, ".twn"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
              "  <mime-type type=\"application/x-orbiscope-doc-9\">\n"
              "    <comment>Country data</comment>\n"
              "    <glob pattern=\"*.twn\"/>\n"
              "  </mime-type>\n"
              "</mime-info>\n");
}

TEST(ShellFiles, DesktopEntryRunsTheVerbsThroughTheProgram)
{
    EXPECT_EQ(orbiscope::DesktopEntryText("/opt/orbiscope/bin/orbiscope"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Orbiscope Pro\n"
              "Exec=\"/opt/orbiscope/bin/orbiscope\" -ddeopen %f\n"
              "Terminal=false\n"
              "NoDisplay=true\n"
              "MimeType=application/x-orbiscope-doc-1;application/x-orbiscope-doc-2;application/x-orbiscope-doc-3;"
              "application/x-orbiscope-doc-4;application/x-orbiscope-doc-5;application/x-orbiscope-doc-6;"
              "application/x-orbiscope-doc-9;application/x-orbiscope-doc-11;application/x-orbiscope-doc-12;"
              "application/x-orbiscope-doc-13;application/x-orbiscope-doc-14;\n"
              "Actions=Print;\n"
              "\n"
              "[Desktop Action Print]\n"
              "Name=Print\n"
              "Exec=\"/opt/orbiscope/bin/orbiscope\" -ddeprint %f\n");
}

TEST(ShellFiles, ProgramPathIsQuotedAndEscaped)
{
    struct Case {
        const char* path;
        const char* exec;  // the open verb's line
    };
    const Case cases[] = {
        {"/home/a b/orbiscope", "Exec=\"/home/a b/orbiscope\" -ddeopen %f\n"},
        {"/x/100%/orbiscope", "Exec=\"/x/100%%/orbiscope\" -ddeopen %f\n"},
        {"/x/$HOME/o", "Exec=\"/x/\\\\$HOME/o\" -ddeopen %f\n"},
        {"/x/\"q\"/o", "Exec=\"/x/\\\\\"q\\\\\"/o\" -ddeopen %f\n"},
        {"/x/back\\slash/o", "Exec=\"/x/back\\\\\\\\slash/o\" -ddeopen %f\n"},
        {"/x/`cmd`/o", "Exec=\"/x/\\\\`cmd\\\\`/o\" -ddeopen %f\n"},
    };
    for (const Case& c : cases) EXPECT_NE(orbiscope::DesktopEntryText(c.path).find(c.exec), std::string::npos) << c.path;
    EXPECT_EQ(orbiscope::DesktopEntryText("/x/line\nbreak/o"), "");
}

TEST(ShellFiles, DataFolderFollowsXdgDataHome)
{
    orbiscope::SetShellDataFolder({});
    const char* saved = std::getenv("XDG_DATA_HOME");
    const std::string old = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/tmp/some-data", 1);
    EXPECT_EQ(orbiscope::ShellDataFolder(), fs::path("/tmp/some-data"));
    EXPECT_EQ(orbiscope::DesktopEntryPath(), fs::path("/tmp/some-data/applications/orbiscope.desktop"));
    EXPECT_EQ(orbiscope::MimePackagePath(3), fs::path("/tmp/some-data/mime/packages/Orbiscope.Doc.3.xml"));
    setenv("XDG_DATA_HOME", "relative/data", 1);  // not absolute: ignored
    EXPECT_EQ(orbiscope::ShellDataFolder(), fs::path(std::getenv("HOME")) / ".local/share");
    if (saved) setenv("XDG_DATA_HOME", old.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
}

class Registration : public ::testing::Test {
protected:
    Registration()
    {
        testsupport::App();
        orbiscope::SetShellDataFolder(data.Path());
        orbiscope::SetShellCacheUpdater([this](const fs::path& folder) { updates.push_back(folder); });
        app = std::make_unique<TOrbiscope>();
    }
    ~Registration() override
    {
        app.reset();
        orbiscope::SetShellCacheUpdater({});
        orbiscope::SetShellDataFolder({});
        platform::SetProgramDirectoryOverride({});
    }
    std::vector<fs::path> Files() const
    {
        std::vector<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(data.Path()))
            if (e.is_regular_file()) files.push_back(fs::relative(e.path(), data.Path()));
        std::sort(files.begin(), files.end());
        return files;
    }
    bool Registered() const { return fs::exists(orbiscope::DesktopEntryPath()); }

    testsupport::TempDir data;
    std::vector<fs::path> updates;
    std::unique_ptr<TOrbiscope> app;
};

TEST_F(Registration, WritesTheEntryAndOnePackagePerClass)
{
    app->RegisterExtensions();
    std::vector<fs::path> expected = {"applications/orbiscope.desktop"};
    for (const auto& c : orbiscope::DocClasses())
        expected.push_back(fs::path("mime/packages") / (orbiscope::DocClassName(c.number) + ".xml"));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Files(), expected);
    EXPECT_EQ(ReadText(orbiscope::DesktopEntryPath()),
              orbiscope::DesktopEntryText(QCoreApplication::applicationFilePath().toStdString()));
    EXPECT_EQ(ReadText(orbiscope::MimePackagePath(13)), orbiscope::MimePackageText(13, ".llb"));
    EXPECT_EQ(updates, std::vector<fs::path>{data.Path()});

    // The next start finds them as they are: nothing is rewritten.
    app->RegisterExtensions();
    EXPECT_EQ(updates.size(), 1u);
    // A damaged package is mended.
    std::ofstream(orbiscope::MimePackagePath(9), std::ios::trunc) << "junk";
    app->RegisterExtensions();
    EXPECT_EQ(ReadText(orbiscope::MimePackagePath(9)), orbiscope::MimePackageText(9, ".twn"));
    EXPECT_EQ(updates.size(), 2u);
}

TEST_F(Registration, UnregisterRemovesOnlyTheProgramsFiles)
{
    app->RegisterExtensions();
    std::ofstream(data.Path() / "mime/packages/other.xml") << "<mime-info/>";
    std::ofstream(data.Path() / "applications/other.desktop") << "[Desktop Entry]\n";
    app->UnregisterExtensions();
    EXPECT_EQ(Files(), (std::vector<fs::path>{"applications/other.desktop", "mime/packages/other.xml"}));
    EXPECT_EQ(updates.size(), 2u);
    // Nothing left to remove: no failure, no cache update.
    app->UnregisterExtensions();
    EXPECT_EQ(updates.size(), 2u);
}

// The desktop's own tools rebuild its caches, and are done when the
// registration returns: one left running would write into the data folder
// after the program, or the test that owns the folder, has gone.
TEST_F(Registration, TheDesktopsToolsHaveRunWhenItReturns)
{
    testsupport::TempDir tools;
    const fs::path log = tools.Path() / "ran.log";
    for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
        testfiles::WriteText(tools.Path() / tool,
                             "#!/bin/sh\n/bin/sleep 0.3\necho \"${0##*/} $1\" >> '" + log.string() + "'\n");
        fs::permissions(tools.Path() / tool, fs::perms::owner_all);
    }
    const testfiles::ScopedVariable path("PATH", tools.Path().string());
    orbiscope::SetShellCacheUpdater({});
    app->RegisterExtensions();
    EXPECT_EQ(ReadText(log), "update-mime-database " + (data.Path() / "mime").string() + "\n" +
                                 "update-desktop-database " + (data.Path() / "applications").string() + "\n");
}

TEST_F(Registration, CommandLineRegistersUnlessAskedToUnregister)
{
    struct Case { std::vector<std::string> arguments; bool registered; };
    // The option is any start of the word "unregister", in any case.
    const Case cases[] = {
        {{}, true},
        {{"-UNREGISTER"}, false},
        {{"/unregister"}, false},
        {{"-u"}, false},
        {{"/unreg"}, false},
        {{"-UnReGiS"}, false},
        {{"-unregistered"}, true},
        {{"-unregisterx"}, true},
        {{"--unregister"}, true},
        {{"-nregister"}, true},
        {{"-"}, true},
        {{"unregister"}, true},        // a name, not an option
        {{"/usr/share/x.glb"}, true},  // a path is no option to unregister
        {{"-x", "name", "-U=1"}, false},
    };
    for (const Case& c : cases) {
        app->RegisterExtensions();  // registered before each start
        app->ProcessCmdLine(c.arguments);
        EXPECT_EQ(Registered(), c.registered) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(fs::exists(orbiscope::MimePackagePath(9)), c.registered);
    }
}

}  // namespace
