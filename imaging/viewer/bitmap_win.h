// TBitmapWin: the document window (type 1) that shows one picture: an image
// file (BMP, GIF, PCX, TIFF, JPEG), "TIMEZONE.GIF", or one of the built-in
// pictures; at its natural size with scroll bars on the screen, scaled to
// one page when printed.  On a display that works through a hardware
// palette the picture is reduced to 256 colours by median cut.
#pragma once

#include <memory>

#include "framework/output/mywindow.h"
#include "framework/output/print.h"
#include "imaging/viewer/extended_dib.h"
#include "imaging/viewer/median_cut_palette.h"

class TBitmapWin : public TMyWindow {
public:
    static constexpr int kWindowType = 1;

    TBitmapWin(QWidget* parent, const char* title, const char* fileName);
    ~TBitmapWin() override;

    // The framework's set-up, then the document (when the window has a file name).
    void SetupWindow() override;
    void Paint(platform::DC& dc, bool erase, const QRect& rect) override;
    void UpdateScroller(bool scrollToOrigin) override;
    // The document-reading slot: OpenFile.
    bool LoadFile(const char* fileName) override;
    void EvSetFocus() override;

    // Reads an image file; false (the caller shows "Cannot read file %s")
    // when it gives no picture.
    bool OpenFile(const char* fileName);
    // A built-in picture by id, captioned from the table of built-in
    // pictures; "Cannot access bitmap resource" when it cannot be had.
    bool ShowBitmap(int id);
    bool ShowBitmap(const ResourceModule& module, int id);
    // Replaces the picture and its palette; on a palette display makes the
    // palette and maps the picture onto it.  Throws TXOutOfMemory when the
    // colours cannot be counted.
    void SetDib(std::unique_ptr<TExtendedDib> dib);
    void SetTitle(int id);
    // The built-in pictures' captions (an unknown id gives "").
    static const char* CaptionOf(int id);

    // Palette handling, as on a display with a hardware palette: realizing
    // the window's palette (in the foreground when `always`) repaints it when
    // needed; returns false when there is nothing to realize.
    bool UpdatePalette(bool always);
    void EvPaletteChanged(TBitmapWin* changedBy);
    bool EvQueryNewPalette();

    bool CeCopy() const { return dib_ != nullptr; }
    // The picture to the clipboard, as an image.
    void CmCopy();

    const TExtendedDib* Dib() const { return dib_.get(); }
    const TPalette* Palette() const { return palette_.get(); }
    bool PaletteDevice() const { return paletteDevice_; }

    // Qt displays never work through a hardware palette; tests switch the
    // palette path on for the windows made afterwards.
    static void SimulatePaletteDevice(bool on);

    // Where a printed picture of width x height goes on the page: centred,
    // scaled down to the page's width and then to its height, keeping its
    // proportions.
    static QRect PrintRect(int width, int height, const QRect& page);

private:
    std::unique_ptr<TExtendedDib> dib_;
    std::unique_ptr<TPalette> palette_;
    bool paletteDevice_;
    int width_ = 0;
    int height_ = 0;
};

// The image window's printout: one page.
class TBitmapWinOut : public TApxPrintout {
public:
    TBitmapWinOut(platform::Printer* printer, const char* title, platform::Window* window, bool scale);
    void BeginPrinting() override;
    bool HasPage(int page) override;
};
