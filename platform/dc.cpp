#include "platform/dc.h"

#include <QFontMetrics>
#include <algorithm>

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
    return f;
}

int LineHeightOf(const QFont& font, QPaintDevice* device)
{
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return fm.height() + std::max(0, fm.leading());
}

int AverageCharWidthOf(const QFont& font, QPaintDevice* device)
{
    const QFontMetrics fm = device ? QFontMetrics(font, device) : QFontMetrics(font);
    return std::max(1, fm.averageCharWidth());
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

int DC::LineHeight() const { return LineHeightOf(painter_.font(), painter_.device()); }
int DC::AverageCharWidth() const { return AverageCharWidthOf(painter_.font(), painter_.device()); }

void DC::TextOut(int x, int y, std::string_view text)
{
    const QFontMetrics fm(painter_.font(), painter_.device());
    painter_.drawText(x, y + fm.ascent(), QString::fromLatin1(text.data(), int(text.size())));
}

int DC::TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops, int tabOrigin)
{
    const QFontMetrics fm(painter_.font(), painter_.device());
    const int avg = std::max(1, fm.averageCharWidth());
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
