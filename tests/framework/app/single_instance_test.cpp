// Two starts of the program itself: the second reaches the first and exits
// with 0 while the first keeps running.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include "framework/app/menus.h"
#include "platform/registry.h"
#include "tests/framework/app/gui_support.h"

namespace {

TEST(ProgramStart, SecondStartRaisesTheFirstAndExitsWithZero)
{
    testsupport::App();
    const QString program = QCoreApplication::applicationDirPath() + "/orbiscope";
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    testsupport::TempDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ORBISCOPE_HOME", QCoreApplication::applicationDirPath());  // the maps are there
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home.Path() / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.Path().string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home.Path() / "data").string()));  // registration

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(5000));
    // Wait until the first instance listens.
    platform::SingleInstance probe(QString::fromLatin1(orbiscope::kMainTitle));
    bool listening = false;
    for (int i = 0; i < 300 && !listening; ++i) {
        QLocalSocket s;
        s.connectToServer(probe.ServerName());
        listening = s.waitForConnected(50);
        if (!listening) QThread::msleep(50);
    }
    ASSERT_TRUE(listening);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

}  // namespace
