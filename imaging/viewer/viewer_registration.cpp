#include "imaging/viewer/viewer_registration.h"

#include "imaging/viewer/builtin_pictures.h"

namespace orbiscope {

void RegisterImagingWindows()
{
    RegisterBuiltInPictures();
}

}  // namespace orbiscope
