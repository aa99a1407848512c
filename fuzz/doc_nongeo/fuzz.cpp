// Documents of non-GEO link budgets: "*.llb" and the older "*.leo".
// Read, checked and recalculated by a fresh window, as opening one does.
#include "fuzz/window_support.h"
#include "linkbudget/nongeo/nongeo_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::WindowHarness::Get().Load<TLeoLinkWin>(data, size, "input.llb");
    return 0;
}
