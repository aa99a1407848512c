#include "platform/window.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <algorithm>

namespace platform {

void Scroller::SetUnits(int xUnit, int yUnit)
{
    xUnit_ = std::max(1, xUnit);
    yUnit_ = std::max(1, yUnit);
    area_->horizontalScrollBar()->setSingleStep(1);
    area_->verticalScrollBar()->setSingleStep(1);
}

void Scroller::SetRange(int xRange, int yRange)
{
    xRange_ = std::max(0, xRange);
    yRange_ = std::max(0, yRange);
    area_->horizontalScrollBar()->setRange(0, std::max(0, xRange_ - XPage()));
    area_->verticalScrollBar()->setRange(0, std::max(0, yRange_ - YPage()));
    area_->horizontalScrollBar()->setPageStep(std::max(1, XPage()));
    area_->verticalScrollBar()->setPageStep(std::max(1, YPage()));
}

void Scroller::ScrollTo(int x, int y)
{
    area_->horizontalScrollBar()->setValue(x);
    area_->verticalScrollBar()->setValue(y);
}

void Scroller::ScrollBy(int dx, int dy) { ScrollTo(XPos() + dx, YPos() + dy); }

int Scroller::XPos() const { return area_->horizontalScrollBar()->value(); }
int Scroller::YPos() const { return area_->verticalScrollBar()->value(); }
int Scroller::XPage() const { return std::max(1, area_->viewport()->width() / xUnit_); }
int Scroller::YPage() const { return std::max(1, area_->viewport()->height() / yUnit_); }

Window::Window(QWidget* parent) : QAbstractScrollArea(parent), scroller_(this)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void Window::PaintInto(QPainter& painter, const QRect& rect)
{
    DC dc(painter);
    Paint(dc, true, rect);
}

void Window::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    // The report is drawn in scrolled coordinates: shift by the scroll position.
    painter.translate(-scroller_.XPos() * scroller_.XUnit(), -scroller_.YPos() * scroller_.YUnit());
    DC dc(painter);
    Paint(dc, true, event->rect());
}

void Window::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (!setUp_) {
        setUp_ = true;
        SetupWindow();
    }
}

void Window::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    scroller_.SetRange(scroller_.XRange(), scroller_.YRange());
    EvSize(viewport()->width(), viewport()->height());
}

void Window::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    EvSetFocus();
}

bool Window::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn) EvSetFocus();
    return QAbstractScrollArea::viewportEvent(event);
}

void Window::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    switch (event->key()) {
    case Qt::Key_Up: if (!shift) scroller_.ScrollBy(0, -1); break;
    case Qt::Key_Down: if (!shift) scroller_.ScrollBy(0, 1); break;
    case Qt::Key_PageUp: if (!shift) scroller_.ScrollBy(0, -scroller_.YPage()); break;
    case Qt::Key_PageDown: if (!shift) scroller_.ScrollBy(0, scroller_.YPage()); break;
    case Qt::Key_Home:
        if (shift) scroller_.ScrollBy(-scroller_.XPage(), 0);
        else scroller_.ScrollTo(scroller_.XPos(), 0);
        break;
    case Qt::Key_End:
        if (shift) scroller_.ScrollBy(scroller_.XPage(), 0);
        else scroller_.ScrollTo(scroller_.XPos(), scroller_.YRange());
        break;
    case Qt::Key_Left: if (!shift) scroller_.ScrollBy(-1, 0); break;
    case Qt::Key_Right: if (!shift) scroller_.ScrollBy(1, 0); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void Window::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace platform
