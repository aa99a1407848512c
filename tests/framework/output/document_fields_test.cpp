// The typed reader of document records: which reads count against the record
// size, what each typed read takes from the file, and that every failure
// closes the file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/output/docfile.h"
#include "framework/output/document_fields.h"
#include "tests/platform/file_support.h"

namespace {

// Bytes 0, 1, 2, ... of the given length.
std::string Counting(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = char(i & 0x7F);
    return s;
}

struct ReadCase {
    const char* name;
    std::size_t fileBytes;
    std::size_t recordBytes;
    std::function<bool(DocumentFieldReader&)> read;
    bool ok;
    std::int32_t counted;  // the running total afterwards (when ok)
};

TEST(DocumentFieldReader, CountsTypedFieldsAgainstTheRecord)
{
    char t41[41], t13[13], t2[2], t81[81];
    ButtonState s{};
    std::uint16_t flag = 0;
    const ReadCase cases[] = {
        // Text widths 41, 13, 2 and 81 make a record of 137 bytes.
        {"four texts fill the record", 200, 137, [&](DocumentFieldReader& in) { return in.Texts(t41, t13, t2, t81); },
         true, 137},
        {"one byte more than the record", 200, 136, [&](DocumentFieldReader& in) { return in.Texts(t41, t13, t2, t81); },
         false, 0},
        {"file ends inside the last text", 136, 137, [&](DocumentFieldReader& in) { return in.Texts(t41, t13, t2, t81); },
         false, 0},
        {"state is two bytes", 2, 2, [&](DocumentFieldReader& in) { return in.State(s); }, true, 2},
        {"wide state is four bytes", 4, 4, [&](DocumentFieldReader& in) { return in.WideState(s); }, true, 4},
        {"wide state over a two-byte record", 4, 2, [&](DocumentFieldReader& in) { return in.WideState(s); }, false, 0},
        {"flag counts", 2, 2, [&](DocumentFieldReader& in) { return in.Flag(flag); }, true, 2},
        {"uncounted flag still needs room in the count", 2, 0,
         [&](DocumentFieldReader& in) { return in.UncountedFlag(flag); }, false, 0},
        {"uncounted flag gives its two bytes back", 15, 13,
         [&](DocumentFieldReader& in) { return in.UncountedFlag(flag) && in.Text(t13); }, true, 13},
        {"unchecked text is not counted", 26, 13, [&](DocumentFieldReader& in) { return in.Unchecked(t13) && in.Text(t13); },
         true, 13},
        {"skipped bytes are not counted", 113, 13, [&](DocumentFieldReader& in) { return in.Skip(100) && in.Text(t13); },
         true, 13},
        {"skip past the end", 99, 13, [&](DocumentFieldReader& in) { return in.Skip(100); }, false, 0},
        {"unknown kind", 100, 100, [&](DocumentFieldReader& in) { return in.Field(t81, 8); }, false, 0},
    };
    testfiles::TempFolder dir;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        testfiles::WriteText(dir / "doc.bin", Counting(c.fileBytes));
        DocumentFile file(dir / "doc.bin");
        ASSERT_TRUE(file.IsOpen());
        DocumentFieldReader in(file, c.recordBytes);
        EXPECT_EQ(c.read(in), c.ok);
        EXPECT_EQ(file.Closed(), !c.ok);
        if (c.ok) {
            EXPECT_EQ(in.Total(), c.counted);
        }
    }
}

TEST(DocumentFieldReader, TakesTheBytesOfEachField)
{
    // Kinds 1 to 7: texts of 41 and 13 bytes, two-byte states, four-byte
    // words, texts of 81 bytes; 0 and 8 are no kind at all.
    const int sizes[] = {0, 41, 13, 2, 2, 4, 4, 81, 0};
    for (int kind = 0; kind <= 8; ++kind) EXPECT_EQ(DocFieldSize(kind), sizes[kind]) << kind;

    // A flag 0x1234, a wide state 0x00050001 (low word 1) and a text.
    testfiles::TempFolder dir;
    testfiles::WriteText(dir / "doc.bin", std::string("\x34\x12\x01\x00\x05\x00" "ab\0cdefghijk", 19));
    DocumentFile file(dir / "doc.bin");
    DocumentFieldReader in(file, 100);
    std::uint16_t flag = 0;
    ButtonState wide{};
    char text[13];
    ASSERT_TRUE(in.Flag(flag));
    ASSERT_TRUE(in.WideState(wide));
    ASSERT_TRUE(in.Text(text));
    EXPECT_EQ(flag, 0x1234);
    EXPECT_EQ(wide.Value(), 1);
    EXPECT_EQ(std::string(text, 13), std::string("ab\0cdefghijk", 13));
    EXPECT_EQ(FieldView(text), "ab");
}

}  // namespace
