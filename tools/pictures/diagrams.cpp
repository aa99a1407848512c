// Pictures 88, "Polar Mount Angles", and 89, "Polarization and Tilt Angles":
// the terms the look-angle report prints, drawn as diagrams.
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "pictures.h"
#include "propagation/coordinates.h"

namespace pictures {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// A unit direction at `degrees` counter-clockwise from east (screen y down).
QPointF Direction(double degrees)
{
    return QPointF(std::cos(degrees * kDegree), -std::sin(degrees * kDegree));
}

void Arc(QPainter& p, QPointF centre, double radius, double fromDegrees, double toDegrees)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(box, static_cast<int>(std::lround(fromDegrees * 16)),
              static_cast<int>(std::lround((toDegrees - fromDegrees) * 16)));
}

void Ray(QPainter& p, QPointF from, double degrees, double length)
{
    p.drawLine(from, from + length * Direction(degrees));
}

void ArrowHead(QPainter& p, QPointF tip, double degrees)
{
    const QPointF back1 = tip - 10 * Direction(degrees - 20);
    const QPointF back2 = tip - 10 * Direction(degrees + 20);
    p.drawLine(tip, back1);
    p.drawLine(tip, back2);
}

// Text whose left (or right, when `rightAligned`) end sits at `at`, centred
// vertically on it.
// The box each label takes is added to `boxes` when given.
void Label(QPainter& p, QPointF at, const QString& text, bool rightAligned = false,
           std::vector<PictureLabel>* boxes = nullptr)
{
    const QFontMetrics m(p.font());
    const double x = rightAligned ? at.x() - m.horizontalAdvance(text) : at.x();
    const QPointF baseline(x, at.y() + m.ascent() / 2.0 - 1);
    p.drawText(baseline, text);
    if (boxes)
        boxes->push_back({text.toStdString(), QRectF(m.boundingRect(text)).translated(baseline)});
}

// --- polar mount -------------------------------------------------------------

constexpr int kMountWidth = 418, kMountHeight = 358;
constexpr double kExampleLatitude = 45;

enum MountColour : std::uint8_t { kWhite, kBlack, kGrey, kDark, kAxis, kBeam, kPlane, kAngle, kGround };
const std::vector<QRgb> kMountPalette = {
    qRgb(255, 255, 255), qRgb(0, 0, 0),     qRgb(150, 150, 150), qRgb(80, 80, 80),
    qRgb(0, 70, 200),    qRgb(210, 0, 0),   qRgb(0, 140, 60),    qRgb(130, 40, 150),
    qRgb(225, 215, 190), qRgb(128, 128, 0), qRgb(0, 128, 128),   qRgb(128, 0, 0),
    qRgb(0, 0, 128),     qRgb(192, 192, 192), qRgb(255, 255, 0), qRgb(0, 255, 255),
};

QColor M(MountColour c)
{
    return QColor::fromRgb(kMountPalette[c]);
}

struct MountAngles {
    double declinationOffset, apexDeclination, apexElevation, polarAxis, polarElevation;
};

MountAngles ExampleAngles()
{
    MountAngles a{};
    ::PolarMountAngles(kExampleLatitude, &a.declinationOffset, &a.apexDeclination, &a.apexElevation, &a.polarAxis,
                     &a.polarElevation);
    return a;
}

// The angles' key: their numbers on the diagram, names and values at the
// example latitude.
void DrawKey(QPainter& p, const MountAngles& a)
{
    p.setPen(M(kBlack));
    p.setFont(PixelFont(11, true));
    p.drawText(10, 304, QString("At latitude %1\u00B0:").arg(kExampleLatitude, 0, 'f', 0));
    p.setFont(PixelFont(11));
    const std::pair<const char*, double> rows[] = {{"1  Polar axis", a.polarAxis},
                                                   {"2  Polar elevation", a.polarElevation},
                                                   {"3  Declination offset", a.declinationOffset},
                                                   {"4  Apex declination", a.apexDeclination},
                                                   {"5  Apex elevation", a.apexElevation}};
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const int x = i < 3 ? 10 : 220, y = 320 + 15 * static_cast<int>(i % 3);
        p.drawText(x, y, rows[i].first);
        p.drawText(x + 128, y, QString("%1\u00B0").arg(rows[i].second, 0, 'f', 2));
    }
}

}  // namespace

