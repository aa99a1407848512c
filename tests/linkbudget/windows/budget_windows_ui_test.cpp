// What the four budget windows share, run on each of them from one table:
// their file filters and window types, their documents saved and opened,
// a document that fails the dialog's checks, the stops and messages of a
// recalculation, and each window in the frame with a budget over the real
// ITU-R maps, drawn to "<kind>-budget.png" in the build folder
// (docs/geo-budget.png is a copy of the GEO one).
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QTabBar>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "framework/app/mdiclient.h"
#include "linkbudget/registration.h"
#include "propagation/itu_maps.h"
#include "tests/linkbudget/windows/budget_kinds.h"
#include "tests/picture_path.h"

namespace {

using namespace lbtest;
using Bytes = std::vector<std::uint8_t>;

class BudgetWindows : public KindsFixture {
protected:
    std::string Path(const Kind& k, const char* stem) const
    {
        return (app->dir.Path() / (std::string(stem) + "." + k.extension)).string();
    }
};

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST_F(BudgetWindows, FileFilterWindowTypeAndEditCommand)
{
    for (const Kind& k : kKinds) {
        Opened w = k.open(owned, false);
        w.window->SetupWindow();
        EXPECT_EQ(w.window->FileData.filter, k.filter) << k.name;
        EXPECT_EQ(w.window->FileData.defaultExt, k.extension) << k.name;
        EXPECT_TRUE(w.window->FileData.overwritePrompt) << k.name;
        app->app->PendingWindowType = 0;
        w.window->EvSetFocus();
        EXPECT_EQ(app->app->PendingWindowType, k.windowType) << k.name;
        EXPECT_EQ(w.window->Lines(), 0) << k.name;
        EXPECT_FALSE(w.window->Changed) << k.name;
    }
}

// The document is the version word and the record.  It reads back into a new
// window, which checks and recalculates it to the same report; a file that
// breaks off, or none at all, leaves the window's inputs as they were.
TEST_F(BudgetWindows, DocumentSavedAndOpened)
{
    for (const Kind& k : kKinds) {
        SCOPED_TRACE(k.name);
        Opened w = k.open(owned);
        w.recalculate();
        w.window->Changed = true;
        const std::string path = Path(k, "hand");
        ASSERT_TRUE(w.window->SaveFile(path.c_str()));
        EXPECT_FALSE(w.window->Changed);
        const Bytes bytes = ReadBytes(path);
        ASSERT_EQ(bytes.size(), 2 + k.recordSize);
        EXPECT_EQ(bytes[0] | bytes[1] << 8, k.fileVersion);  // little-endian
        EXPECT_EQ(Bytes(bytes.begin() + 2, bytes.end()), w.bytes());

        Opened back = k.open(owned, false);
        ASSERT_TRUE(back.window->LoadFile(path.c_str()));
        EXPECT_EQ(back.bytes(), w.bytes());
        EXPECT_EQ(back.window->Report(), w.window->Report());
        EXPECT_FALSE(back.window->Changed);

        Opened fresh = k.open(owned, false);
        const Bytes before = fresh.bytes();
        // Cut at its last byte, and part-way (600 bytes: in the non-GEO rain models).
        for (std::size_t size : {bytes.size() - 1, std::size_t{600}, std::size_t{300}, std::size_t{100}}) {
            std::ofstream(path, std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(size));
            EXPECT_FALSE(fresh.window->LoadFile(path.c_str())) << size;
        }
        EXPECT_FALSE(fresh.window->LoadFile(Path(k, "missing").c_str()));
        EXPECT_EQ(fresh.bytes(), before);
        EXPECT_EQ(fresh.window->Lines(), 0);
    }
    EXPECT_TRUE(Messages().empty());
}

// A document whose fields fail the dialog's checks is read but not
// calculated: no message during the load, and the dialog opens afterwards.
TEST_F(BudgetWindows, DocumentFailingTheChecksOpensTheDialog)
{
    const std::pair<const char*, int> badFrequency[] = {
        {"GEO", G::kUpFrequency}, {"non-GEO", L::kUpFrequency}, {"isolated uplink", U::kFrequency},
        {"isolated downlink", D::kFrequency}};
    for (const auto& [kind, frequency] : badFrequency) {
        const Kind& k = KindNamed(kind);
        Opened source = k.open(owned);
        source.set(frequency, "99");
        const std::string path = Path(k, "bad");
        ASSERT_TRUE(source.window->SaveFile(path.c_str()));
        int opened = 0;
        platform::SetDialogDriver(k.resource, [&](platform::Dialog&) { return ++opened, int(platform::IDCANCEL); });
        Opened w = k.open(owned, false);
        ASSERT_TRUE(w.window->LoadFile(path.c_str())) << kind;
        EXPECT_EQ(w.window->Lines(), 0) << kind;
        EXPECT_EQ(w.field(frequency), "99") << kind;
        EXPECT_EQ(opened, 0) << kind;
        QCoreApplication::processEvents();
        EXPECT_EQ(opened, 1) << kind;
    }
    EXPECT_TRUE(Messages().empty());
}

struct Stop {
    const char* kind;
    std::vector<std::pair<int, const char*>> edits;  // of the calculated hand budget
    std::vector<std::string> messages;
    bool reportReplaced;
    const char* line;  // of the new report, or null
};

const std::string kTooLow = "ERROR: Elevation < 3 degrees (some atmospheric models are invalid)";
const std::string kLow = "Warning: Elevation < 5 degrees (some atmospheric model results may be invalid)";

// Below 3 degrees the budget stops with one message and the previous report
// stays; below 5 it warns, uplink first.  A calculation error is shown once,
// after the new report is built: a required Eb/No of 30 dB is 25.5 dB beyond
// the hand budgets' target of 4.5, whose margins were 12.35 (GEO) and 13.72
// (non-GEO) dB.
TEST_F(BudgetWindows, RecalculationStopsWarnsAndReportsErrors)
{
    const Stop rows[] = {
        // 40N 0E looking at 78E sees the satellite about half a degree up; at 73E about 4.4 degrees.
        {"GEO", {{G::kSatLongitude, "78.00E"}, {G::kDnLatitude, "40.00N"}, {G::kDnLongitude, "0.00E"}}, {kTooLow}, false,
         nullptr},
        {"GEO", {{G::kSatLongitude, "73.00E"}, {G::kDnLatitude, "40.00N"}, {G::kDnLongitude, "0.00E"}}, {kLow, kLow},
         true, nullptr},
        {"non-GEO", {{L::kUpElevation, "2"}}, {kTooLow}, false, nullptr},
        {"non-GEO", {{L::kDnElevation, "2"}}, {kTooLow}, false, nullptr},
        {"isolated uplink", {{U::kElevation, "2.5"}}, {kTooLow}, false, nullptr},
        {"GEO", {{G::kRequiredTarget, "30"}}, {CalcErrorText(-501)}, true, "Excess margin\t-13.15\t-13.15\t-13.15\tdB#"},
        {"non-GEO", {{L::kRequiredTarget, "30"}}, {CalcErrorText(-501)}, true,
         "Excess margin\t-11.78\t-11.78\t-11.78\tdB#"},
        {"isolated uplink", {{U::kRequiredTarget, "30"}}, {CalcErrorText(-501)}, true, nullptr},
        {"isolated downlink", {{D::kRequiredTarget, "30"}}, {CalcErrorText(-501)}, true, nullptr},
    };
    for (const Stop& s : rows) {
        SCOPED_TRACE(std::string(s.kind) + " " + s.edits.front().second);
        const Kind& k = KindNamed(s.kind);
        Opened w = k.open(owned);
        w.recalculate();
        const std::string before = w.window->Report();
        app->messages.calls.clear();
        for (const auto& [id, text] : s.edits) w.set(id, text);
        w.recalculate();
        EXPECT_EQ(Messages(), s.messages);
        EXPECT_EQ(w.window->Report() != before, s.reportReplaced);
        if (s.line) {
            EXPECT_TRUE(HasLine(*w.window, s.line)) << s.line;
        }
        EXPECT_EQ(w.window->CalcErrorCode, 0);
    }
}

// The number in column `column` (1: the first after the label) of the
// report's first line that starts with `label`; NaN when there is none.
double NumberIn(const TMyWindow& w, const std::string& label, int column)
{
    for (const std::string& line : ReportLines(w)) {
        if (line.rfind(label + "\t", 0) != 0) continue;
        std::size_t at = label.size();
        for (int c = 1; c < column && at != std::string::npos; ++c) at = line.find('\t', at + 1);
        return at == std::string::npos ? std::nan("") : std::atof(line.c_str() + at + 1);
    }
    return std::nan("");
}

bool HasColour(const QImage& img, QRgb colour)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

class Quiet final : public ItuMapLoadObserver {
public:
    int failures = 0;
    void MapLoadFailed(const std::string&) override { ++failures; }
};

// File > New (its dialog cancelled) gives the kind's window, which takes a
// budget over real European sites through the ITU-R models: the rain rate
// comes from the maps (R0.01 of 20 to 50 mm/h) and the rain attenuation of
// the rain column is positive.  The picture shows the report's colours; the
// dialog shows each page's controls and none of the other pages'.
TEST_F(BudgetWindows, OverTheRealMaps)
{
    Quiet observer;
    LoadItuMaps(startDir.string(), observer);
    ASSERT_EQ(observer.failures, 0) << "the ITU-R maps are unpacked into the build folder";
    orbiscope::RegisterLinkBudgetSubsystem();
    auto& frame = *app->app->Frame();
    frame.resize(1000, 720);
    for (const Kind& k : kKinds) {
        SCOPED_TRACE(k.name);
        k.setAtmosphere(nullptr);
        app->app->Dispatch(k.newCommand);
        QCoreApplication::processEvents();
        auto* child = app->app->Client()->ActiveDocumentChild();
        ASSERT_NE(child, nullptr);
        Opened w = k.of(child->Document());
        EXPECT_EQ(w.window->Lines(), 0);
        w.fillReal();
        w.recalculate();
        ASSERT_GT(w.window->Lines(), 80);
        const double rainRate = NumberIn(*w.window, "R0.01%", 1);
        EXPECT_GT(rainRate, 20.0);
        EXPECT_LT(rainRate, 50.0);
        EXPECT_GT(NumberIn(*w.window, "Rain attenuation (0dB for p>5%)", 2), 0.1);
        child->move(0, 0);
        child->resize(900, 600);
        QCoreApplication::processEvents();
        const QImage img = frame.grab().toImage();
        ASSERT_FALSE(img.isNull());
        EXPECT_TRUE(img.save(QString::fromStdString(TestPicture(k.picture).string())));
        EXPECT_TRUE(HasColour(img, qRgb(0, 127, 0)));  // the company heading
        EXPECT_TRUE(HasColour(img, qRgb(0, 0, 100)));  // section headings

        Edit(k, w, [&k](platform::Dialog& d) {
            const auto& pages = k.pages();
            for (std::size_t page = 0; page < pages.size(); ++page) {
                qobject_cast<QTabBar*>(d.Control(k.tab))->setCurrentIndex(int(page));
                int shown = 0;
                for (std::size_t other = 0; other < pages.size(); ++other)
                    for (int id : pages[other]) {
                        const bool visible = d.Control(id) && d.Control(id)->isVisibleTo(&d);
                        if (other == page) shown += visible;
                        else EXPECT_FALSE(visible) << "page " << page << " shows " << id << " of page " << other;
                    }
                EXPECT_GT(shown, 0) << "page " << page;
            }
        }, platform::IDCANCEL);
        k.setAtmosphere(&atmosphere);
        child->close();
    }
    FreeItuMaps();
}

}  // namespace
