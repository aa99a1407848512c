// Documents of isolated downlink budgets: "*.rdn" and the older "*.dlb" and "*.dnd".
// Read, checked and recalculated by a fresh window, as opening one does.
#include "fuzz/window_support.h"
#include "linkbudget/isolated/downlink_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::WindowHarness::Get().Load<TRgnDownLinkWin>(data, size, "input.rdn");
    return 0;
}
