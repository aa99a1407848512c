#include "imaging/viewer/bitmap_win.h"

#include <QClipboard>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <set>

#include "framework/app/menus.h"
#include "framework/app/orbiscope.h"
#include "platform/messagebox.h"
#include "platform/services.h"

namespace {

constexpr int kPaletteColours = 256;
bool simulatedPaletteDevice = false;

// The image windows alive, told when one of them takes the palette; and the
// window whose palette the display shows.
std::set<TBitmapWin*>& Windows()
{
    static std::set<TBitmapWin*> windows;
    return windows;
}
TBitmapWin* paletteOwner = nullptr;

struct BuiltInPicture {
    int id;
    const char* caption;
};
constexpr BuiltInPicture kBuiltInPictures[] = {
    {87, "ITU Regions"},
    {88, "Polar Mount Angles"},
    {89, "Polarization and Tilt Angles"},
    {98, "World Time Zones"},
    {99, "L-band Ionospheric Scintillation Fading"},
};

}  // namespace

TBitmapWin::TBitmapWin(QWidget* parent, const char* title, const char* fileName)
    : TMyWindow(parent, title, fileName), paletteDevice_(simulatedPaletteDevice)
{
    Windows().insert(this);
    SetHandler(orbiscope::CM_EDITCOPY, [this] { CmCopy(); });
    SetEnabler(orbiscope::CM_EDITCOPY, [this] { return CeCopy(); });
    // A picture is not a document to save.
    SetEnabler(orbiscope::CM_FILESAVE, [] { return false; });
    SetEnabler(orbiscope::CM_FILESAVEAS, [] { return false; });
}

TBitmapWin::~TBitmapWin()
{
    Windows().erase(this);
    if (paletteOwner == this)
        paletteOwner = nullptr;
}

void TBitmapWin::SimulatePaletteDevice(bool on)
{
    simulatedPaletteDevice = on;
}

void TBitmapWin::SetupWindow()
{
    TMyWindow::SetupWindow();
    OpenDocument(false);
}

bool TBitmapWin::LoadFile(const char* fileName)
{
    return OpenFile(fileName);
}

bool TBitmapWin::OpenFile(const char* fileName)
{
    platform::WaitCursor wait;
    try {
        SetDib(std::make_unique<TExtendedDib>(fileName));
        return true;
    } catch (const std::exception&) {   // TXGdi, or TXOutOfMemory from the colour reduction
        return false;
    }
}

bool TBitmapWin::ShowBitmap(int id)
{
    return ShowBitmap(ApplicationModule(), id);
}

bool TBitmapWin::ShowBitmap(const ResourceModule& module, int id)
{
    platform::WaitCursor wait;
    try {
        SetDib(std::make_unique<TExtendedDib>(module, id));
        SetTitle(id);
        return true;
    } catch (const std::exception&) {
        platform::MessageBox(this, "Cannot access bitmap resource", orbiscope::kMainTitle, 0);
        return false;
    }
}

void TBitmapWin::SetDib(std::unique_ptr<TExtendedDib> dib)
{
    palette_.reset();
    dib_ = std::move(dib);
    if (paletteDevice_ && dib_) {
        TMedianCut cut;
        cut.AddDib(*dib_);
        if (cut.GetPalette(kPaletteColours) != 0) {
            palette_ = std::make_unique<TPalette>(*cut.Palette());
            cut.MapDib(*dib_);   // a failed mapping keeps the picture as loaded
        }
    }
    width_ = dib_ ? dib_->Width() : 0;
    height_ = dib_ ? dib_->Height() : 0;
    UpdateScroller(true);
}

const char* TBitmapWin::CaptionOf(int id)
{
    for (const BuiltInPicture& p : kBuiltInPictures)
        if (p.id == id)
            return p.caption;
    return "";
}

void TBitmapWin::SetTitle(int id)
{
    SetDocTitle(CaptionOf(id));
}

void TBitmapWin::UpdateScroller(bool scrollToOrigin)
{
    platform::Scroller& s = GetScroller();
    s.SetUnits(1, 1);
    s.SetRange(width_, height_);
    if (scrollToOrigin)
        s.ScrollTo(0, 0);
    Invalidate();
}

