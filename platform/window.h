// A window with a scroller and a paint routine, on QAbstractScrollArea.
#pragma once

#include <QAbstractScrollArea>
#include <QRect>

#include "platform/command.h"
#include "platform/dc.h"

namespace platform {

// Scroll units and ranges in the manner of the original class library: the
// position counts units, the range is the number of units that can be scrolled.
class Scroller {
public:
    explicit Scroller(QAbstractScrollArea* area) : area_(area) {}
    void SetUnits(int xUnit, int yUnit);
    void SetRange(int xRange, int yRange);
    void ScrollTo(int x, int y);
    void ScrollBy(int dx, int dy);
    int XUnit() const { return xUnit_; }
    int YUnit() const { return yUnit_; }
    int XRange() const { return xRange_; }
    int YRange() const { return yRange_; }
    int XPos() const;
    int YPos() const;
    // Units that fit into the visible area (a page).
    int XPage() const;
    int YPage() const;

private:
    QAbstractScrollArea* area_;
    int xUnit_ = 1, yUnit_ = 1, xRange_ = 0, yRange_ = 0;
};

class Window : public QAbstractScrollArea, public CommandTarget {
public:
    explicit Window(QWidget* parent = nullptr);

    Scroller& GetScroller() { return scroller_; }
    const Scroller& GetScroller() const { return scroller_; }

    // Called once when the window is first shown.
    virtual void SetupWindow() {}
    // Draws the client area; `rect` is the area to paint in client coordinates
    // (origin at the viewport's top left, not scrolled).
    virtual void Paint(DC& dc, bool erase, const QRect& rect) = 0;
    // Asked before the window closes.
    virtual bool CanClose() { return true; }
    // Called when the window takes the focus.
    virtual void EvSetFocus() {}
    virtual void EvSize(int width, int height) { (void)width; (void)height; }

    QRect ClientRect() const { return printClient_.isValid() ? printClient_ : viewport()->rect(); }
    // While a page is printed the window's client area is the page (in the
    // window's own units); an invalid rectangle ends it.
    void SetPrintClientRect(const QRect& rect) { printClient_ = rect; }
    void Invalidate() { viewport()->update(); }

    // Renders the client area into an image (screenshots, tests).
    void PaintInto(QPainter& painter, const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    Scroller scroller_;
    bool setUp_ = false;
    QRect printClient_;
};

}  // namespace platform