Indexed PolarMountAngles(std::vector<PictureLabel>* labels)
{
    const MountAngles a = ExampleAngles();
    QImage image = Blank(kMountWidth, kMountHeight, kMountPalette[kWhite]);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPointF pivot(250, 222);
    const double south = 180;
    const double axisDeg = a.polarAxis;                       // above the northern horizon
    const double planeDeg = south - a.polarElevation;         // perpendicular to the axis
    const double beamDeg = south - a.apexElevation;           // boresight to the arc's apex

    p.setFont(PixelFont(12, true));
    p.setPen(M(kBlack));
    p.drawText(10, 18, "Modified polar mount, side view looking west");

    // Ground, post, horizontal and zenith references.
    p.fillRect(20, 276, 378, 8, M(kGround));
    p.setPen(QPen(M(kDark), 6));
    p.drawLine(pivot + QPointF(0, 8), QPointF(pivot.x(), 276));
    p.setPen(QPen(M(kGrey), 0, Qt::DashLine));
    p.drawLine(QPointF(24, pivot.y()), QPointF(394, pivot.y()));
    p.drawLine(pivot, QPointF(pivot.x(), 34));
    p.setPen(M(kBlack));
    p.setFont(PixelFont(11, true));
    Label(p, QPointF(8, pivot.y()), "S", false, labels);
    Label(p, QPointF(400, pivot.y()), "N", false, labels);
    p.setFont(PixelFont(11));
    Label(p, QPointF(pivot.x() + 4, 38), "Zenith", false, labels);
    Label(p, QPointF(300, pivot.y() + 12), "Horizontal", false, labels);

    // The dish: a reflector facing along the boresight, with its feed.
    const QPointF beam = Direction(beamDeg);
    p.setPen(QPen(M(kDark), 4));
    Arc(p, pivot + 120 * beam, 120, beamDeg + 180 - 18, beamDeg + 180 + 18);
    p.setPen(QPen(M(kDark), 2));
    p.drawLine(pivot + 10 * beam, pivot + 40 * beam);

    // Polar axis, the plane perpendicular to it, the boresight.
    p.setPen(QPen(M(kAxis), 2));
    Ray(p, pivot, axisDeg, 150);
    p.setPen(QPen(M(kPlane), 0, Qt::DashLine));
    Ray(p, pivot, planeDeg, 200);
    p.setPen(QPen(M(kBeam), 2));
    Ray(p, pivot, beamDeg, 215);
    ArrowHead(p, pivot + 215 * beam, beamDeg);

    p.setFont(PixelFont(11));
    p.setPen(M(kAxis));
    Label(p, pivot + 150 * Direction(axisDeg) + QPointF(-30, -12), "Polar axis", false, labels);
    p.setPen(M(kPlane));
    Label(p, pivot + 200 * Direction(planeDeg) + QPointF(-60, -12), "Perpendicular to the polar axis", false, labels);
    p.setPen(M(kBeam));
    Label(p, QPointF(8, pivot.y() - 112), "Boresight to the", false, labels);
    Label(p, QPointF(8, pivot.y() - 98), "arc's apex (south)", false, labels);

    // The angles, numbered as in the key.
    p.setPen(QPen(M(kAngle), 0));
    Arc(p, pivot, 40, 0, axisDeg);
    Arc(p, pivot, 60, planeDeg, south);
    Arc(p, pivot, 178, planeDeg, beamDeg);
    Arc(p, pivot, 120, 90, beamDeg);
    Arc(p, pivot, 95, beamDeg, south);
    p.setPen(M(kAngle));
    p.setFont(PixelFont(12, true));
    const auto number = [&](double radius, double degrees, const char* text) {
        const QPointF at = pivot + radius * Direction(degrees);
        Label(p, at + QPointF(-3, 0), text, false, labels);
    };
    number(50, axisDeg / 2, "1");
    number(70, 170, "2");
    // On the arc's far side from the boresight, clear of its red caption.
    number(178, planeDeg - 6, "3");
    number(130, (90 + beamDeg) / 2, "4");
    number(105, 170, "5");

    p.setPen(QPen(M(kGrey), 0));
    p.drawLine(0, 290, kMountWidth, 290);
    DrawKey(p, a);
    p.end();
    return ToIndexed(image, kMountPalette);
}

// --- polarization ------------------------------------------------------------

