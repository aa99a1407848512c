// Device context on QPainter: fonts by character height, weight and face,
// text colours, tabbed text, text at an angle with a reference point, pens,
// lines, rectangles, clipping, a logical-to-device mapping for printing, and
// packed device-independent bitmaps scaled into a rectangle.
//
// Coordinates are logical units with y growing downwards (pixels on screen);
// rectangles are QRects (x .. x + width - 1 covered).  Text is drawn with a
// transparent background.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <span>
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

enum class PenStyle { Solid, Dash, Dot, DashDot };

// A pen: width in logical units (0 draws one device pixel wide whatever the
// mapping, as a cosmetic pen does), style and colour.  Wide pens have round
// ends and joins.
struct Pen {
    QColor colour{0, 0, 0};
    int width = 1;
    PenStyle style = PenStyle::Solid;
};

// Where the point given to TextOut lies on the text: its left end, centre or
// right end, and its top, baseline or bottom (the bottom of the descent).
enum class TextH { Left, Centre, Right };
enum class TextV { Top, Baseline, Bottom };
struct TextAlign {
    TextH horizontal = TextH::Left;
    TextV vertical = TextV::Top;
};

class DC {
public:
    explicit DC(QPainter& painter) : painter_(painter) {}

    QPainter& Painter() { return painter_; }
    void SelectFont(const QFont& font) { painter_.setFont(font); }
    void SetTextColor(const QColor& colour) { state_.textColour = colour; }
    // Saves and restores the painter's state and this context's own (pen,
    // current point, text colour, alignment and angle).
    void Save();
    void Restore();

    int LineHeight() const;
    int AverageCharWidth() const;
    // Width of the text in the selected font and its cell height (ascent +
    // descent), logical units.
    QSize TextExtent(std::string_view text) const;

    // Text (Latin-1) with its top-left at (x, y); tabs advance to the stops,
    // counted from `tabOrigin`.  Returns the width drawn.
    int TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops, int tabOrigin);
    // Text (Latin-1) whose reference point (SetTextAlign) is (x, y), turned
    // by the escapement about that point.
    void TextOut(int x, int y, std::string_view text);
    void SetTextAlign(TextAlign align) { state_.align = align; }
    // Tenths of a degree counter-clockwise: 900 runs the text upwards, its
    // top towards the left.
    void SetTextEscapement(int tenthsOfDegree) { state_.escapement = tenthsOfDegree; }

    // ---- lines ----
    // Returns the pen that was selected.
    Pen SelectPen(const Pen& pen);
    void MoveTo(int x, int y) { state_.current = QPoint(x, y); }
    // A line from the current point to (x, y), which becomes the current point.
    void LineTo(int x, int y);
    // Joined lines through the points; the current point is neither used nor moved.
    void Polyline(std::span<const QPoint> points);

    // ---- areas ----
    void FillRect(const QRect& rect, const QColor& colour);
    // Nothing is drawn outside the rectangle (and any clip already set)
    // until Restore.
    void IntersectClipRect(const QRect& rect);

    // ---- mapping ----
    // The logical rectangle is drawn onto the device rectangle (a printer
    // page showing a screen-sized client area); ResetMapping returns to
    // logical = device.
    void SetMapping(const QRect& logical, const QRect& device);
    void ResetMapping();

    // ---- pictures ----
    // The whole packed DIB scaled into `dest` (nearest pixel, palette colours
    // as stored).  Draws nothing and returns false for a block that is not a
    // drawable DIB (see DibToImage).
    bool StretchDib(std::span<const std::uint8_t> dib, const QRect& dest);
    // An image already converted (by DibToImage) scaled into `dest`.
    void DrawImage(const QImage& image, const QRect& dest);

private:
    struct State {
        QColor textColour{0, 0, 0};
        Pen pen;
        QPoint current;
        TextAlign align;
        int escapement = 0;
    };
    void UseTextColour();
    void UsePen();

    QPainter& painter_;
    State state_;
    std::vector<State> saved_;
};

}  // namespace platform
