#include "platform/dc.h"

#include <QFontMetricsF>
#include <cmath>

#include <QFontMetrics>
#include <algorithm>

#include "platform/dib.h"

namespace platform {

QFont MakeFont(const FontDesc& desc)
{
    QFont f(QString::fromLatin1(desc.face.c_str()));
    f.setPixelSize(std::max(1, desc.height));
    f.setWeight(desc.weight >= 700 ? QFont::Bold
                : desc.weight >= 600 ? QFont::DemiBold
                : desc.weight >= 500 ? QFont::Medium
                : desc.weight >= 400 ? QFont::Normal
                : desc.weight >= 300 ? QFont::Light
                                     : QFont::ExtraLight);
    f.setStyleStrategy(QFont::PreferQuality);
    f.setStyleHint(desc.face == "Courier New" ? QFont::TypeWriter : QFont::SansSerif);
    // Tables line up only in a face of fixed pitch, whatever stands in for
    // a face that is not installed.
    if (desc.face == "Courier New") f.setFixedPitch(true);
    return f;
}

int LineHeightOf(const QFont& font, QPaintDevice* device)
{
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return fm.height() + std::max(0, fm.leading());
}

int AverageCharWidthOf(const QFont& font, QPaintDevice* device)
{
    // Rounded up: a face whose characters are 7.2 pixels wide would
    // otherwise give columns of n units too narrow for n characters, and a
    // full column would spill past its tab stop into the next.
    const QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
    return std::max(1, int(std::ceil(fm.averageCharWidth() - 1e-6)));
}

int NextTabOffset(int offset, const std::vector<int>& stops, int averageCharWidth)
{
    const int avg = std::max(1, averageCharWidth);
    if (stops.empty() || (stops.size() == 1 && stops[0] <= 0)) {
        const int step = 8 * avg;
        return (offset / step + 1) * step;
    }
    if (stops.size() == 1) {
        const int step = stops[0];
        return (offset / step + 1) * step;
    }
    for (int s : stops)
        if (s > offset) return s;
    return offset + avg;
}

namespace {

QString Latin1(std::string_view text) { return QString::fromLatin1(text.data(), qsizetype(text.size())); }

Qt::PenStyle QtStyle(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::Solid: break;
    }
    return Qt::SolidLine;
}

}  // namespace

void DC::Save()
{
    painter_.save();
    saved_.push_back(state_);
}

void DC::Restore()
{
    painter_.restore();
    if (saved_.empty()) return;
    state_ = saved_.back();
    saved_.pop_back();
}

int DC::LineHeight() const { return LineHeightOf(painter_.font(), painter_.device()); }
int DC::AverageCharWidth() const { return AverageCharWidthOf(painter_.font(), painter_.device()); }

QSize DC::TextExtent(std::string_view text) const
{
    const QFontMetrics fm(painter_.font(), painter_.device());
    return QSize(fm.horizontalAdvance(Latin1(text)), fm.height());
}

void DC::UseTextColour() { painter_.setPen(state_.textColour); }

void DC::UsePen()
{
    const Pen& p = state_.pen;
    QPen pen(p.colour, std::max(0, p.width), QtStyle(p.style), Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(p.width <= 0);
    painter_.setPen(pen);
}

void DC::TextOut(int x, int y, std::string_view text)
{
    const QFontMetrics fm(painter_.font(), painter_.device());
    const QString s = Latin1(text);
    int dx = 0;
    switch (state_.align.horizontal) {
    case TextH::Left: break;
    case TextH::Centre: dx = -fm.horizontalAdvance(s) / 2; break;
    case TextH::Right: dx = -fm.horizontalAdvance(s); break;
    }
    int baseline = 0;  // from the reference point to the baseline, downwards
    switch (state_.align.vertical) {
    case TextV::Top: baseline = fm.ascent(); break;
    case TextV::Baseline: break;
    case TextV::Bottom: baseline = -fm.descent(); break;
    }
    UseTextColour();
    if (state_.escapement == 0) {
        painter_.drawText(x + dx, y + baseline, s);
        return;
    }
    // Turned about the reference point; y grows downwards, so a
    // counter-clockwise turn is a negative angle for the painter.
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-state_.escapement / 10.0);
    painter_.drawText(dx, baseline, s);
    painter_.restore();
}

Pen DC::SelectPen(const Pen& pen)
{
    const Pen previous = state_.pen;
    state_.pen = pen;
    return previous;
}

void DC::LineTo(int x, int y)
{
    UsePen();
    const QPoint to(x, y);
    painter_.drawLine(state_.current, to);
    state_.current = to;
}

void DC::Polyline(std::span<const QPoint> points)
{
    if (points.size() < 2) return;
    UsePen();
    painter_.drawPolyline(points.data(), int(points.size()));
}

void DC::FillRect(const QRect& rect, const QColor& colour) { painter_.fillRect(rect, colour); }

void DC::IntersectClipRect(const QRect& rect)
{
    painter_.setClipRect(rect, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void DC::SetMapping(const QRect& logical, const QRect& device)
{
    painter_.setWindow(logical);
    painter_.setViewport(device);
    painter_.setViewTransformEnabled(true);
}

void DC::ResetMapping() { painter_.setViewTransformEnabled(false); }

bool DC::StretchDib(std::span<const std::uint8_t> dib, const QRect& dest)
{
    const QImage image = DibToImage(dib);
    if (image.isNull()) return false;
    DrawImage(image, dest);
    return true;
}

void DC::DrawImage(const QImage& image, const QRect& dest)
{
    if (image.isNull() || dest.isEmpty()) return;
    painter_.drawImage(dest, image);
}

int DC::TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops, int tabOrigin)
{
    UseTextColour();
    const QFontMetrics fm(painter_.font(), painter_.device());
    const int avg = AverageCharWidthOf(painter_.font(), painter_.device());
    int pen = x;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = text.find('\t', start);
        const std::string_view piece = text.substr(start, tab == std::string_view::npos ? text.size() - start : tab - start);
        const QString s = QString::fromLatin1(piece.data(), int(piece.size()));
        if (!s.isEmpty()) painter_.drawText(pen, y + fm.ascent(), s);
        pen += fm.horizontalAdvance(s);
        if (tab == std::string_view::npos) break;
        pen = tabOrigin + NextTabOffset(pen - tabOrigin, tabStops, avg);
        start = tab + 1;
    }
    return pen - x;
}

}  // namespace platform
