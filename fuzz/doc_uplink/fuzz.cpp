// Documents of isolated uplink budgets: "*.rup".
// Read, checked and recalculated by a fresh window, as opening one does.
#include "fuzz/window_support.h"
#include "linkbudget/isolated/uplink_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::WindowHarness::Get().Load<TRgnUpLinkWin>(data, size, "input.rup");
    return 0;
}
