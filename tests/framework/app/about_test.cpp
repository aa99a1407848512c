// The about box: its version line and legal notice from the version
// information, the link, and Help > About reaching it.
#include <gtest/gtest.h>

#include <QLabel>
#include <fstream>
#include <sstream>

#include "framework/app/about.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;

namespace {

// The version the build was configured with, read back from the build's own
// cache (the program directory of the tests is the build folder).
std::string ConfiguredVersion()
{
    std::ifstream cache(QCoreApplication::applicationDirPath().toStdString() + "/CMakeCache.txt");
    std::string line;
    const std::string key = "CMAKE_PROJECT_VERSION:STATIC=";
    while (std::getline(cache, line))
        if (line.rfind(key, 0) == 0) return line.substr(key.size());
    return {};
}

struct Shown { std::string versionLine; std::string notice; std::string link; bool ran = false; };

// Runs the dialog modally under the driver and records what it showed.
Shown RunAbout(QWidget* parent)
{
    Shown shown;
    platform::SetDialogDriver(TAboutDlg::kResourceId, [&shown](platform::Dialog& d) {
        shown.ran = true;
        shown.versionLine = d.GetControlText(TAboutDlg::kVersionLine);
        shown.notice = d.GetControlText(TAboutDlg::kLegalNotice);
        if (auto* l = qobject_cast<QLabel*>(d.Control(TAboutDlg::kWebsiteLink))) shown.link = l->text().toStdString();
        return platform::IDOK;
    });
    TAboutDlg dialog(parent);
    EXPECT_EQ(dialog.Execute(), platform::IDOK);
    platform::ClearDialogDrivers();
    return shown;
}

class AboutBox : public ::testing::Test {
protected:
    AboutBox() { testsupport::App(); }
    ~AboutBox() override { TProjectRCVersion::SetOverride(std::nullopt); }
};

TEST_F(AboutBox, VersionLineKeepsBothBlanksAroundAnEmptyMiddle)
{
    EXPECT_EQ(AboutVersionLine("Orbiscope Pro", "", "1.0.0"), "Orbiscope Pro  1.0.0");
    EXPECT_EQ(AboutVersionLine("Orbiscope Pro", "Edition", "2.1"), "Orbiscope Pro Edition 2.1");
    EXPECT_EQ(AboutVersionLine(std::string(200, 'n'), std::string(128, 'm'), "1").size(), 255u);
}

TEST_F(AboutBox, ShowsTheBuildsNameVersionAndNotice)
{
    const std::string version = ConfiguredVersion();
    ASSERT_FALSE(version.empty());
    const Shown shown = RunAbout(nullptr);
    ASSERT_TRUE(shown.ran);
    EXPECT_EQ(shown.versionLine, "Orbiscope Pro  " + version);
    EXPECT_EQ(shown.notice, "Copyright (C) 2026 the Orbiscope project. All rights reserved.");
    EXPECT_NE(shown.link.find("Visit the Orbiscope website"), std::string::npos);
}

// The link leads somewhere that is there: the help pages that come with the
// program, not an address on the network.
TEST(AboutBoxLink, OpensTheProgramsOwnPages)
{
    AppFixture f;
    testsupport::HelpRecorder help;
    TAboutDlg dialog(f.app->Frame());
    auto* link = qobject_cast<QLabel*>(dialog.Control(TAboutDlg::kWebsiteLink));
    ASSERT_NE(link, nullptr);
    EXPECT_FALSE(link->openExternalLinks());
    EXPECT_EQ(link->text().indexOf(QStringLiteral("http")), -1);
    emit link->linkActivated(QString::fromLatin1(orbiscope::kWebsiteTarget));
    EXPECT_EQ(help.topics, std::vector<int>{0});  // 0: the contents
    EXPECT_TRUE(f.app->HelpOpened);
}

TEST_F(AboutBox, MissingStringsLeaveTheTextsAsTheyAre)
{
    struct Case { TProjectRCVersion::Strings strings; const char* versionLine; const char* notice; };
    const Case cases[] = {
        {{std::nullopt, "3.2", "(c) X"}, "", "(c) X"},
        {{"Name", std::nullopt, "(c) X"}, "", "(c) X"},
        {{"Name", "3.2", std::nullopt}, "Name  3.2", ""},
        {{std::nullopt, std::nullopt, std::nullopt}, "", ""},
    };
    for (const Case& c : cases) {
        TProjectRCVersion::SetOverride(c.strings);
        const Shown shown = RunAbout(nullptr);
        EXPECT_EQ(shown.versionLine, c.versionLine);
        EXPECT_EQ(shown.notice, c.notice);
    }
}

TEST_F(AboutBox, HelpAboutRunsItOverTheMainWindow)
{
    AppFixture f;
    about::RegisterAboutCommand();
    QWidget* parent = nullptr;
    int runs = 0;
    platform::SetDialogDriver(TAboutDlg::kResourceId, [&](platform::Dialog& d) {
        ++runs;
        parent = d.parentWidget();
        EXPECT_EQ(d.windowTitle().toStdString(), "About");
        return platform::IDOK;
    });
    EXPECT_TRUE(f.app->IsEnabled(orbiscope::CM_HELPABOUT));
    f.app->Dispatch(orbiscope::CM_HELPABOUT);
    platform::ClearDialogDrivers();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(parent, f.app->Frame());
}

}  // namespace
