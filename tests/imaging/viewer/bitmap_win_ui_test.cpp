// The image window: files of every format through the client, the Map
// menu's pictures and "TIMEZONE.GIF", failures and their messages, the
// palette path of a palette display, painting, printing and copying.  The
// ITU Regions picture and a JPEG in the window are rendered to
// "itu-regions.png" and "jpeg-window.png" in the build folder (docs/ holds
// copies).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QScrollBar>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "framework/app/menus.h"
#include "framework/output/print.h"
#include "imaging/viewer/bitmap_win.h"
#include "imaging/viewer/viewer_registration.h"
#include "platform/printer.h"
#include "tests/framework/app/gui_support.h"
#include "tests/picture_path.h"

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(__FILE__).parent_path().parent_path() / "loader/data";

class ImageWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        buildDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        orbiscope::RegisterImagingWindows();
    }
    void TearDown() override
    {
        TBitmapWin::SimulatePaletteDevice(false);
        app.reset();
        orbiscope::ClearPrintoutFactories();
        std::filesystem::current_path(buildDir);
    }
    TBitmapWin* Active() const
    {
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? dynamic_cast<TBitmapWin*>(child->Document()) : nullptr;
    }
    TBitmapWin* Open(const std::string& path)
    {
        app->app->Client()->OpenFile(path.c_str());
        QCoreApplication::processEvents();
        return Active();
    }
    TBitmapWin* Command(int id)
    {
        platform::RouteCommand({app->app->Client()}, id);
        QCoreApplication::processEvents();
        return Active();
    }
    std::string Caption() const
    {
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child ? child->windowTitle().toStdString() : "";
    }

    std::filesystem::path buildDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

struct FormatRow { const char* file; int width, height; };

TEST_F(ImageWindow, EachFormatOpensThroughTheClient)
{
    // Every format's pixels are the loader tests'; these are opened by the client as any file.
    const FormatRow rows[] = {{"bmp-rle8.bmp", 37, 23}, {"gif-interlaced-flat.gif", 301, 40}, {"jpg-progressive.jpg", 37, 23}};
    for (const FormatRow& r : rows) {
        const std::string path = (kFixtures / r.file).string();
        TBitmapWin* w = Open(path);
        ASSERT_NE(w, nullptr) << r.file;
        ASSERT_NE(w->Dib(), nullptr) << r.file;
        EXPECT_EQ(w->Dib()->Width(), r.width) << r.file;
        EXPECT_EQ(w->Dib()->Height(), r.height) << r.file;
        EXPECT_EQ(Caption(), path);
        EXPECT_EQ(w->GetScroller().XRange(), r.width);
        EXPECT_EQ(w->GetScroller().YRange(), r.height);
    }
    EXPECT_TRUE(app->messages.calls.empty());
}

TEST_F(ImageWindow, AFileThatGivesNoPictureIsReported)
{
    const std::string bad = (app->dir / "broken.gif").string();
    std::ofstream(bad, std::ios::binary) << "GIF89a and nothing else";
    TBitmapWin* w = Open(bad);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Dib(), nullptr);
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].text, "Cannot read file " + bad);
    // A folder named like a picture is no file: refused at once.
    std::filesystem::create_directory(app->dir / "folder.bmp");
    Open((app->dir / "folder.bmp").string());
    EXPECT_EQ(app->messages.calls.back().text, "Cannot read file " + (app->dir / "folder.bmp").string());
}

