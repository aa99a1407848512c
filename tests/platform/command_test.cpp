// Command routing: the first handler along the chain takes a command; the
// first enabler decides its availability; post is queued, send is direct.
#include <gtest/gtest.h>

#include <memory>

#include "platform/command.h"
#include "tests/platform/qt_app.h"

namespace {

using platform::CommandChain;
using platform::CommandTarget;

TEST(CommandRouting, FirstTargetWithAHandlerTakesTheCommand)
{
    CommandTarget window, child, client, frame, app;
    std::vector<std::string> log;
    window.SetHandler(1, [&] { log.push_back("window 1"); });
    client.SetHandler(1, [&] { log.push_back("client 1"); });
    client.SetHandler(2, [&] { log.push_back("client 2"); });
    app.SetHandler(3, [&] { log.push_back("app 3"); });
    const CommandChain chain = {&window, &child, &client, &frame, &app};
    EXPECT_TRUE(platform::RouteCommand(chain, 1));
    EXPECT_TRUE(platform::RouteCommand(chain, 2));
    EXPECT_TRUE(platform::RouteCommand(chain, 3));
    EXPECT_FALSE(platform::RouteCommand(chain, 4));
    EXPECT_EQ(log, (std::vector<std::string>{"window 1", "client 2", "app 3"}));
    // Without the document window the client takes command 1.
    EXPECT_TRUE(platform::RouteCommand({&client, &frame, &app}, 1));
    EXPECT_EQ(log.back(), "client 1");
}

struct EnableCase {
    const char* name;
    bool windowHandler;
    int windowEnabler;   // -1 none, 0 false, 1 true
    bool clientHandler;
    int clientEnabler;
    bool enabled;
};

TEST(CommandRouting, EnablersAlongTheChain)
{
    const EnableCase cases[] = {
        {"nobody handles it", false, -1, false, -1, false},
        {"a handler alone enables", true, -1, false, -1, true},
        {"a later handler alone enables", false, -1, true, -1, true},
        {"the window's enabler decides", true, 0, true, 1, false},
        {"the client's enabler judges the window's command", true, -1, false, 0, false},
        {"the client's enabler says yes", true, -1, false, 1, true},
        {"an enabler without any handler", false, -1, false, 1, true},
    };
    for (const EnableCase& c : cases) {
        CommandTarget window, client;
        if (c.windowHandler) window.SetHandler(7, [] {});
        if (c.windowEnabler >= 0) window.SetEnabler(7, [v = c.windowEnabler] { return v == 1; });
        if (c.clientHandler) client.SetHandler(7, [] {});
        if (c.clientEnabler >= 0) client.SetEnabler(7, [v = c.clientEnabler] { return v == 1; });
        EXPECT_EQ(platform::CommandEnabledOn({&window, nullptr, &client}, 7), c.enabled) << c.name;
    }
}

class TargetWidget : public QWidget, public CommandTarget {
public:
    TargetWidget() { SetHandler(5, [this] { ++count; }); }
    int count = 0;
};

TEST(CommandRouting, PostIsQueuedSendIsDirectAndAGoneTargetIsSkipped)
{
    platformtest::App();
    TargetWidget w;
    EXPECT_TRUE(platform::SendCommand(&w, 5));
    EXPECT_EQ(w.count, 1);
    EXPECT_FALSE(platform::SendCommand(&w, 6));
    platform::PostCommand(&w, 5);
    EXPECT_EQ(w.count, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.count, 2);

    auto gone = std::make_unique<TargetWidget>();
    platform::PostCommand(gone.get(), 5);
    gone.reset();
    QCoreApplication::processEvents();  // nothing to deliver to, nothing happens
    QWidget plain;
    EXPECT_FALSE(platform::SendCommand(&plain, 5));
}

}  // namespace
