// Device context on QPainter: fonts by character height, weight and face,
// colours, and tabbed text output with a tab origin.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A font described as the system's font records do: the character height in
// logical units (pixels on screen), the weight (400 normal, 700 bold) and the face.
struct FontDesc {
    int height = 12;
    int weight = 400;
    std::string face = "Arial";
};

QFont MakeFont(const FontDesc& desc);

// Line height = cell height + external leading (a negative leading counts 0).
int LineHeightOf(const QFont& font, QPaintDevice* device = nullptr);
int AverageCharWidthOf(const QFont& font, QPaintDevice* device = nullptr);

// Where a tab at pixel offset `offset` (from the tab origin) moves the pen:
// no stops, or one stop of 0: every 8 average character widths; one stop:
// every stops[0] pixels; several: the next stop beyond the offset, and past
// the last stop one average character width further.
int NextTabOffset(int offset, const std::vector<int>& stops, int averageCharWidth);

class DC {
public:
    explicit DC(QPainter& painter) : painter_(painter) {}

    QPainter& Painter() { return painter_; }
    void SelectFont(const QFont& font) { painter_.setFont(font); }
    void SetTextColor(const QColor& colour) { painter_.setPen(colour); }
    void Save() { painter_.save(); }
    void Restore() { painter_.restore(); }

    int LineHeight() const;
    int AverageCharWidth() const;

    // Text (Latin-1) with its top-left at (x, y); tabs advance to the stops,
    // counted from `tabOrigin`.  Returns the width drawn.
    int TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops, int tabOrigin);
    void TextOut(int x, int y, std::string_view text);

private:
    QPainter& painter_;
};

}  // namespace platform