// Pictures whose headers claim far more than their data holds, opened as a
// user would: a GIF of 5000 images of 16000 x 16000 that each fail (made here
// as the reproduction makes it), 1-bit GIFs of 32767 x 32767 and 28771 x
// 28783 in 35 and 86 bytes, and a 16000 x 16000 GIF whose data stops after
// 3 bytes.  Each is reported as unreadable; none is shown.
TEST_F(ImageWindow, PicturesClaimingMoreThanTheirDataAreReported)
{
    const std::string many = (app->dir / "many-frames.gif").string();
    {
        std::ofstream out(many, std::ios::binary);
        const char screen[] = {'G', 'I', 'F', '8', '9', 'a', '\x80', '\x3E', '\x80', '\x3E', '\xF7', 0, 0};
        out.write(screen, sizeof screen);
        for (int copy = 0; copy < 3; ++copy)
            for (int i = 0; i < 256; ++i)
                out.put(static_cast<char>(i));
        const char frame[] = {',', 0, 0, 0, 0, '\x80', '\x3E', '\x80', '\x3E', 0, 8, 2, '\x4C', 1, 0};
        for (int i = 0; i < 5000; ++i)
            out.write(frame, sizeof frame);
        out.put(';');
    }
    const std::string files[] = {many, (kFixtures / "refused/gif-1bit-32767-35b.gif").string(),
                                 (kFixtures / "refused/gif-1bit-28771x28783-86b.gif").string(),
                                 (kFixtures / "refused/gif-truncated-16000x16000-1k.gif").string()};
    for (const std::string& file : files) {
        app->messages.calls.clear();
        TBitmapWin* w = Open(file);
        ASSERT_NE(w, nullptr) << file;
        EXPECT_EQ(w->Dib(), nullptr) << file;
        ASSERT_EQ(app->messages.calls.size(), 1u) << file;
        EXPECT_EQ(app->messages.calls[0].text, "Cannot read file " + file);
    }
}

// Only a file that opened joins the recent-files list: a picture that
// cannot be read, a folder named like one, a file of an unknown type and a
// missing file stay off it, and the list keeps what it had.
TEST_F(ImageWindow, AFileThatCannotBeReadStaysOffTheRecentList)
{
    const std::string good = (kFixtures / "bmp-24bit.bmp").string();
    ASSERT_NE(Open(good), nullptr);
    const std::vector<std::string> before = app->app->Recent().Files();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.front(), good);

    const std::string broken = (app->dir / "broken.gif").string();
    std::ofstream(broken, std::ios::binary) << "GIF89a and nothing else";
    std::filesystem::create_directory(app->dir / "folder.bmp");
    std::ofstream(app->dir / "notes.xyz") << "text";
    for (const std::string& bad : {broken, (app->dir / "folder.bmp").string(), (app->dir / "notes.xyz").string(),
                                   (app->dir / "missing.jpg").string()}) {
        Open(bad);
        EXPECT_EQ(app->app->Recent().Files(), before) << bad;
    }
    EXPECT_EQ(app->messages.calls.size(), 4u) << "each failure was said";
    // A good file opened again still goes to the top.
    ASSERT_NE(Open((kFixtures / "jpg-baseline.jpg").string()), nullptr);
    EXPECT_EQ(app->app->Recent().Files().front(), (kFixtures / "jpg-baseline.jpg").string());
}

struct PictureRow { int command; const char* caption; int width, height; unsigned bits; std::uint32_t colours; };

// The built-in pictures as the Map menu shows them: caption, size and
// depth of each.
TEST_F(ImageWindow, TheMapMenuShowsTheBuiltInPictures)
{
    const PictureRow rows[] = {
        {6210, "ITU Regions", 392, 235, 4, 16},
        {6220, "Polar Mount Angles", 418, 358, 4, 16},
        {6219, "Polarization and Tilt Angles", 480, 376, 1, 2},
        {6222, "L-band Ionospheric Scintillation Fading", 800, 430, 4, 16},
    };
    for (const PictureRow& r : rows) {
        TBitmapWin* w = Command(r.command);
        ASSERT_NE(w, nullptr) << r.caption;
        ASSERT_NE(w->Dib(), nullptr) << r.caption;
        EXPECT_EQ(Caption(), r.caption);
        EXPECT_EQ(w->Dib()->Width(), r.width) << r.caption;
        EXPECT_EQ(w->Dib()->Height(), r.height) << r.caption;
        EXPECT_EQ(w->Dib()->BitCount(), r.bits) << r.caption;
        EXPECT_EQ(w->Dib()->Header().biClrUsed, r.colours) << r.caption;
        EXPECT_TRUE(w->Dib()->IsResourceHandle());
    }
    EXPECT_TRUE(app->messages.calls.empty());
    EXPECT_STREQ(TBitmapWin::CaptionOf(98), "World Time Zones");
    EXPECT_STREQ(TBitmapWin::CaptionOf(12), "");
}

