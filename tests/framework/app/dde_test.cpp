// The DDE server: the execute grammar, the conversation line, and the Open
// and Print commands in a running application.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/app/dde.h"
#include "framework/app/menus.h"
#include "platform/printer.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

// ---- the execute grammar ------------------------------------------------------
TEST(ParseExecute, GivesCommandAndNameWithinTheBuffer)
{
    struct Case { const char* text; bool valid; int index; const char* name; std::size_t buffer = 260; };
    const Case cases[] = {
        {"[open(D:\\data\\link.glb)]", true, 0, "D:\\data\\link.glb"},
        {"[PRINT(D:\\data\\link.glb)]", true, 1, "D:\\data\\link.glb"},
        {"[Open(x.glb)] and then anything", true, 0, "x.glb"},
        {"[oPeN(/home/a b/x.twn)]", true, 0, "/home/a b/x.twn"},
        // The name ends at the first ")" that a "]" follows.
        {"[Open(a)b).glb)]", true, 0, "a)b).glb"},
        {"[Open(x.glb)])]", true, 0, "x.glb"},
        {"[Open(x]y.glb)]", true, 0, "x]y.glb"},
        {"[Open()]", true, 0, ""},
        {"[Print()]", true, 1, ""},
        // A name longer than the buffer is cut to it, terminator included.
        {"[Print(abcde)]", true, 1, "abcde", 6},
        {"[Print(abcde)]", true, 1, "abcd", 5},
        {"[Print(abcde)]", true, 1, "a", 2},
        {"[Print(abcde)]", true, 1, "", 1},
        {"Open(x.glb)", false, -1, ""},
        {"[Open(x.glb)", false, -1, ""},
        {"[Open(x.glb) ]", false, -1, ""},
        {"[Open x.glb]", false, -1, ""},
        {"[Close(x.glb)]", false, -1, ""},
        {"[Prin(x.glb)]", false, -1, ""},
        {" [Open(x.glb)]", false, -1, ""},
        {"[Ope", false, -1, ""},
        {"[", false, -1, ""},
        {"", false, -1, ""},
        {nullptr, false, -1, ""},
    };
    for (const Case& c : cases) {
        const char* text = c.text ? c.text : "(no text)";
        char name[300];
        std::memset(name, 'q', sizeof name);
        int index = 99;
        std::size_t size = c.buffer;
        EXPECT_EQ(ParseDdeExecute(c.text, index, name, size), c.valid) << text;
        EXPECT_EQ(index, c.index) << text;
        if (c.valid) {
            EXPECT_STREQ(name, c.name) << text;
            EXPECT_EQ(size, std::strlen(c.name)) << text;
            EXPECT_EQ(name[c.buffer], 'q') << "nothing written past the buffer for " << text;
        } else {
            EXPECT_EQ(name[0], 'q') << "nothing copied for " << text;
        }
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
    struct Case { const char* service; const char* topic; bool accepted; };
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

TEST_F(DdeServer, AMalformedConversationIsACallbackError)
{
    f.app->ReceiveDdeMessage("DDE\tOrbiscope\tSystem");
    ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, "DDEML Error Encountered in CallBack"}}));
    EXPECT_FALSE(f.messages.calls[0].hasOwner);
}

TEST_F(DdeServer, ExecuteTextsThatAreNotOneWholeCommandAreRefused)
{
    // The buffer holds 259 characters and the terminator: "[Open(" 6, the
    // name, ")]" 2.  A longer text is refused, never cut into a command that
    // was not sent (the first ")]" of a cut text could end another name).
    struct Case {
        const char* name;
        std::string execute;
        const char* opened;  // null: "Invalid Execute Command"; "": nothing, silently
    };
    const std::string fits = "/" + std::string(246, 'n') + ".ang";   // 6 + 251 + 2 = 259
    const std::string tooLong = "/" + std::string(247, 'n') + ".ang";  // 260
    const Case cases[] = {
        {"no brackets", "Open(x.glb)", nullptr},
        {"unclosed", "[Open(x.glb)", nullptr},
        {"unknown command", "[Bad]", nullptr},
        {"empty text", "", nullptr},
        {"empty name", "[Open()]", ""},
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
        if (c.opened && *c.opened) {
            EXPECT_TRUE(f.messages.calls.empty()) << c.name;
            ASSERT_NE(Active(), nullptr) << c.name;
            EXPECT_EQ(Active()->openedWith, fits) << c.name;
            continue;
        }
        EXPECT_TRUE(f.app->Client()->Children().empty()) << c.name;
        if (c.opened) {
            EXPECT_TRUE(f.messages.calls.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(f.messages.Shown(), (testsupport::Boxes{{orbiscope::kMainTitle, "Invalid Execute Command"}})) << c.name;
        EXPECT_EQ(f.messages.calls[0].flags, platform::MB_OK) << c.name;
        EXPECT_FALSE(f.messages.calls[0].hasOwner) << c.name;
    }
    // An empty name to print opens nothing, yet Print still ends the program.
    Execute("[Print()]");
    Settle();
    EXPECT_TRUE(f.app->Client()->Children().empty());
    EXPECT_FALSE(f.app->Frame()->isVisible());
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
    ASSERT_EQ(f.messages.Shown(),
              (testsupport::Boxes{{orbiscope::kMainTitle, "Not a supported file type (or too many files selected)"}}));
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
    EXPECT_EQ(testfiles::ReadText(pdf).substr(0, 5), "%PDF-");
    Settle();
    EXPECT_FALSE(f.app->Frame()->isVisible());
}

}  // namespace
