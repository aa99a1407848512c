#include "imaging/viewer/viewer_registration.h"

#include <memory>

#include "framework/app/registration.h"
#include "framework/output/print.h"
#include "imaging/viewer/bitmap_win.h"
#include "imaging/viewer/builtin_pictures.h"

namespace orbiscope {

namespace {

// The Map menu's built-in pictures (the client passes the bitmap resource).
constexpr int kPictureCommands[] = {6210, 6222, 6219, 6220};

}  // namespace

void RegisterImagingWindows()
{
    RegisterBuiltInPictures();
    RegisterWindowFactory(TBitmapWin::kWindowType,
                          [](const char* fileName) { return new TBitmapWin(nullptr, nullptr, fileName); });
    for (int command : kPictureCommands)
        RegisterWindowBuilder(command, [](TMyWindow& window, int id) {
            if (auto* picture = dynamic_cast<TBitmapWin*>(&window))
                picture->ShowBitmap(id);
        });
    RegisterPrintoutFactory(TBitmapWin::kWindowType,
                            [](platform::Printer* printer, const char* title, TMyWindow* window, bool scale) {
                                return std::make_unique<TBitmapWinOut>(printer, title, window, scale);
                            });
}

}  // namespace orbiscope
