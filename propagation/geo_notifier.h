// How calculation code reaches the user without knowing of windows.
//
// A few routines of the calculation libraries tell the user something at the
// moment they run (the elevation checks, the run-time math error of the
// expression evaluator).  They hand a notice to the notifier installed by the
// application at start-up, which shows it as a message box without owner.
// With no notifier installed the notice is dropped and the default answer
// is given, so that the calculations stay usable in tests and batch tools.
#pragma once

#include <string>

enum class NoticeIcon { Information, Exclamation, Stop, Question };
enum class NoticeButtons { Ok, YesNo };
enum class NoticeAnswer { Ok, Yes, No };

struct Notice {
    std::string caption;
    std::string text;
    NoticeIcon icon = NoticeIcon::Exclamation;
    NoticeButtons buttons = NoticeButtons::Ok;
};

class CalculationNotifier {
public:
    virtual ~CalculationNotifier() = default;
    // Shows the notice and returns the user's answer (Ok for an Ok box).
    virtual NoticeAnswer Notify(const Notice& notice) = 0;
};

// Installs the process-wide notifier (null removes it) and returns the one
// installed before.  The notifier must outlive its installation.
CalculationNotifier* SetCalculationNotifier(CalculationNotifier* notifier);
CalculationNotifier* InstalledCalculationNotifier();

// Passes the notice to the installed notifier.  Without one: Ok for an Ok
// box, No for a Yes/No question.
NoticeAnswer ShowNotice(const Notice& notice);
