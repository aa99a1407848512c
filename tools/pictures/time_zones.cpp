// "TIMEZONE.GIF": the world's standard-time zones in equirectangular
// projection, each zone coloured by its offset from UTC (land darker than
// sea), labelled where there is room, with the nominal hours along the top.
#include <QPainter>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "pictures.h"

namespace pictures {

namespace {

constexpr int kWidth = 1080, kMapTop = 28, kMapHeight = 540, kHeight = 600;
constexpr int kMinLabelRoomPx = 9;   // distance to the zone's edge a label needs

// Hues for whole hours, cycled so that neighbouring zones differ; half and
// quarter hours get their own.
const QRgb kHourColours[] = {qRgb(255, 226, 140), qRgb(178, 222, 150), qRgb(160, 200, 240),
                             qRgb(240, 180, 180), qRgb(208, 184, 236), qRgb(250, 200, 150)};
const QRgb kFractionColour = qRgb(246, 160, 214);
const QRgb kWhite = qRgb(255, 255, 255), kBlack = qRgb(0, 0, 0);
const QRgb kBorder = qRgb(110, 110, 110), kCoast = qRgb(50, 50, 50);

double OffsetOf(const Ring& zone)
{
    double hours = 0;
    const char* s = zone.name.c_str();
    std::from_chars(s + (s[0] == '+' ? 1 : 0), s + zone.name.size(), hours);
    return hours;
}

QRgb ZoneColour(double hours, bool land)
{
    QRgb base = kFractionColour;
    if (hours == std::floor(hours)) {
        const int h = static_cast<int>(hours);
        base = kHourColours[((h % 6) + 6) % 6];
    }
    // Land a darker shade, sea a paler one.
    const double k = land ? 0.78 : 1.0;
    const double mix = land ? 0.0 : 0.45;
    const auto channel = [&](int v) { return static_cast<int>(std::lround((v * (1 - mix) + 255 * mix) * k)); };
    return qRgb(channel(qRed(base)), channel(qGreen(base)), channel(qBlue(base)));
}

// "+5:30", "-9:30", "0", "+8".
QString OffsetLabel(double hours)
{
    if (hours == 0)
        return "0";
    const int minutes = static_cast<int>(std::lround(std::abs(hours) * 60));
    QString text = QString(hours > 0 ? "+" : "-") + QString::number(minutes / 60);
    if (minutes % 60 != 0)
        text += QString(":%1").arg(minutes % 60, 2, 10, QChar('0'));
    return text;
}

// Each pixel of the map holds the number of the zone ring it lies in (0 none).
QImage ZoneIds(const std::vector<Ring>& zones, const Projection& project)
{
    QImage ids(kWidth, kMapHeight, QImage::Format_RGB32);
    ids.fill(0u);
    QPainter p(&ids);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const int id = static_cast<int>(i) + 1;
        p.fillPath(AreaPath({zones[i]}, project), QColor(id & 0xFF, id >> 8, 0));
    }
    return ids;
}

int IdAt(const QImage& ids, int x, int y)
{
    const QRgb v = ids.pixel(x, y);
    return qRed(v) | qGreen(v) << 8;
}

// City-block distance of every pixel to the nearest pixel of another zone
// (two passes over the map).
std::vector<int> DistanceToEdge(const QImage& ids)
{
    const int w = ids.width(), h = ids.height();
    std::vector<int> d(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 1 << 20);
    const auto at = [w](int x, int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int id = IdAt(ids, x, y);
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1 || IdAt(ids, x - 1, y) != id ||
                              IdAt(ids, x, y - 1) != id || IdAt(ids, x + 1, y) != id || IdAt(ids, x, y + 1) != id;
            if (edge)
                d[at(x, y)] = 0;
            else
                d[at(x, y)] = std::min(d[at(x - 1, y)], d[at(x, y - 1)]) + 1;
        }
    for (int y = h - 2; y > 0; --y)
        for (int x = w - 2; x > 0; --x)
            d[at(x, y)] = std::min(d[at(x, y)], std::min(d[at(x + 1, y)], d[at(x, y + 1)]) + 1);
    return d;
}

void DrawLabels(QPainter& p, const std::vector<Ring>& zones, const QImage& ids)
{
    const std::vector<int> distance = DistanceToEdge(ids);
    std::map<int, std::pair<int, QPoint>> best;   // zone id -> (room, pixel)
    for (int y = 0; y < ids.height(); ++y)
        for (int x = 0; x < ids.width(); ++x) {
            const int room = distance[static_cast<std::size_t>(y) * static_cast<std::size_t>(ids.width()) + static_cast<std::size_t>(x)];
            auto& b = best[IdAt(ids, x, y)];
            if (room > b.first)
                b = {room, QPoint(x, y)};
        }
    p.setFont(PixelFont(10, true));
    p.setPen(QColor::fromRgb(kBlack));
    const QFontMetrics metrics(p.font());
    for (const auto& [id, where] : best) {
        if (id == 0 || where.first < kMinLabelRoomPx)
            continue;
        const QString text = OffsetLabel(OffsetOf(zones[static_cast<std::size_t>(id) - 1]));
        if (metrics.horizontalAdvance(text) / 2 > where.first + 3)   // wider than the zone there
            continue;
        const QPoint c = where.second + QPoint(0, kMapTop);
        p.drawText(QPoint(c.x() - metrics.horizontalAdvance(text) / 2, c.y() + metrics.ascent() / 2), text);
    }
}

void DrawHourScale(QPainter& p)
{
    p.setFont(PixelFont(11, true));
    p.setPen(QColor::fromRgb(kBlack));
    const QFontMetrics metrics(p.font());
    for (int h = -12; h <= 12; ++h) {
        const int x = static_cast<int>(std::lround((15.0 * h + 180) / 360 * kWidth));
        const QString text = OffsetLabel(h);
        const int left = std::clamp(x - metrics.horizontalAdvance(text) / 2, 1, kWidth - 1 - metrics.horizontalAdvance(text));
        p.drawText(left, 18, text);
        p.drawLine(x, 22, x, kMapTop - 1);
    }
}

}  // namespace