TEST_F(ImageWindow, WorldTimeZonesComeFromTheProgramFolder)
{
    EXPECT_EQ(Command(6209)->Dib(), nullptr);   // not there yet
    EXPECT_EQ(app->messages.calls.back().text, "Cannot read file TIMEZONE.GIF");
    std::filesystem::copy_file(buildDir / "TIMEZONE.GIF", app->dir / "TIMEZONE.GIF");
    TBitmapWin* w = Command(6209);
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->Dib(), nullptr);
    EXPECT_EQ(w->Dib()->BitCount(), 8u);
    EXPECT_GE(w->Dib()->Width(), 720);
}

std::span<const std::uint8_t> NoBitmaps(int)
{
    return {};
}

std::span<const std::uint8_t> GifData(int id)
{
    static const std::vector<std::uint8_t> gif = [] {
        std::ifstream in(kFixtures / "gif-16colours.gif", std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
    }();
    return id == 500 ? std::span<const std::uint8_t>(gif) : std::span<const std::uint8_t>();
}

TEST_F(ImageWindow, ResourcesThatCannotBeHadAreReported)
{
    TBitmapWin* w = Command(6210);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->ShowBitmap(4321));
    ASSERT_EQ(app->messages.calls.size(), 1u);
    EXPECT_EQ(app->messages.calls[0].text, "Cannot access bitmap resource");
    EXPECT_EQ(app->messages.calls[0].caption, orbiscope::kMainTitle);
    // Without a bitmap resource, a data resource in any file format.
    EXPECT_TRUE(w->ShowBitmap(ResourceModule{NoBitmaps, GifData}, 500));
    EXPECT_EQ(w->Dib()->Width(), 37);
    EXPECT_FALSE(w->Dib()->IsResourceHandle());
}

TEST_F(ImageWindow, APaletteDisplayGetsTheMedianCutPicture)
{
    TBitmapWin::SimulatePaletteDevice(true);
    TBitmapWin* w = Open((kFixtures / "bmp-24bit.bmp").string());
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->Palette(), nullptr);
    EXPECT_GT(w->Palette()->Count(), 16);
    EXPECT_LE(w->Palette()->Count(), 256);
    EXPECT_EQ(w->Dib()->BitCount(), 8u);   // mapped onto the palette
    EXPECT_EQ(w->Dib()->Width(), 37);
    // The 1-bit diagram is drawn as it is: no palette.
    TBitmapWin* diagram = Command(6219);
    ASSERT_NE(diagram, nullptr);
    EXPECT_EQ(diagram->Palette(), nullptr);
    EXPECT_EQ(diagram->Dib()->BitCount(), 1u);
    EXPECT_TRUE(diagram->Dib()->IsResourceHandle());
    // Without a palette display nothing is reduced.
    TBitmapWin::SimulatePaletteDevice(false);
    TBitmapWin* plain = Open((kFixtures / "bmp-24bit.bmp").string());
    EXPECT_EQ(plain->Palette(), nullptr);
    EXPECT_EQ(plain->Dib()->BitCount(), 24u);
}

// Counts the repaints a palette change causes.
class CountingWindow : public TBitmapWin {
public:
    CountingWindow() : TBitmapWin(nullptr, nullptr, nullptr) {}
    void Paint(platform::DC& dc, bool erase, const QRect& rect) override
    {
        ++paints;
        TBitmapWin::Paint(dc, erase, rect);
    }
    int paints = 0;
};