namespace {

constexpr int kPolWidth = 480, kPolHeight = 376;
const std::vector<QRgb> kBlackWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};

// The geostationary arc as seen looking south from the northern hemisphere:
// half an ellipse from the eastern to the western horizon.
struct SkyArc {
    QPointF centre{240, 172};
    double a = 210, b = 118;
    QPointF At(double t) const { return centre + QPointF(-a * std::cos(t), -b * std::sin(t)); }
    // Direction of the arc at t, in degrees counter-clockwise from east.
    double SlopeDegrees(double t) const
    {
        const QPointF d(a * std::sin(t), -b * std::cos(t));
        return std::atan2(-d.y(), d.x()) / kDegree;
    }
};

void Satellite(QPainter& p, QPointF at, double slopeDegrees, bool showAngle)
{
    p.fillRect(QRectF(at.x() - 4, at.y() - 4, 8, 8), Qt::black);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(at - 26 * Direction(slopeDegrees), at + 26 * Direction(slopeDegrees));
    if (!showAngle)
        return;
    p.setPen(QPen(Qt::black, 0, Qt::DashLine));
    p.drawLine(at - QPointF(34, 0), at + QPointF(34, 0));
    p.setPen(QPen(Qt::black, 0));
    Arc(p, at, 30, 0, slopeDegrees);
}

}  // namespace

Indexed PolarizationAndTilt()
{
    QImage image = Blank(kPolWidth, kPolHeight, kBlackWhite[1]);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setFont(PixelFont(12, true));
    p.drawText(10, 18, "Looking south from a site in the northern hemisphere");

    const SkyArc sky;
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(QPointF(16, sky.centre.y()), QPointF(464, sky.centre.y()));
    QPainterPath arc;
    for (int i = 0; i <= 90; ++i) {
        const QPointF pt = sky.At(std::numbers::pi * i / 90);
        i == 0 ? arc.moveTo(pt) : arc.lineTo(pt);
    }
    p.setPen(QPen(Qt::black, 0, Qt::DotLine));
    p.drawPath(arc);
    p.setFont(PixelFont(11, true));
    p.setPen(Qt::black);
    Label(p, QPointF(18, sky.centre.y() + 12), "E");
    Label(p, QPointF(232, sky.centre.y() + 12), "S");
    Label(p, QPointF(452, sky.centre.y() + 12), "W");
    p.setFont(PixelFont(11));
    Label(p, sky.At(std::numbers::pi / 2) + QPointF(-52, -14), "Geostationary arc");

    // Three satellites: the plane of their polarization follows the arc.
    const double east = 0.55, west = std::numbers::pi - 0.55;
    Satellite(p, sky.At(east), sky.SlopeDegrees(east), true);
    Satellite(p, sky.At(std::numbers::pi / 2), 0, false);
    Satellite(p, sky.At(west), sky.SlopeDegrees(west), true);
    p.setPen(Qt::black);
    Label(p, sky.At(east) + QPointF(-6, 30), "Polarization offset");
    Label(p, sky.At(west) + QPointF(6, 30), "Polarization offset", true);
    Label(p, sky.At(std::numbers::pi / 2) + QPointF(-28, 22), "none due south");

    // The feed, seen from behind the dish looking at the eastern satellite.
    const QPointF feed(96, 286);
    const double tilt = sky.SlopeDegrees(east);
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(feed, 48, 48);
    p.drawLine(feed - 40 * Direction(tilt), feed + 40 * Direction(tilt));
    p.setPen(QPen(Qt::black, 0, Qt::DashLine));
    p.drawLine(feed - QPointF(60, 0), feed + QPointF(60, 0));
    p.setPen(QPen(Qt::black, 0));
    Arc(p, feed, 30, 0, tilt);
    p.setFont(PixelFont(11, true));
    p.drawText(170, 250, "Feed rotation = polarization offset");
    p.setFont(PixelFont(11));
    const char* const notes[] = {
        "Seen from behind the dish, looking at the satellite,",
        "turn the feed anticlockwise for a satellite east",
        "of due south, clockwise for one west of it;",
        "south of the equator the other way round.",
        "A spot beam polarization cant of the satellite",
        "is taken off the offset the geometry gives.",
    };
    int y = 270;
    for (const char* line : notes) {
        p.drawText(170, y, line);
        y += 15;
    }
    p.end();
    return ToIndexed(image, kBlackWhite);
}

}  // namespace pictures
