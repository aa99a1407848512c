// How a context id finds its topic: its own page, or the page that holds it
// as an anchor; and F1 on a field, its entry on its form's page.  That every id a dialog sends has its topic is checked by the
// whole-program walk, over every dialog it reaches.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <filesystem>
#include <regex>

#include "tests/framework/app/gui_support.h"
#include "tests/platform/file_support.h"

namespace {

TEST(HelpPages, ATopicIsItsOwnPageOrAnAnchorInOne)
{
    testsupport::AppFixture f;
    const std::filesystem::path help = f.dir.Path() / "help";
    std::filesystem::create_directories(help);
    testfiles::WriteText(help / "index.html", "<html><body>contents</body></html>");
    testfiles::WriteText(help / "30.html", "<html><body><a name=\"31\"></a></body></html>");
    testfiles::WriteText(help / "form.html", "<html><body><h2 id=\"4100\">x</h2><a name='4101'>y</a>"
                                                "<p>4102 is named in the text only</p></body></html>");
    struct Case {
        int id;
        const char* page;  // null: no topic
        const char* anchor;
    };
    const Case cases[] = {
        {30, "30.html", ""}, {31, "30.html", "31"}, {4100, "form.html", "4100"}, {4101, "form.html", "4101"},
        {4102, nullptr, ""}, {3, nullptr, ""},
    };
    for (const Case& c : cases) {
        const auto topic = platform::FindHelpTopic(c.id);
        ASSERT_EQ(topic.has_value(), c.page != nullptr) << c.id;
        if (!topic) continue;
        EXPECT_EQ(topic->page.filename(), c.page) << c.id;
        EXPECT_EQ(topic->anchor, c.anchor) << c.id;
    }

    // F1 on a field: the entry on its own form's page only.  4100 is a field
    // of the form whose page is 30.html too, with no entry there.
    struct FieldCase {
        int topic, field;
        const char* page;
        const char* anchor;
    };
    const FieldCase fields[] = {
        {30, 31, "30.html", "31"}, {30, 4100, "30.html", ""}, {4101, 4100, "form.html", "4100"},
        {31, 4100, "30.html", "31"}, {3, 31, nullptr, ""},
    };
    for (const FieldCase& c : fields) {
        const auto topic = platform::FindFieldTopic(c.topic, c.field);
        ASSERT_EQ(topic.has_value(), c.page != nullptr) << c.topic << " " << c.field;
        if (!topic) continue;
        EXPECT_EQ(topic->page.filename(), c.page) << c.topic << " " << c.field;
        EXPECT_EQ(topic->anchor, c.anchor) << c.topic << " " << c.field;
    }
}

// The help window opens at any element's id: a table's, a table row's or a
// list's too, though the text document keeps only the ids of elements that
// hold text; an id in either quotes, after an attribute that holds ">".
TEST(HelpPages, TheHelpWindowOpensAtAnyElementsId)
{
    testsupport::AppFixture f;
    const std::filesystem::path help = f.dir.Path() / "help";
    std::filesystem::create_directories(help);
    struct Case {
        int id;
        const char* element;
        const char* words;  // the entry's own
    };
    const Case cases[] = {
        {4001, R"(<table border="1" id="4001"><tr><th>table entry</th></tr></table>)", "table entry"},
        {4002, R"(<table><tr><td>x</td></tr><tr id='4002'><td><b>row entry</b></td><td>y</td></tr></table>)",
         "row entry"},
        {4003, R"(<ul id="4003"><li>list entry</li></ul>)", "list entry"},
        {4004, R"(<ol title="a > b" id="4004"><li>numbered entry</li></ol>)", "numbered entry"},
        {4005, R"(<p id="4005">paragraph entry</p>)", "paragraph entry"},
    };
    std::string filler, page = "<html><body>";
    for (int i = 0; i < 60; ++i) filler += "<p>filler</p>";
    for (const Case& c : cases) page += filler + c.element;
    testfiles::WriteText(help / "form.html", page + filler + "</body></html>");
    platform::HelpViewer::SetSink({});
    for (const Case& c : cases) {
        ASSERT_TRUE(platform::HelpViewer::ShowContext(c.id)) << c.id;
        QCoreApplication::processEvents();
        QTextBrowser* browser = nullptr;
        for (QWidget* w : QApplication::allWidgets())
            if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible()) browser = b;
        ASSERT_NE(browser, nullptr);
        ASSERT_EQ(browser->source().fragment(), QString::number(c.id));
        QTextCursor entry = browser->document()->find(QString::fromUtf8(c.words));
        ASSERT_FALSE(entry.isNull()) << c.words;
        entry.setPosition(entry.selectionStart());
        const int top = browser->cursorRect(entry).top();
        EXPECT_TRUE(top >= 0 && top < browser->viewport()->height() / 4)
            << c.id << ": the entry stands at y " << top << " of a view " << browser->viewport()->height() << " high";
    }
    platform::HelpViewer::CloseAll();
}

// Every link of the shipped help leads to a page that exists and, when it
// names a place in it, to an element of that page with that id or name: a
// link whose anchor is missing opens its page at the top.
TEST(HelpPages, EveryLinkLeadsToAPageAndItsAnchor)
{
    const std::filesystem::path help = QCoreApplication::applicationDirPath().toStdString() + "/help";
    ASSERT_TRUE(std::filesystem::is_directory(help));
    static const std::regex link(R"re(<a\s[^>]*href\s*=\s*"([^"#:]*)(?:#([^"]*))?")re");
    static const std::regex anchor(R"re(\b(?:id|name)\s*=\s*"([^"]*)")re");
    int links = 0;
    for (const auto& entry : std::filesystem::directory_iterator(help)) {
        if (entry.path().extension() != ".html") continue;
        const std::string page = testfiles::ReadText(entry.path());
        for (std::sregex_iterator m(page.begin(), page.end(), link), end; m != end; ++m) {
            const std::filesystem::path target = (*m)[1].length() ? help / (*m)[1].str() : entry.path();
            ASSERT_TRUE(std::filesystem::is_regular_file(target)) << entry.path().filename() << ": " << (*m)[0];
            ++links;
            if (!(*m)[2].matched) continue;
            const std::string text = testfiles::ReadText(target);
            bool found = false;
            for (std::sregex_iterator a(text.begin(), text.end(), anchor); a != end && !found; ++a)
                found = (*a)[1] == (*m)[2];
            EXPECT_TRUE(found) << entry.path().filename() << ": " << (*m)[0];
        }
    }
    EXPECT_GT(links, 50);
}

}  // namespace
