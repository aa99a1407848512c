// The DDE server: the execute grammar, the conversation line, the Open and
// Print commands in a running application, and both verbs end to end with
// the program itself.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <cstring>
#include <fstream>
#include <sstream>

#include "framework/app/dde.h"
#include "framework/app/menus.h"
#include "framework/app/shell_registration.h"
#include "platform/printer.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

// ---- the execute grammar ------------------------------------------------------
struct ParseCase {
    const char* text;
    bool valid;
    int index;
    const char* name;
};

class ParseExecute : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseExecute, GivesCommandAndName)
{
    const ParseCase& c = GetParam();
    char name[260];
    std::memset(name, 'q', sizeof name);
    int index = 99;
    std::size_t size = sizeof name;
    EXPECT_EQ(ParseDdeExecute(c.text, index, name, size), c.valid) << c.text;
    EXPECT_EQ(index, c.index) << c.text;
    if (c.valid) {
        EXPECT_STREQ(name, c.name) << c.text;
        EXPECT_EQ(size, std::strlen(c.name));
    } else {
        EXPECT_EQ(name[0], 'q') << "nothing copied for " << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseExecute,
    ::testing::Values(ParseCase{"[open(D:\\data\\link.glb)]", true, 0, "D:\\data\\link.glb"},
                      ParseCase{"[PRINT(D:\\data\\link.glb)]", true, 1, "D:\\data\\link.glb"},
                      ParseCase{"[Open(x.glb)] and then anything", true, 0, "x.glb"},
                      ParseCase{"[oPeN(/home/a b/x.twn)]", true, 0, "/home/a b/x.twn"},
                      // The name ends at the first ")" that a "]" follows.
                      ParseCase{"[Open(a)b).glb)]", true, 0, "a)b).glb"},
                      ParseCase{"[Open(x.glb)])]", true, 0, "x.glb"},
                      ParseCase{"[Open(x]y.glb)]", true, 0, "x]y.glb"},
                      ParseCase{"[Open()]", true, 0, ""},
                      ParseCase{"[Print()]", true, 1, ""},
                      ParseCase{"Open(x.glb)", false, -1, ""},
                      ParseCase{"[Open(x.glb)", false, -1, ""},
                      ParseCase{"[Open(x.glb) ]", false, -1, ""},
                      ParseCase{"[Open x.glb]", false, -1, ""},
                      ParseCase{"[Close(x.glb)]", false, -1, ""},
                      ParseCase{"[Prin(x.glb)]", false, -1, ""},
                      ParseCase{" [Open(x.glb)]", false, -1, ""},
                      ParseCase{"[Ope", false, -1, ""},
                      ParseCase{"[", false, -1, ""},
                      ParseCase{"", false, -1, ""}));

TEST(ParseExecute, NoTextIsInvalid)
{
    int index = 5;
    char name[8] = {};
    std::size_t size = sizeof name;
    EXPECT_FALSE(ParseDdeExecute(nullptr, index, name, size));
    EXPECT_EQ(index, -1);
}

TEST(ParseExecute, CutsTheNameToTheBuffer)
{
    struct Case {
        std::size_t size;
        const char* name;
    };
    for (const Case& c : {Case{6, "abcde"}, Case{5, "abcd"}, Case{2, "a"}, Case{1, ""}}) {
        char name[16];
        std::memset(name, 'q', sizeof name);
        int index = -1;
        std::size_t size = c.size;
        ASSERT_TRUE(ParseDdeExecute("[Print(abcde)]", index, name, size));
        EXPECT_EQ(index, 1);
        EXPECT_STREQ(name, c.name);
        EXPECT_EQ(size, std::strlen(c.name));
        EXPECT_EQ(name[c.size], 'q') << "nothing written past the buffer of " << c.size;
    }
    // No buffer at all: the command is still known.
    int index = -1;
    std::size_t size = 0;
    EXPECT_TRUE(ParseDdeExecute("[Open(x.glb)]", index, nullptr, size));
    EXPECT_EQ(index, 0);
}

// ---- the conversation line and the verbs' launch ----------------------------
TEST(DdeMessage, CarriesServiceTopicAndExecute)
{
    const std::string line = orbiscope::DdeMessage("Orbiscope", "System", "[Open(a\tb.glb)]");
    EXPECT_EQ(line, "DDE\tOrbiscope\tSystem\t[Open(a\tb.glb)]");
    const auto c = orbiscope::ParseDdeMessage(line);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->service, "Orbiscope");
    EXPECT_EQ(c->topic, "System");
    EXPECT_EQ(c->execute, "[Open(a\tb.glb)]");  // a tab in the name survives

