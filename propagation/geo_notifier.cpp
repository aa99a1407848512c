#include "propagation/geo_notifier.h"

#include <atomic>

namespace {
std::atomic<CalculationNotifier*> g_notifier{nullptr};
}

CalculationNotifier* SetCalculationNotifier(CalculationNotifier* notifier) {
    return g_notifier.exchange(notifier);
}

CalculationNotifier* InstalledCalculationNotifier() { return g_notifier.load(); }

NoticeAnswer ShowNotice(const Notice& notice) {
    if (CalculationNotifier* n = g_notifier.load()) return n->Notify(notice);
    return notice.buttons == NoticeButtons::YesNo ? NoticeAnswer::No : NoticeAnswer::Ok;
}
