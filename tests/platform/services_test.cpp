// Message boxes and their log, the registry stand-in, recent files, atomic
// writes, file-dialog answers and the single-instance rule.
#include <gtest/gtest.h>

#include <QLocalSocket>
#include <cstdlib>
#include <fstream>

#include "platform/dc.h"
#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "tests/platform/qt_app.h"

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orbiscope-platform-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string ReadText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MessageBoxes, SinkAnswersAndTheLogGetsOneLineEach)
{
    platformtest::App();
    TempDir dir;
    const std::string log = (dir.Path() / "messages.log").string();
    setenv("ORBISCOPE_MESSAGE_LOG", log.c_str(), 1);
    std::vector<platform::MessageBoxCall> calls;
    platform::SetMessageBoxSink([&calls](const platform::MessageBoxCall& c) {
        calls.push_back(c);
        return c.YesNo() ? platform::IDNO : platform::IDOK;
    });
    EXPECT_EQ(platform::MessageBox(nullptr, "TOPO.TXT failed checksum", "File Load Error", platform::MB_ICONSTOP),
              platform::IDOK);
    EXPECT_EQ(platform::MessageBox(nullptr, "File a may have been edited.\n\nSave?", "Orbiscope Pro 1.0",
                                   platform::MB_YESNO | platform::MB_ICONQUESTION),
              platform::IDNO);
    EXPECT_EQ(platform::MessageBox(nullptr, "Site latitude\r\nRange 0 to 90", "Range Error", platform::MB_ICONEXCLAMATION),
              platform::IDOK);
    platform::SetMessageBoxSink({});
    // Offscreen with no sink nobody can answer: logged, first button.
    EXPECT_EQ(platform::MessageBox(nullptr, "x", "y", platform::MB_YESNO), platform::IDYES);
    unsetenv("ORBISCOPE_MESSAGE_LOG");

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Icon(), platform::MB_ICONSTOP);
    EXPECT_FALSE(calls[0].hasOwner);
    EXPECT_TRUE(calls[1].YesNo());
    EXPECT_EQ(ReadText(log),
              "File Load Error\tTOPO.TXT failed checksum\n"
              "Orbiscope Pro 1.0\tFile a may have been edited.\\n\\nSave?\n"
              "Range Error\tSite latitude\\nRange 0 to 90\n"
              "y\tx\n");
}

TEST(RegistryStandIn, ValuesKeysAndDefaultValue)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    const std::string key = "Software\\Orbiscope\\DefaultCountryFile";
    EXPECT_FALSE(platform::Registry::ReadString(key, "").has_value());
    EXPECT_TRUE(platform::Registry::WriteString(key, "", "uk.twn"));
    EXPECT_EQ(platform::Registry::ReadString(key, ""), "uk.twn");
    EXPECT_TRUE(platform::Registry::WriteString("Software\\Orbiscope\\MRU", "File1", "a.glb"));
    EXPECT_TRUE(platform::Registry::DeleteKey("Software\\Orbiscope\\MRU"));
    EXPECT_FALSE(platform::Registry::ReadString("Software\\Orbiscope\\MRU", "File1").has_value());
    EXPECT_EQ(platform::Registry::ReadString(key, ""), "uk.twn");
    EXPECT_EQ(platform::Registry::FilePath(), dir.Path() / "registry.ini");
    platform::Registry::SetFolder({});
}

TEST(RecentFilesList, SixEntriesNewestFirstTextsCut)
{
    platformtest::App();
    TempDir dir;
    platform::Registry::SetFolder(dir.Path());
    platform::RecentFiles mru("Software\\Orbiscope\\MRU", 6, 30);
    for (const char* f : {"a", "b", "c", "d", "e", "f", "g"}) mru.Add(std::string("/data/") + f + ".glb");
    mru.Add("/data/c.glb");
    const std::vector<std::string> expected = {"/data/c.glb", "/data/g.glb", "/data/f.glb",
                                               "/data/e.glb", "/data/d.glb", "/data/b.glb"};
    EXPECT_EQ(mru.Files(), expected);
    mru.Add("/a/very/long/folder/name/that/goes/on/budget.glb");
    EXPECT_EQ(mru.MenuText(0), "/a/very/long/fol.../budget.glb");  // 16 + 3 + 11
    EXPECT_EQ(mru.MenuText(0).size(), 30u);
    EXPECT_EQ(mru.MenuText(6), "");
    platform::RecentFiles again("Software\\Orbiscope\\MRU", 6, 30);
    again.Load();
    EXPECT_EQ(again.Files(), mru.Files());
    platform::Registry::SetFolder({});
}

TEST(AtomicWrites, ReplaceWholeOrLeaveTheOldCopy)
{
    TempDir dir;
    const auto target = dir.Path() / "orbisco.cfg";
    ASSERT_TRUE(platform::WriteFileAtomically(target, "first", 5));
    ASSERT_TRUE(platform::WriteFileAtomically(target, "second!", 7));
    EXPECT_EQ(ReadText(target), "second!");
    EXPECT_FALSE(platform::WriteFileAtomically(dir.Path() / "missing" / "x", "y", 1));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(platform::ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes.size(), 7u);
    EXPECT_FALSE(platform::ReadWholeFile(dir.Path() / "none", bytes));
    // Nothing but the target is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(FileDialogs, FilterPairsAndQueuedAnswers)
{
    platformtest::App();
    const auto pairs = platform::SplitFilter("Bitmap Files (*.??" "?)|*.bmp;*.gif;*.pcx;*.tif;*.jpg|");
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].second, "*.bmp;*.gif;*.pcx;*.tif;*.jpg");
    EXPECT_EQ(platform::SplitFilter("A|*.a|B|*.b").size(), 2u);

    platform::FileDialogData data;
    data.defaultExt = "tab";
    platform::QueueFileDialogAnswer({{"/tmp/out"}});
    ASSERT_TRUE(platform::RunFileSave(nullptr, "Save", data));
    EXPECT_EQ(data.fileName, "/tmp/out.tab");
    EXPECT_EQ(platform::LastFileDialogRequest().title, "Save");
    platform::QueueFileDialogAnswer({});
    EXPECT_FALSE(platform::RunFileOpen(nullptr, "Open", data));
    EXPECT_FALSE(platform::RunFileOpen(nullptr, "Open", data));  // nothing queued offscreen: cancel
}

TEST(SingleInstanceRule, SecondStartReachesTheFirst)
{
    platformtest::App();
    const QString key = QStringLiteral("orbiscope-test-%1").arg(QCoreApplication::applicationPid());
    platform::SingleInstance first(key);
    ASSERT_TRUE(first.TryBecomePrimary());
    std::vector<QByteArray> received;
    first.SetMessageHandler([&received](const QByteArray& m) { received.push_back(m); });

    platform::SingleInstance second(key);
    EXPECT_FALSE(second.TryBecomePrimary());
    // The second instance's blocking send needs the first's loop: deliver
    // from a raw socket and pump.
    QLocalSocket socket;
    socket.connectToServer(first.ServerName());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write("activate\n");
    socket.flush();
    for (int i = 0; i < 100 && received.empty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "activate");
}

TEST(TabbedText, PenMovesToTheStops)
{
    const std::vector<int> stops = {140, 210, 350};
    EXPECT_EQ(platform::NextTabOffset(0, stops, 6), 140);
    EXPECT_EQ(platform::NextTabOffset(139, stops, 6), 140);
    EXPECT_EQ(platform::NextTabOffset(351, stops, 6), 357);
    EXPECT_EQ(platform::NextTabOffset(47, {0}, 6), 48);
}

}  // namespace
