// One QApplication for the platform tests, created on first use.
#pragma once

#include <QApplication>
#include <QStandardPaths>

namespace platformtest {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

}  // namespace platformtest
