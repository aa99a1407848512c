// One QApplication for the platform tests, created on first use, and the
// printing of a QString in a failed comparison, for every Qt test.
#pragma once

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <ostream>

#include "tests/platform/file_support.h"

// A QString that fails a comparison prints as its text (UTF-8), not as a
// list of code units; control characters show as escapes ("\x0a").  Found
// by the test framework through QString's own (global) namespace.
inline void PrintTo(const QString& text, std::ostream* os)
{
    QString shown;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            shown += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    *os << '"' << shown.toStdString() << '"';
}

namespace platformtest {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    // Qt's own settings (a file dialog's last state) go to a folder of this
    // process's own, removed when it ends: never into the home, nor into a
    // test's home that was removed with it, as Qt keeps the folder it first
    // found for the rest of the process.
    static const testfiles::TempFolder qtSettings;
    static QApplication* app = [] {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(qtSettings.Path().string()));
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

}  // namespace platformtest
