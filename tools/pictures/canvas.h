// Drawing on a Qt image with a fixed palette, and the projections the
// pictures use.  Everything is drawn without anti-aliasing, so that every
// pixel holds one of the palette's colours and the picture converts to an
// indexed bitmap exactly.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <vector>

#include "imaging/loader/packed_dib.h"
#include "world.h"

namespace pictures {

struct Indexed {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;   // rows from the top
    std::vector<QRgb> palette;
};

using Projection = std::function<QPointF(const GeoPoint&)>;

// The whole world, lon -180..180 and lat 90..-90, onto `area`.
Projection Equirectangular(const QRectF& area);

// The closed rings as one path to fill with the odd-even rule.
QPainterPath AreaPath(const std::vector<Ring>& rings, const Projection& project);
// Every ring edge and line segment that is a real coast, border or line.
QPainterPath OutlinePath(const std::vector<Ring>& rings, const Projection& project);

// A plain sans-serif face at a pixel size, never anti-aliased.
QFont PixelFont(int pixelSize, bool bold = false);

// A white image of the given size, ready to draw on.
QImage Blank(int width, int height, QRgb background);

// Each pixel as the index of its palette colour (the nearest one, should a
// pixel hold another colour).
Indexed ToIndexed(const QImage& image, const std::vector<QRgb>& palette);

// A packed DIB of 1, 4 or 8 bits per pixel with the palette as it is.
orbiscope::PackedDib ToPackedDib(const Indexed& picture, unsigned bitCount);

}  // namespace pictures
