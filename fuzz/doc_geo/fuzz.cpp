// Documents of GEO link budgets: "*.glb" and the older "*.upd" generation.
// Read, checked and recalculated by a fresh window, as opening one does.
#include "fuzz/window_support.h"
#include "linkbudget/geo/geo_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::WindowHarness::Get().Load<TUpLinkWin>(data, size, "input.glb");
    return 0;
}
