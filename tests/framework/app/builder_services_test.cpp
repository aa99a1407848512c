// What the table, graph and image windows take from the framework: the
// caption a builder sets, the window a cancelled builder closes, the print
// commands that follow the kind of window on show, and one-page printouts.
#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "framework/output/print.h"
#include "tests/framework/app/gui_support.h"

using testsupport::AppFixture;
using testsupport::RecordingWindow;

namespace {

// The children still shown, now or once the loop has run.
std::size_t OpenChildren(const AppFixture& f, bool runLoop)
{
    if (runLoop) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::size_t n = 0;
    for (platform::MdiChild* c : f.app->Client()->Children()) n += c->isVisible();
    return n;
}

TEST(BuilderServices, BuildersCaptionTheirWindowAndACancelledOneClosesItWithoutAsking)
{
    struct Case { int command; bool cancel; };
    for (const Case c : {Case{6311, true}, Case{6417, true}, Case{6220, true}, Case{6319, false}, Case{6425, false}}) {
        SCOPED_TRACE(c.command);
        AppFixture f;
        bool shownWhileBuilding = false;
        orbiscope::RegisterWindowBuilder(c.command, [&](TMyWindow& w, int) {
            w.AddLine("Title");
            w.Changed = true;  // an ordinary close would ask
            w.SetFileName("plot.ang");
            w.SetDocTitle("Rain Attenuation v Frequency");
            if (c.cancel) w.CloseWindow(0);
            shownWhileBuilding = w.isVisible();
        });
        f.app->Dispatch(c.command);
        EXPECT_TRUE(shownWhileBuilding);
        if (!c.cancel) {  // the caption is the title, the file name stays
            EXPECT_EQ(f.app->Client()->ActiveChild()->windowTitle().toStdString(), "Rain Attenuation v Frequency");
            EXPECT_EQ(f.Active()->FileName(), "plot.ang");
        }
        EXPECT_EQ(OpenChildren(f, false), c.cancel ? 0u : 1u);  // no empty window left for the loop to show
        EXPECT_EQ(OpenChildren(f, true), c.cancel ? 0u : 1u);
        EXPECT_TRUE(f.messages.calls.empty());
    }
    // Outside a builder the close waits for the loop.
    AppFixture f;
    f.app->Dispatch(6014);
    f.Active()->allowClose = false;
    f.Active()->CloseWindow(0);
    EXPECT_EQ(OpenChildren(f, false), 1u);
    EXPECT_EQ(OpenChildren(f, true), 0u);
}

TEST(BuilderServices, PrintCommandsFollowTheFlagOfTheActiveWindowsKind)
{
    struct Case { const char* name; int command; bool view, plot, picture, enabled; };
    const Case cases[] = {
        {"graph with a plot", 6310, false, true, false, true}, {"graph, a report painted", 6310, true, false, true, false},
        {"picture drawn", 6220, false, false, true, true},     {"picture window empty", 6220, true, true, false, false},
        {"table painted", 6410, true, false, false, true},     {"table empty", 6410, false, true, true, false},
        {"budget painted", 6014, true, false, false, true},    {"budget empty", 6014, false, true, true, false},
        {"no window, a flag left set", 0, true, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        if (c.command) f.app->Dispatch(c.command);
        f.app->ViewPainted = c.view;
        f.app->PlotPainted = c.plot;
        f.app->PicturePainted = c.picture;
        for (int id : {orbiscope::CM_FILEPRINT, orbiscope::CM_FILEPRINTPREVIEW, orbiscope::CM_FILEPRINTERSETUP})
            EXPECT_EQ(f.app->IsEnabled(id), c.enabled) << id;
    }
}

TEST(BuilderServices, AGraphOrPicturePrintoutIsOnePageWhateverWasPrintedBefore)
{
    AppFixture f;
    RecordingWindow graph(0, nullptr);
    platform::Printer& printer = orbiscope::ApplicationPrinter();
    printer.Setup().maxPage = printer.Setup().lastPage = 3;  // left by a report of three pages
    TApxPrintout printout(&printer, "Graph", &graph, true);
    printer.BeginPrinting(printout);
    EXPECT_EQ(printer.Setup().minPage, 1);
    EXPECT_EQ(printer.Setup().maxPage, 1);
    EXPECT_FALSE(printout.HasPage(2));
}

}  // namespace
