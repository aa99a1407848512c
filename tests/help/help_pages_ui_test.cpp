// How a context id finds its topic: its own page, or the page that holds it
// as an anchor; and F1 on a field, its entry on its form's page.  That every id a dialog sends has its topic is checked by the
// whole-program walk, over every dialog it reaches.
#include <gtest/gtest.h>

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

}  // namespace