    EXPECT_FALSE(orbiscope::IsDdeMessage("activate"));
    EXPECT_TRUE(orbiscope::IsDdeMessage("DDE\tOrbiscope"));
    EXPECT_FALSE(orbiscope::ParseDdeMessage("DDE\tOrbiscope"));
    EXPECT_FALSE(orbiscope::ParseDdeMessage("DDE\tOrbiscope\tSystem"));
    const auto empty = orbiscope::ParseDdeMessage("DDE\t\t\t");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->service, "");
    EXPECT_EQ(empty->execute, "");
}

TEST(DdeLaunch, TakesTheVerbAndItsFileOutOfTheArguments)
{
    std::vector<std::string> args = {"-x", "-ddeprint", "/data/link.glb", "name"};
    auto launch = orbiscope::TakeDdeLaunch(args);
    ASSERT_TRUE(launch);
    EXPECT_TRUE(launch->print);
    EXPECT_EQ(launch->file, "/data/link.glb");
    EXPECT_EQ(args, (std::vector<std::string>{"-x", "name"}));
    // A running program only opens; the program started for the verb prints.
    EXPECT_EQ(orbiscope::DdeLaunchExecute(*launch, false), "[Open(/data/link.glb)]");
    EXPECT_EQ(orbiscope::DdeLaunchExecute(*launch, true), "[Print(/data/link.glb)]");

    testsupport::TempDir cwd;  // a current folder that exists
    std::filesystem::current_path(cwd.Path());
    args = {"-ddeopen", "rel/x.twn"};
    launch = orbiscope::TakeDdeLaunch(args);
    ASSERT_TRUE(launch);
    EXPECT_FALSE(launch->print);
    EXPECT_EQ(launch->file, (std::filesystem::current_path() / "rel/x.twn").string());
    EXPECT_EQ(orbiscope::DdeLaunchExecute(*launch, true), "[Open(" + launch->file + ")]");
    EXPECT_TRUE(args.empty());

    args = {"-u", "-ddeopen"};  // the verb without its file is dropped
    EXPECT_FALSE(orbiscope::TakeDdeLaunch(args));
    EXPECT_EQ(args, std::vector<std::string>{"-u"});
    args = {"-DDEOPEN", "x.glb"};
    EXPECT_FALSE(orbiscope::TakeDdeLaunch(args));
    EXPECT_EQ(args.size(), 2u);
}

// ---- the server in a running application -------------------------------------
// A document window that records the Print command it receives.
class PrintWindow : public RecordingWindow {
public:
    PrintWindow(int editCommand, const char* fileName) : RecordingWindow(editCommand, fileName)
    {
        SetHandler(orbiscope::CM_FILEPRINT, [this] { ++printed; });
    }
    int printed = 0;
};

class DdeServer : public ::testing::Test {
protected:
    DdeServer()
    {
        for (const auto& t : orbiscope::WindowTypes()) {
            const int edit = t.editCommand;
            orbiscope::RegisterWindowFactory(t.type, [edit](const char* name) { return new PrintWindow(edit, name); });
        }
    }
    void Receive(const std::string& service, const std::string& topic, const std::string& execute)
    {
        f.app->ReceiveDdeMessage(orbiscope::DdeMessage(service, topic, execute));
    }
    void Execute(const std::string& execute) { Receive("Orbiscope", "System", execute); }
    PrintWindow* Active() const { return dynamic_cast<PrintWindow*>(f.Active()); }
    std::string File(const char* name) const { return (f.dir.Path() / name).string(); }
    // Lets the posted commands run.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    AppFixture f;
};

TEST_F(DdeServer, StartsWithTheApplicationAndStopsWithIt)
{
    EXPECT_NE(f.app->DdeInstance, 0u);
    EXPECT_EQ(f.app->DdeServiceHandle, "Orbiscope");
    EXPECT_EQ(f.app->DdeTopicHandle, "System");
    f.app->ShutdownDdeServer();
    EXPECT_EQ(f.app->DdeInstance, 0u);
    // A stopped server takes no conversation.
    Execute("[Open(" + File("x.twn") + ")]");
    EXPECT_TRUE(f.app->Client()->Children().empty());
}

