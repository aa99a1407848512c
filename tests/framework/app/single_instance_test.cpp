// Two starts of the program itself: the second reaches the first and exits
// with 0 while the first keeps running.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include "framework/app/menus.h"
#include "platform/registry.h"
#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

namespace {

QProcessEnvironment ProgramEnvironment(const testsupport::TempDir& home, const QString& programDir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ORBISCOPE_HOME", programDir);
    env.insert("XDG_CONFIG_HOME", QString::fromStdString((home.Path() / "config").string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.Path().string()));
    env.insert("XDG_DATA_HOME", QString::fromStdString((home.Path() / "data").string()));  // registration
    env.insert("ORBISCOPE_MESSAGE_LOG", QString::fromStdString((home.Path() / "messages.log").string()));
    return env;
}

TEST(ProgramStart, AMapThatFailsItsChecksumEndsTheProgramWithAFailureStatus)
{
    testsupport::App();
    const QString program = QCoreApplication::applicationDirPath() + "/orbiscope";
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    testsupport::TempDir home;
    // The build's maps, one of them damaged by a single digit.
    const std::filesystem::path build = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path dir = home.Path() / "program";
    std::filesystem::create_directories(dir);
    for (const auto& e : std::filesystem::directory_iterator(build))
        if (e.path().extension() == ".TXT" && e.path().filename() != "T_50.TXT")
            std::filesystem::create_symlink(e.path(), dir / e.path().filename());
    std::string t50 = testfiles::ReadText(build / "T_50.TXT");
    ASSERT_FALSE(t50.empty());
    t50[t50.find_first_of("123456789")] ^= 1;
    testfiles::WriteText(dir / "T_50.TXT", t50);

    QProcess run;
    run.setProcessEnvironment(ProgramEnvironment(home, QString::fromStdString(dir.string())));
    run.start(program, {});
    ASSERT_TRUE(run.waitForFinished(120000));
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.exitCode(), kExitStartFailed);
    // The map's message is the only one: no set-up notice after it.
    EXPECT_EQ(testfiles::ReadText(home.Path() / "messages.log"), "File Load Error\tT_50.TXT failed checksum\n");
}

TEST(ProgramStart, ASecondStartThatCannotReachTheFirstFails)
{
    testsupport::App();
    const QString program = QCoreApplication::applicationDirPath() + "/orbiscope";
    if (!QFile::exists(program)) GTEST_SKIP() << "program not built";
    testsupport::TempDir home;
    // A first instance that holds the lock but does not listen (hung, or
    // still starting): this test process.
    QLockFile lock(QString::fromStdString(home.Path().string()) + "/" + testsupport::ServerNameIn(home.Path()) + ".lock");
    ASSERT_TRUE(lock.tryLock(0));

    for (const QStringList& arguments : {QStringList{}, QStringList{"-ddeopen", "x.glb"}}) {
        QProcess second;
        second.setProcessEnvironment(ProgramEnvironment(home, QCoreApplication::applicationDirPath()));
        second.start(program, arguments);
        ASSERT_TRUE(second.waitForFinished(60000));
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), kExitStartFailed) << arguments.join(' ').toStdString();
    }
    EXPECT_FALSE(std::filesystem::exists(home.Path() / "messages.log"));  // silently, as the first would be
}

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
    const QString server = testsupport::ServerNameIn(home.Path());
    bool listening = false;
    for (int i = 0; i < 300 && !listening; ++i) {
        QLocalSocket s;
        s.connectToServer(server);
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