TEST_F(ImageWindow, TheWindowTakingTheForegroundRealizesItsPalette)
{
    TBitmapWin::SimulatePaletteDevice(true);
    CountingWindow a, b;
    a.resize(100, 100);
    b.resize(100, 100);
    a.show();
    b.show();
    ASSERT_TRUE(a.OpenFile((kFixtures / "bmp-24bit.bmp").string().c_str()));
    ASSERT_TRUE(b.OpenFile((kFixtures / "jpg-baseline.jpg").string().c_str()));
    QCoreApplication::processEvents();
    a.paints = b.paints = 0;
    EXPECT_TRUE(a.EvQueryNewPalette());
    QCoreApplication::processEvents();
    EXPECT_GT(a.paints, 0);   // realized in the foreground
    EXPECT_GT(b.paints, 0);   // told of the change, repaints in the background
    a.paints = b.paints = 0;
    a.EvPaletteChanged(&a);   // its own change
    QCoreApplication::processEvents();
    EXPECT_EQ(a.paints, 0);
    // No palette display: nothing to realize.
    TBitmapWin::SimulatePaletteDevice(false);
    CountingWindow c;
    ASSERT_TRUE(c.OpenFile((kFixtures / "bmp-24bit.bmp").string().c_str()));
    EXPECT_FALSE(c.EvQueryNewPalette());
}

TEST_F(ImageWindow, TheAreaBesideAndBelowAPictureIsBackground)
{
    TBitmapWin* w = Open((kFixtures / "bmp-24bit.bmp").string());   // 37 x 23
    ASSERT_NE(w, nullptr);
    QImage canvas(120, 80, QImage::Format_RGB32);
    canvas.fill(Qt::red);
    w->resize(120 + w->verticalScrollBar()->width(), 80 + w->horizontalScrollBar()->height());
    QCoreApplication::processEvents();
    QPainter painter(&canvas);
    w->PaintInto(painter, w->ClientRect());
    painter.end();
    const QImage picture = w->Dib()->Image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(canvas.pixel(0, 0), picture.pixel(0, 0));
    EXPECT_EQ(canvas.pixel(36, 22), picture.pixel(36, 22));
    const QRgb background = w->palette().color(QPalette::Base).rgb();
    EXPECT_EQ(canvas.pixel(37, 0), background);   // right of the picture
    EXPECT_EQ(canvas.pixel(100, 70), background);
    EXPECT_EQ(canvas.pixel(0, 23), background);   // below it
    EXPECT_TRUE(app->app->PicturePainted);
}

struct PrintRow {
    const char* name;
    int width, height;
    QRect page, expected;   // by hand below
};

TEST_F(ImageWindow, PrintedPicturesFitThePage)
{
    const PrintRow rows[] = {
        // Smaller than the page: centred, (400 - 100) / 2 and (300 - 50) / 2.
        {"centred", 100, 50, QRect(0, 0, 400, 300), QRect(150, 125, 100, 50)},
        // Wider: height 200 x 400 / 800 = 100, centred vertically.
        {"scaled to the width", 800, 200, QRect(0, 0, 400, 300), QRect(0, 100, 400, 100)},
        // Taller: width 300 x 300 / 900 = 100, centred horizontally.
        {"scaled to the height", 300, 900, QRect(0, 0, 400, 300), QRect(150, 0, 100, 300)},
        // Both: 2000 x 4000 -> 1000 x 2000 -> 500 x 1000, proportions kept.
        {"scaled twice", 2000, 4000, QRect(0, 0, 1000, 1000), QRect(250, 0, 500, 1000)},
    };
    for (const PrintRow& r : rows)
        EXPECT_EQ(TBitmapWin::PrintRect(r.width, r.height, r.page), r.expected) << r.name;
}