TEST_F(DdeServer, OpenCreatesTheWindowOfTheExtension)
{
    const std::string name = File("uk.TWN");
    Execute("[open(" + name + ")]");
    PrintWindow* w = Active();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->WindowType(), 7);
    EXPECT_EQ(w->openedWith, name);
    Settle();
    EXPECT_EQ(w->printed, 0);
    EXPECT_TRUE(f.app->Frame()->isVisible());  // Open does not end the program
    EXPECT_TRUE(f.messages.calls.empty());
}

TEST_F(DdeServer, ConnectNeedsTheServiceAndTheSystemTopic)
{
    struct Case {
        const char* service;
        const char* topic;
        bool accepted;
    };
    const Case cases[] = {{"Orbiscope", "System", true},  {"ORBISCOPE", "system", true}, {"Orbiscope", "Other", false},
                          {"Orbiscope", "Systems", false}, {"Other", "System", false},   {"", "System", false},
                          {"Orbiscope", "", false},        {"", "", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(TOrbiscope::DdeServerCallback(orbiscope::DdeTransaction::Connect, 0, 0, c.topic, c.service, {}, 0, 0) != 0,
                  c.accepted)
            << c.service << "/" << c.topic;
        for (auto* child : f.app->Client()->Children()) child->CloseWithoutAsking();
        Settle();
        Receive(c.service, c.topic, "[Open(" + File("x.geo") + ")]");
        EXPECT_EQ(f.app->Client()->Children().size(), c.accepted ? 1u : 0u) << c.service << "/" << c.topic;
    }
    EXPECT_EQ(TOrbiscope::DdeServerCallback(orbiscope::DdeTransaction::WildConnect, 0, 0, "System", "Orbiscope", {}, 0, 0),
              0u);
    EXPECT_TRUE(f.messages.calls.empty());  // a refusal shows nothing
}

TEST_F(DdeServer, InvalidCommandsAreReportedAndOpenNothing)
{
    for (const std::string text : {"Open(x.glb)", "[Open(x.glb)", "[Bad]", ""}) {
        f.messages.calls.clear();
        Execute(text);
        ASSERT_EQ(f.messages.calls.size(), 1u) << text;
        EXPECT_EQ(f.messages.calls[0].text, "Invalid Execute Command");
        EXPECT_EQ(f.messages.calls[0].caption, orbiscope::kMainTitle);
        EXPECT_EQ(f.messages.calls[0].flags, platform::MB_OK);
        EXPECT_FALSE(f.messages.calls[0].hasOwner);
    }
    EXPECT_TRUE(f.app->Client()->Children().empty());
}

TEST_F(DdeServer, AMalformedConversationIsACallbackError)
{
    f.app->ReceiveDdeMessage("DDE\tOrbiscope\tSystem");
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "DDEML Error Encountered in CallBack");
    EXPECT_EQ(f.messages.calls[0].caption, orbiscope::kMainTitle);
    EXPECT_FALSE(f.messages.calls[0].hasOwner);
}

TEST_F(DdeServer, AnExecuteTextThatFillsItsBufferIsRefusedWhole)
{
    // The buffer holds 259 characters and the terminator: "[Open(" 6, the
    // name, ")]" 2.  A longer text is refused, never cut into a command that
    // was not sent (the first ")]" of a cut text could end another name).
    struct Case {
        const char* name;
        std::string execute;
        const char* opened;  // null: "Invalid Execute Command"
    };
    const std::string fits = "/" + std::string(246, 'n') + ".ang";   // 6 + 251 + 2 = 259
    const std::string tooLong = "/" + std::string(247, 'n') + ".ang";  // 260
    const Case cases[] = {
        {"longest text that fits", "[Open(" + fits + ")]", "fits"},
        {"one character more", "[Open(" + tooLong + ")]", nullptr},
        {"a valid command padded past the buffer", "[Open(" + File("a.ang") + ")]" + std::string(400, 'z'), nullptr},
        {"a zero byte ends the text", std::string("[Open(") + '\0' + "x.ang)]", nullptr},
        {"a zero byte before the padding", "[Open(" + fits + ")]" + '\0' + std::string(400, 'z'), "fits"},
    };
    for (const Case& c : cases) {
        f.messages.calls.clear();
        for (auto* child : f.app->Client()->Children()) child->CloseWithoutAsking();
        Settle();
        Execute(c.execute);
        if (c.opened) {
            EXPECT_TRUE(f.messages.calls.empty()) << c.name;
            ASSERT_NE(Active(), nullptr) << c.name;
            EXPECT_EQ(Active()->openedWith, fits) << c.name;
        } else {
            ASSERT_EQ(f.messages.calls.size(), 1u) << c.name;
            EXPECT_EQ(f.messages.calls[0].text, "Invalid Execute Command") << c.name;
            EXPECT_TRUE(f.app->Client()->Children().empty()) << c.name;
        }
    }
}

