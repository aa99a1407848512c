// Shared by the graph window and form tests: the application with the graph
// windows registered, dialog scripts that type into the forms, and the
// pixels of a rendered graph.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QRadioButton>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/config_files.h"
#include "rftools/graphs/graph_forms.h"
#include "rftools/graphs/graph_registration.h"
#include "rftools/graphs/graph_win.h"
#include "tests/framework/app/gui_support.h"

namespace graphtest {

inline void Type(platform::Dialog& d, int id, const char* text)
{
    static_cast<QLineEdit*>(d.Control(id))->setText(QString::fromLatin1(text));
}

inline void Choose(platform::Dialog& d, int id) { static_cast<QRadioButton*>(d.Control(id))->setChecked(true); }

// A script that types the (id, text) pairs, chooses the radios and presses OK.
struct Entry { int id; const char* text; };
inline platform::DialogScript Fill(std::vector<Entry> entries, std::vector<int> radios = {})
{
    return [entries, radios](platform::Dialog& d) {
        for (const Entry& e : entries) Type(d, e.id, e.text);
        for (int r : radios) Choose(d, r);
        return platform::IDOK;
    };
}

class GraphFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        startDir = std::filesystem::current_path();
        app = std::make_unique<testsupport::AppFixture>();
        SetUpRecord setup;
        setup.bytes = app->app->SetUpRecord;
        setup.SetCompany("Orbiscope Test Bench");
        app->app->SetUpRecord = setup.bytes;
        orbiscope::RegisterGraphWindows();
        app->messages.calls.clear();
    }
    void TearDown() override
    {
        platform::ClearDialogDrivers();
        app.reset();
        std::filesystem::current_path(startDir);
    }
    // Runs a Graph command; the new graph window, or null when none is left open.
    TGraphWin* Graph(int command)
    {
        app->app->Dispatch(command);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* child = app->app->Client()->ActiveDocumentChild();
        return child && child->isVisible() ? dynamic_cast<TGraphWin*>(child->Document()) : nullptr;
    }
    // Closes every window left by earlier commands.
    void CloseAll()
    {
        for (platform::MdiChild* c : app->app->Client()->Children()) c->CloseWithoutAsking();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::vector<std::string> Lines(const TMyWindow& w) const
    {
        std::vector<std::string> lines;
        std::string_view text = w.Report();
        while (!text.empty()) {
            const auto end = text.find('\n');
            lines.emplace_back(text.substr(0, end));
            if (end == std::string_view::npos) break;
            text.remove_prefix(end + 1);
        }
        return lines;
    }
    std::string Caption() const { return app->app->Client()->ActiveChild()->windowTitle().toStdString(); }

    std::filesystem::path startDir;
    std::unique_ptr<testsupport::AppFixture> app;
};

// ---- pixels ----

inline bool IsBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 80 && qGreen(c) < 80; }
inline bool IsRed(QRgb c) { return qRed(c) > 200 && qBlue(c) < 80 && qGreen(c) < 80; }
inline bool IsBlack(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; }
inline bool IsGrey(QRgb c) { return qRed(c) > 170 && qRed(c) < 215 && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); }

// Whether a pixel of the kind lies within `radius` of (x, y).
template <class Pred>
bool Near(const QImage& image, int x, int y, int radius, Pred pred)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int px = x + dx, py = y + dy;
            if (image.valid(px, py) && pred(image.pixel(px, py))) return true;
        }
    return false;
}

// The longest run of pixels of a kind along rows (or along columns), and the
// row (column) it lies on.
template <class Pred>
int LongestRun(const QImage& image, Pred pred, bool alongRows, int* at = nullptr)
{
    const int lines = alongRows ? image.height() : image.width(), length = alongRows ? image.width() : image.height();
    int best = 0;
    for (int line = 0; line < lines; ++line) {
        int run = 0;
        for (int k = 0; k < length; ++k) {
            run = pred(alongRows ? image.pixel(k, line) : image.pixel(line, k)) ? run + 1 : 0;
            if (run > best) {
                best = run;
                if (at) *at = line;
            }
        }
    }
    return best;
}
template <class Pred>
int LongestRow(const QImage& image, Pred pred, int* row = nullptr) { return LongestRun(image, pred, true, row); }
template <class Pred>
int LongestColumn(const QImage& image, Pred pred, int* column = nullptr) { return LongestRun(image, pred, false, column); }

}  // namespace graphtest