TEST_F(ImageWindow, PrintsOnePageAndCopiesThePicture)
{
    TBitmapWin* w = Command(6210);
    ASSERT_NE(w, nullptr);
    const auto pdf = app->dir / "itu.pdf";
    platform::Printer::SetPrintToPdfFile(pdf.string());
    auto printout = orbiscope::MakePrintout(&orbiscope::ApplicationPrinter(), "ITU Regions", w, true);
    EXPECT_NE(dynamic_cast<TBitmapWinOut*>(printout.get()), nullptr);
    EXPECT_TRUE(printout->HasPage(1));
    EXPECT_FALSE(printout->HasPage(2));
    platform::RouteCommand({w}, orbiscope::CM_FILEPRINT);
    platform::Printer::SetPrintToPdfFile("");
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);

    EXPECT_TRUE(platform::CommandEnabledOn({w}, orbiscope::CM_EDITCOPY));
    platform::RouteCommand({w}, orbiscope::CM_EDITCOPY);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(392, 235));
    TBitmapWin empty(nullptr, nullptr, nullptr);
    EXPECT_FALSE(platform::CommandEnabledOn({&empty}, orbiscope::CM_EDITCOPY));
}

TEST_F(ImageWindow, TakingTheFocusMakesTheImageWindowPending)
{
    Command(6210);
    app->app->PendingWindowType = 5;
    Active()->EvSetFocus();
    EXPECT_EQ(app->app->PendingWindowType, 1);
}

// Renders the frame with its picture window to a PNG in the build folder and
// returns what the window itself shows.
QImage Screenshot(testsupport::AppFixture& app, QSize child, const std::filesystem::path& file)
{
    auto* c = app.app->Client()->ActiveDocumentChild();
    c->move(0, 0);
    c->resize(child);
    QCoreApplication::processEvents();
    app.app->Frame()->grab().toImage().save(QString::fromStdString(file.string()));
    return c->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The ITU Regions picture, and a JPEG made from the time-zone map opened as
// any JPEG file: the window shows the picture's own pixels from its corner.
TEST_F(ImageWindow, ScreenshotsOfTheItuRegionsAndOfAJpeg)
{
    app->app->Frame()->resize(900, 680);
    TBitmapWin* itu = Command(6210);
    ASSERT_NE(itu, nullptr);
    const QImage regions = Screenshot(*app, QSize(430, 300), TestPicture("itu-regions.png"));
    const QImage regionsPicture = itu->Dib()->Image().convertToFormat(QImage::Format_RGB32);
    for (QPoint p : {QPoint(0, 0), QPoint(200, 100), QPoint(391, 234)})
        EXPECT_EQ(regions.pixel(p), regionsPicture.pixel(p)) << p.x() << "," << p.y();

    const QImage map(QString::fromStdString((buildDir / "TIMEZONE.GIF").string()));
    ASSERT_FALSE(map.isNull());
    const auto jpeg = app->dir / "time-zones.jpg";
    ASSERT_TRUE(map.save(QString::fromStdString(jpeg.string()), "JPG", 90));
    std::filesystem::current_path(app->dir.Path());   // the caption shows the name as opened
    TBitmapWin* w = Open("time-zones.jpg");
    ASSERT_NE(w, nullptr);
    ASSERT_NE(w->Dib(), nullptr);
    EXPECT_EQ(w->Dib()->BitCount(), 24u);
    EXPECT_EQ(Caption(), "time-zones.jpg");
    const QImage shown = Screenshot(*app, QSize(860, 600), TestPicture("jpeg-window.png"));
    const QImage picture = w->Dib()->Image().convertToFormat(QImage::Format_RGB32);
    for (QPoint p : {QPoint(0, 0), QPoint(300, 200), QPoint(600, 400)})
        EXPECT_EQ(shown.pixel(p), picture.pixel(p)) << p.x() << "," << p.y();
}

}  // namespace