TEST_F(DdeServer, AnEmptyNameOpensNothing)
{
    Execute("[Open()]");
    EXPECT_TRUE(f.app->Client()->Children().empty());
    EXPECT_TRUE(f.messages.calls.empty());
    Execute("[Print()]");
    Settle();
    EXPECT_TRUE(f.app->Client()->Children().empty());
    EXPECT_FALSE(f.app->Frame()->isVisible());  // Print still ends the program
}

TEST_F(DdeServer, PrintSendsPrintToTheWindowItOpenedThenEndsTheProgram)
{
    f.app->Client()->OpenFile(File("first.glb").c_str());
    PrintWindow* first = Active();
    ASSERT_NE(first, nullptr);

    Execute("[PRINT(" + File("second.rup") + ")]");
    PrintWindow* printed = Active();
    ASSERT_NE(printed, nullptr);
    EXPECT_NE(printed, first);
    EXPECT_EQ(printed->WindowType(), 15);
    EXPECT_EQ(printed->printed, 1);  // sent at once, before the program ends
    EXPECT_EQ(first->printed, 0);
    EXPECT_TRUE(f.app->Frame()->isVisible());
    Settle();
    EXPECT_FALSE(f.app->Frame()->isVisible());
}

TEST_F(DdeServer, PrintOfAnUnsupportedFilePrintsNothingAndStillEnds)
{
    f.app->Client()->OpenFile(File("open.glb").c_str());
    PrintWindow* active = Active();
    ASSERT_NE(active, nullptr);

    Execute("[Print(" + File("notes.bak") + ")]");
    ASSERT_EQ(f.messages.calls.size(), 1u);
    EXPECT_EQ(f.messages.calls[0].text, "Not a supported file type (or too many files selected)");
    EXPECT_EQ(active->printed, 0);  // the window the user had open is left alone
    Settle();
    EXPECT_FALSE(f.app->Frame()->isVisible());
}

TEST_F(DdeServer, PrintEndsThroughTheCloseCheck)
{
    f.app->Client()->OpenFile(File("changed.glb").c_str());
    PrintWindow* changed = Active();
    ASSERT_NE(changed, nullptr);
    changed->allowClose = false;  // a changed document the user keeps

    Execute("[Print(" + File("report.glb") + ")]");
    Settle();
    EXPECT_TRUE(f.app->Frame()->isVisible());
    EXPECT_EQ(f.app->Client()->Children().size(), 2u);
    changed->allowClose = true;
}

TEST_F(DdeServer, PrintReachesTheDocumentThroughTheRouting)
{
    // A window that leaves Print to the chain: the command travels on to the
    // next target that handles it.
    orbiscope::RegisterWindowFactory(5, [](const char* name) {
        auto* w = new RecordingWindow(0, name);
        w->RemoveHandler(orbiscope::CM_FILEPRINT);
        return w;
    });
    int clientPrints = 0;
    f.app->Client()->SetHandler(orbiscope::CM_FILEPRINT, [&clientPrints] { ++clientPrints; });
    Execute("[Print(" + File("look.ang") + ")]");
    EXPECT_EQ(clientPrints, 1);
    f.app->Client()->RemoveHandler(orbiscope::CM_FILEPRINT);
}