void TBitmapWin::EvSetFocus()
{
    if (TOrbiscope* app = TOrbiscope::Current())
        app->PendingWindowType = kWindowType;
    TMyWindow::EvSetFocus();
    EvQueryNewPalette();
}

bool TBitmapWin::UpdatePalette(bool always)
{
    if (!paletteDevice_ || !palette_)
        return false;
    // Realizing in the background changes the display's entries when
    // another window's palette is in the foreground.
    const bool entriesChanged = paletteOwner != this;
    if (always)
        paletteOwner = this;
    if (always || entriesChanged)
        Invalidate();
    return true;
}

void TBitmapWin::EvPaletteChanged(TBitmapWin* changedBy)
{
    if (changedBy != this)
        UpdatePalette(false);
}

bool TBitmapWin::EvQueryNewPalette()
{
    const bool realized = UpdatePalette(true);
    if (realized)
        for (TBitmapWin* other : Windows())
            other->EvPaletteChanged(this);
    return realized;
}

void TBitmapWin::CmCopy()
{
    if (dib_)
        QGuiApplication::clipboard()->setImage(dib_->Image());
}

QRect TBitmapWin::PrintRect(int width, int height, const QRect& page)
{
    const int pageWidth = page.width(), pageHeight = page.height();
    int x0 = (pageWidth - width) / 2, y0 = (pageHeight - height) / 2;
    int x1 = x0 + width, y1 = y0 + height;
    int drawnHeight = height;
    if (pageWidth < width) {
        drawnHeight = static_cast<int>(std::trunc(static_cast<float>(height) * static_cast<float>(pageWidth) /
                                                  static_cast<float>(width)));
        x0 = 0;
        x1 = pageWidth;
        y0 = (pageHeight - drawnHeight) / 2;
        y1 = y0 + drawnHeight;
    }
    if (pageHeight < drawnHeight) {
        // Scales the width as drawn so far, so that the proportions hold
        // when both limits apply.
        const int drawnWidth = static_cast<int>(std::trunc(static_cast<float>(x1 - x0) *
                                                           static_cast<float>(pageHeight) /
                                                           static_cast<float>(drawnHeight)));
        y0 = 0;
        y1 = pageHeight;
        x0 = (pageWidth - drawnWidth) / 2;
        x1 = x0 + drawnWidth;
    }
    return QRect(page.left() + x0, page.top() + y0, x1 - x0, y1 - y0);
}

void TBitmapWin::Paint(platform::DC& dc, bool /*erase*/, const QRect& rect)
{
    TOrbiscope* app = TOrbiscope::Current();
    if (rect.left() > rect.right() || rect.top() > rect.bottom() || !dib_) {
        if (app)
            app->PicturePainted = false;
        return;
    }
    if (app)
        app->PicturePainted = true;
    dc.Save();
    const QRect client = ClientRect();
    if (app && app->Printing) {
        dc.DrawImage(dib_->Image(), PrintRect(width_, height_, rect));
    } else {
        const platform::Scroller& s = GetScroller();
        const QRect moved = client.translated(s.XPos() * s.XUnit(), s.YPos() * s.YUnit());
        dc.DrawImage(dib_->Image(), QRect(0, 0, width_, height_));
        const QColor background = palette().color(QPalette::Base);
        if (moved.right() >= width_)
            dc.FillRect(QRect(QPoint(width_, moved.top()), QPoint(moved.right(), moved.bottom())), background);
        if (moved.bottom() >= height_)
            dc.FillRect(QRect(QPoint(moved.left(), height_), QPoint(moved.right(), moved.bottom())), background);
    }
    dc.Restore();
}

// --- printout ----------------------------------------------------------------

TBitmapWinOut::TBitmapWinOut(platform::Printer* printer, const char* title, platform::Window* window, bool scale)
    : TApxPrintout(printer, title, window, scale)
{
}

void TBitmapWinOut::BeginPrinting()
{
    TApxPrintout::BeginPrinting();
}

bool TBitmapWinOut::HasPage(int page)
{
    return page == 1;
}
