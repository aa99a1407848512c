// The device context draws where the graphs and pictures expect: pens and
// lines at a printing scale, clipping, text at an angle about its reference
// point, and packed device-independent bitmaps.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>

#include "platform/dc.h"
#include "platform/dib.h"
#include "tests/platform/qt_app.h"

namespace {

using platform::DC;
using platform::Pen;
using platform::PenStyle;

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

// Renders into a white image and hands it back once the painter has ended.
QImage Render(QSize size, const std::function<void(DC&)>& draw)
{
    platformtest::App();
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    DC dc(painter);
    draw(dc);
    painter.end();
    return image;
}

// The bounding box of everything that is not white.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

// ---- pens, lines, clipping, text --------------------------------------------------

TEST(DeviceContext, PensDrawTheirWidthWhereTheLineRuns)
{
    // A pen of width w along y = c covers the device rows c - w/2 .. c + w/2 - 1;
    // width 0 is one device pixel at any scale, width 1 scales like the coordinates.
    struct Case { const char* name; Pen pen; int scale; QPoint from, to; std::vector<QPoint> ink, clear; };
    const std::vector<Case> cases = {
        {"2 px horizontal", {QColor(255, 0, 0), 2}, 1, {10, 20}, {50, 20}, {{30, 19}, {30, 20}, {49, 20}}, {{30, 18}, {30, 21}, {60, 20}}},
        {"width 0 at 3x", {QColor(255, 0, 0), 0}, 3, {2, 10}, {20, 10}, {{30, 30}}, {{30, 29}, {30, 31}}},
        {"width 1 at 3x", {QColor(255, 0, 0), 1}, 3, {2, 10}, {20, 10}, {{30, 29}, {30, 30}, {30, 31}}, {{30, 28}, {30, 32}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = Render({80, 80}, [&c](DC& dc) {
            dc.SetMapping(QRect(0, 0, 80, 80), QRect(0, 0, 80 * c.scale, 80 * c.scale));
            dc.SelectPen(c.pen);
            dc.MoveTo(c.from.x(), c.from.y());
            dc.LineTo(c.to.x(), c.to.y());
        });
        for (QPoint p : c.ink) EXPECT_EQ(image.pixel(p), kRed) << p.x() << "," << p.y();
        for (QPoint p : c.clear) EXPECT_EQ(image.pixel(p), kWhite) << p.x() << "," << p.y();
    }
}

TEST(DeviceContext, DashesLeaveGapsAndPolylinesJoinTheirPoints)
{
    const QImage image = Render({120, 60}, [](DC& dc) {
        dc.SelectPen({QColor(255, 0, 0), 0, PenStyle::Dash});
        dc.MoveTo(0, 55);
        dc.LineTo(119, 55);
        dc.SelectPen({QColor(255, 0, 0), 0});
        const std::vector<QPoint> corner = {{20, 10}, {40, 10}, {40, 30}};
        dc.Polyline(corner);
    });
    EXPECT_EQ(image.pixel(30, 10), kRed);
    EXPECT_EQ(image.pixel(40, 20), kRed);
    EXPECT_EQ(image.pixel(30, 20), kWhite);  // not closed back to the first point
    int dash = 0;
    for (int x = 0; x < 110; ++x) dash += image.pixel(x, 55) == kRed;
    EXPECT_TRUE(dash > 20 && dash < 100) << dash;
}

TEST(DeviceContext, FillsStopAtTheClipEdgeUntilRestore)
{
    struct Case { const char* name; std::vector<QRect> clips; bool restore; QRect inked; };
    const std::vector<Case> cases = {
        {"one clip", {{10, 10, 20, 20}}, false, {10, 10, 20, 20}},
        {"clips intersect", {{10, 10, 20, 20}, {20, 0, 50, 25}}, false, {20, 10, 10, 15}},
        {"restored", {{10, 10, 5, 5}}, true, {0, 0, 50, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = Render({50, 50}, [&c](DC& dc) {
            dc.Save();
            for (const QRect& clip : c.clips) dc.IntersectClipRect(clip);
            if (c.restore) dc.Restore();
            dc.FillRect(QRect(0, 0, 50, 50), QColor(0, 0, 255));
        });
        EXPECT_EQ(InkBox(image), c.inked);
    }
}

TEST(DeviceContext, TextLiesOnItsSideOfTheReferencePoint)
{
    // Reference point (100, 100); a glyph's ink may sit a pixel or two off its cell.
    constexpr int kSlack = 2;
    struct Case { const char* name; platform::TextAlign align; int escapement; QRect cell; };
    const QFont font = platform::MakeFont({12, 700, "Arial"});
    QSize e;  // extent of the text: width, cell height
    Render({1, 1}, [&](DC& dc) { dc.SelectFont(font); e = dc.TextExtent("ELEVATION"); });
    const std::vector<Case> cases = {
        {"left top", {platform::TextH::Left, platform::TextV::Top}, 0, {100, 100, e.width(), e.height()}},
        {"right bottom", {platform::TextH::Right, platform::TextV::Bottom}, 0, {100 - e.width(), 100 - e.height(), e.width(), e.height()}},
        // Upwards: the text runs up from the point and its cell lies right of
        // it, so a y-axis title drawn 3 line heights left of the axis stays left of it.
        {"upwards", {platform::TextH::Left, platform::TextV::Top}, 900, {100, 100 - e.width(), e.height(), e.width()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = Render({220, 220}, [&](DC& dc) {
            dc.SelectFont(font);
            dc.SetTextAlign(c.align);
            dc.SetTextEscapement(c.escapement);
            dc.TextOut(100, 100, "ELEVATION");
        });
        const QRect ink = InkBox(image);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(c.cell.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
        EXPECT_GT(ink.width() * ink.height(), c.cell.width() * c.cell.height() / 4);
    }
}

// ---- packed device-independent bitmaps ---------------------------------------------------

// A packed DIB written by hand: header, masks, palette, then the rows as
// given (padded, in stored order).
struct DibSpec {
    std::int32_t width, height;
    std::uint16_t bits;
    std::uint32_t compression = platform::kBiRgb, clrUsed = 0;
    std::vector<std::uint32_t> masks;
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> rows;
    std::uint32_t headerSize = 40;
    std::uint16_t planes = 1;
};

std::vector<std::uint8_t> MakeDib(const DibSpec& s)
{
    std::vector<std::uint8_t> b;
    auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
    };
    put(s.headerSize, 4), put(std::uint32_t(s.width), 4), put(std::uint32_t(s.height), 4), put(s.planes, 2);
    put(s.bits, 2), put(s.compression, 4), put(std::uint32_t(s.rows.size()), 4), put(2835, 4), put(2835, 4);
    put(s.clrUsed, 4), put(0, 4);
    for (std::uint32_t m : s.masks) put(m, 4);
    for (QRgb c : s.palette) put(std::uint32_t(qBlue(c) | qGreen(c) << 8 | qRed(c) << 16), 4);
    b.insert(b.end(), s.rows.begin(), s.rows.end());
    return b;
}

const QRgb k = qRgb(0, 0, 0), r = kRed, b = kBlue, w = kWhite, dr = qRgb(128, 0, 0), dg = qRgb(0, 128, 0);
// Entries 1, 2, 9, 12 and 15 of a 16-colour palette.
const std::vector<QRgb> kSixteen = {k, dr, dg, k, k, k, k, k, k, r, k, k, b, k, k, w};
// 3 x 2 at 4 bits: each row 2 bytes of nibbles padded to 4; stored rows (9, 12, 15) then (1, 2, 0).
const std::vector<std::uint8_t> kNibbleRows = {0x9C, 0xF0, 0, 0, 0x12, 0x00, 0, 0};

TEST(PackedDibs, EveryBitCountDrawsItsPixelsTopRowFirst)
{
    struct Case { const char* name; DibSpec spec; std::vector<std::vector<QRgb>> pixels; };
    const std::vector<Case> cases = {
        // Bottom-up: the first stored row is the picture's bottom row.
        {"4 bits bottom-up", {3, 2, 4, platform::kBiRgb, 16, {}, kSixteen, kNibbleRows}, {{dr, dg, k}, {r, b, w}}},
        {"4 bits top-down", {3, -2, 4, platform::kBiRgb, 16, {}, kSixteen, kNibbleRows}, {{r, b, w}, {dr, dg, k}}},
        // The leftmost pixel is the top bit; pixel 8 starts the second byte; biClrUsed 0 means 2.
        {"1 bit", {10, 1, 1, platform::kBiRgb, 0, {}, {k, w}, {0xA0, 0x80, 0, 0}}, {{w, k, w, k, k, k, k, k, w, k}}},
        // Index 5 has no palette entry: black.
        {"8 bits short palette", {3, 1, 8, platform::kBiRgb, 2, {}, {r, b}, {1, 0, 5, 0}}, {{b, r, k}}},
        // 0x7C00 is full red; 0x0210 is green and blue 16 of 31: 16 x 255 / 31 = 131.
        {"16 bits 5-5-5", {2, 1, 16, platform::kBiRgb, 0, {}, {}, {0x00, 0x7C, 0x10, 0x02}}, {{r, qRgb(0, 131, 131)}}},
        // 0x07E0 is green 63 of 63; 0x0801 red and blue 1 of 31: 255 / 31 = 8.
        {"16 bits 5-6-5 fields", {2, 1, 16, platform::kBiBitfields, 0, {0xF800, 0x07E0, 0x1F}, {}, {0xE0, 0x07, 0x01, 0x08}},
         {{qRgb(0, 255, 0), qRgb(8, 0, 8)}}},
        // Blue, green, red bytes, each row padded to 4; a palette on it is skipped.
        {"24 bits", {1, 2, 24, platform::kBiRgb, 1, {}, {r}, {0x33, 0x22, 0x11, 0, 0xFF, 0, 0, 0}}, {{b}, {qRgb(0x11, 0x22, 0x33)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = platform::DibToImage(MakeDib(c.spec));
        ASSERT_EQ(image.size(), QSize(c.spec.width, std::abs(c.spec.height)));
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                EXPECT_EQ(image.pixel(x, y), c.pixels[std::size_t(y)][std::size_t(x)]) << x << "," << y;
    }
    // Stretched: each picture pixel becomes a 10 x 10 block of the rectangle.
    const auto dib = MakeDib({3, 2, 4, platform::kBiRgb, 16, {}, kSixteen, kNibbleRows});
    const QImage image = Render({60, 60}, [&dib](DC& dc) { dc.StretchDib(dib, QRect(10, 20, 30, 20)); });
    EXPECT_EQ(image.pixel(10, 20), dr);
    EXPECT_EQ(image.pixel(19, 29), dr);
    EXPECT_EQ(image.pixel(20, 29), dg);
    EXPECT_EQ(image.pixel(39, 20), k);
    EXPECT_EQ(image.pixel(40, 20), w);
    EXPECT_EQ(image.pixel(29, 30), b);
    EXPECT_EQ(image.pixel(9, 20), w);
}

TEST(PackedDibs, ABadBlockDrawsNothing)
{
    const DibSpec good{3, 2, 4, platform::kBiRgb, 16, {}, kSixteen, kNibbleRows};
    const DibSpec fields{2, 1, 16, platform::kBiBitfields, 0, {0xF800, 0x07E0, 0x1F}, {}, std::vector<std::uint8_t>(4, 0)};
    const std::vector<std::tuple<const char*, DibSpec, std::function<void(DibSpec&)>>> cases = {
        {"header of 12 bytes", good, [](DibSpec& s) { s.headerSize = 12; }},
        {"two planes", good, [](DibSpec& s) { s.planes = 2; }},
        {"height 0", good, [](DibSpec& s) { s.height = 0; }},
        {"run-length coded", good, [](DibSpec& s) { s.compression = platform::kBiRle4; }},
        {"palette past the end", good, [](DibSpec& s) { s.clrUsed = 0xFFFFFFFF; }},
        {"rows past the end", good, [](DibSpec& s) { s.height = -3; }},  // one more row than stored
        {"width past the rows", good, [](DibSpec& s) { s.width = 0x7FFFFFFF; }},
        {"lowest height", good, [](DibSpec& s) { s.height = std::numeric_limits<std::int32_t>::min(); }},
        {"zero mask", fields, [](DibSpec& s) { s.masks[1] = 0; }},
        {"mask in two runs", fields, [](DibSpec& s) { s.masks[0] = 0xF0F0; }},
    };
    for (const auto& [name, base, spoil] : cases) {
        SCOPED_TRACE(name);
        DibSpec spec = base;
        spoil(spec);
        EXPECT_TRUE(platform::DibToImage(MakeDib(spec)).isNull());
    }
    const auto bytes = MakeDib(good);
    EXPECT_TRUE(platform::DibToImage(std::span(bytes).first(39)).isNull());
    bool drawn = true;
    const QImage image = Render({20, 20}, [&](DC& dc) { drawn = dc.StretchDib(std::span(bytes).first(39), QRect(0, 0, 20, 20)); });
    EXPECT_FALSE(drawn);
    EXPECT_TRUE(InkBox(image).isEmpty());
}

}  // namespace