TEST_F(DdeServer, PrintOfAnOutputWindowWritesItsPages)
{
    // An output window with the framework's own Print command.
    orbiscope::RegisterWindowFactory(10, [](const char* name) {
        auto* w = new TMyWindow(nullptr, nullptr, name);
        w->AddLine("GEO Link Budget");
        for (int i = 0; i < 30; ++i) w->AddLine("Line\t1.00");
        return w;
    });
    const std::filesystem::path pdf = f.dir.Path() / "printed.pdf";
    platform::Printer::SetPrintToPdfFile(pdf.string());
    Execute("[Print(" + File("link.glb") + ")]");
    platform::Printer::SetPrintToPdfFile("");
    ASSERT_TRUE(std::filesystem::exists(pdf));
    std::ifstream in(pdf, std::ios::binary);
    char head[5] = {};
    in.read(head, 4);
    EXPECT_STREQ(head, "%PDF");
    Settle();
    EXPECT_FALSE(f.app->Frame()->isVisible());
}

// ---- both verbs with the program itself ----------------------------------------
class ProgramVerbs : public ::testing::Test {
protected:
    ProgramVerbs()
    {
        testsupport::App();
        program = QCoreApplication::applicationDirPath() + "/orbiscope";
        // A program directory of its own with the data maps of the build.
        const std::filesystem::path build = QCoreApplication::applicationDirPath().toStdString();
        std::filesystem::create_directories(home.Path() / "program");
        for (const auto& e : std::filesystem::directory_iterator(build))
            if (e.path().extension() == ".TXT")
                std::filesystem::create_symlink(e.path(), home.Path() / "program" / e.path().filename());
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ORBISCOPE_HOME", Path("program"));
        env.insert("XDG_CONFIG_HOME", Path("config"));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.Path().string()));
        env.insert("XDG_DATA_HOME", Path("data"));
        env.insert("ORBISCOPE_MESSAGE_LOG", Path("messages.log"));
    }
    QString Path(const char* name) const { return QString::fromStdString((home.Path() / name).string()); }
    std::string Log() const
    {
        std::ifstream in(home.Path() / "messages.log");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Generous: a first instance still loading its maps under a sanitizer on
    // a busy machine answers late, and the wait ends as soon as it does.
    bool WaitForLog(const std::string& line) const
    {
        for (int i = 0; i < 1200; ++i) {
            if (Log().find(line) != std::string::npos) return true;
            QThread::msleep(50);
        }
        return false;
    }

    testsupport::TempDir home;
    QString program;
    QProcessEnvironment env;
};

const std::string kUnsupportedLine =
    std::string(orbiscope::kMainTitle) + "\tNot a supported file type (or too many files selected)\n";

TEST_F(ProgramVerbs, PrintStartsTheProgramWhichEndsWithZero)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(program, {"-ddeprint", Path("notes.bak")});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_NE(Log().find(kUnsupportedLine), std::string::npos) << Log();
    // The types were registered at the start, in the data folder given.
    EXPECT_TRUE(std::filesystem::exists(home.Path() / "data/applications/orbiscope.desktop"));
    EXPECT_TRUE(std::filesystem::exists(home.Path() / "data/mime/packages/Orbiscope.Doc.9.xml"));
}

TEST_F(ProgramVerbs, BothVerbsOnlyOpenInARunningProgram)
{
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    const QString server = testsupport::ServerNameIn(home.Path());
    bool listening = false;
    for (int i = 0; i < 300 && !listening; ++i) {
        QLocalSocket s;
        s.connectToServer(server);
        listening = s.waitForConnected(50);
        if (!listening) QThread::msleep(50);
    }
    ASSERT_TRUE(listening);

    for (const char* verb : {"-ddeopen", "-ddeprint"}) {
        const std::string name = std::string(verb) + ".bak";
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, {verb, Path(name.c_str())});
        ASSERT_TRUE(second.waitForFinished(60000));
        EXPECT_EQ(second.exitCode(), 0);
        // The first instance got "[Open(...)]": it reports the type and runs on.
        EXPECT_TRUE(WaitForLog(kUnsupportedLine)) << Log();
        std::ofstream(home.Path() / "messages.log", std::ios::trunc).close();
        QThread::msleep(300);
        EXPECT_EQ(first.state(), QProcess::Running) << verb;
    }
    first.kill();
    first.waitForFinished(5000);
}

}  // namespace
