// Solar-outage documents "*.sun", every version the window reads: read,
// checked and searched by a fresh window, as opening one does.  Whatever the
// document, the search has ended and the look angles are numbers.
#include <cmath>

#include "fuzz/window_support.h"
#include "pointing/sun/solar_out_win.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::WindowHarness::Get().Load<TSolarOutWin>(data, size, "input.sun", [](TSolarOutWin& window) {
        FUZZ_CHECK(!window.Searching());
        FUZZ_CHECK(std::isfinite(window.SatElevation) && std::isfinite(window.SatAzimuth));
    });
    return 0;
}