Indexed WorldTimeZones(const WorldData& world)
{
    const Projection project = Equirectangular(QRectF(0, 0, kWidth, kMapHeight));
    const QImage ids = ZoneIds(world.timeZones, project);
    QImage land(kWidth, kMapHeight, QImage::Format_RGB32);
    land.fill(0u);
    {
        QPainter p(&land);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(AreaPath(world.land, project), Qt::white);
    }
    QImage image = Blank(kWidth, kHeight, kWhite);
    for (int y = 0; y < kMapHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int id = IdAt(ids, x, y);
            const double hours = id == 0 ? 0 : OffsetOf(world.timeZones[static_cast<std::size_t>(id) - 1]);
            image.setPixel(x, y + kMapTop, ZoneColour(hours, qRed(land.pixel(x, y)) != 0));
        }

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const Projection onMap = Equirectangular(QRectF(0, kMapTop, kWidth, kMapHeight));
    p.setPen(QPen(QColor::fromRgb(kBorder), 0));
    p.drawPath(OutlinePath(world.timeZones, onMap));
    p.setPen(QPen(QColor::fromRgb(kCoast), 0));
    p.drawPath(OutlinePath(world.land, onMap));
    DrawLabels(p, world.timeZones, ids);
    DrawHourScale(p);
    p.setPen(QColor::fromRgb(kBlack));
    p.setFont(PixelFont(11));
    p.drawText(8, kHeight - 11,
               "Standard time in hours from UTC, without daylight saving time. "
               "Zones as in the Natural Earth time-zone data (2012).");
    p.end();

    std::vector<QRgb> palette;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            if (std::find(palette.begin(), palette.end(), c) == palette.end())
                palette.push_back(c);
        }
    if (palette.size() > 256)
        palette.resize(256);   // cannot happen: about 40 zone colours in two shades and a few greys
    return ToIndexed(image, palette);
}

}  // namespace pictures
