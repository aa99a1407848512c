// Batch input files are read field by field, exactly as written, each line
// in its own encoding.
#include "pointing/sun/batch_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orbiscope::sun::BatchRecord;

std::vector<BatchRecord> ReadBatchRecords(std::string_view fileBytes, int fieldCount)
{
    std::vector<BatchRecord> records;
    orbiscope::sun::BatchReader reader(fileBytes, fieldCount);
    for (BatchRecord r; reader.Next(r);) records.push_back(std::move(r));
    return records;
}

// Expected text of a field holding a character Latin-1 cannot hold: marked
// for refusal, its text empty; of one refused for a byte-order mark inside a
// line; and of one whose mark starts a line (two files joined).
const std::string kRefused = "(refused)";
const std::string kMark = "(mark)";
const std::string kJoined = "(mark at a line's start)";

struct ReadCase {
    const char* name;
    std::string bytes;
    std::vector<std::vector<std::string>> fields;  // per record
    std::vector<std::vector<int>> lines;           // per record, empty: not checked
};

const ReadCase kCases[] = {
    {"one site", "London,51.50N,0.12W,0,2.4;", {{"London", "51.50N", "0.12W", "0", "2.4"}}, {{1, 1, 1, 1, 1}}},
    {"no final semicolon keeps the last character",
     "London,51.50N,0.12W,0,2.4",
     {{"London", "51.50N", "0.12W", "0", "2.4"}},
     {}},
    {"an empty field stays in its place", "London,,0.12W,0,2.4;", {{"London", "", "0.12W", "0", "2.4"}}, {}},
    {"missing fields are empty, at the record's end",
     "London,51.50N;\r\nParis,48.85N,2.35E,1,3;",
     {{"London", "51.50N", "", "", ""}, {"Paris", "48.85N", "2.35E", "1", "3"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}}},
    {"a record over two lines",
     "London,51.50N,\r\n0.12W,0,\n2.4;",
     {{"London", "51.50N", "0.12W", "0", "2.4"}},
     {{1, 1, 2, 2, 3}}},
    {"blanks around fields go",
     "   New York , 40.71N ,74.01W,-5, 3.7 ;",
     {{"New York", "40.71N", "74.01W", "-5", "3.7"}},
     {}},
    {"a Latin-1 file", "K\xf6ln,50.94N,6.96E,1,1.2;", {{"K\xf6ln", "50.94N", "6.96E", "1", "1.2"}}, {}},
    {"a UTF-8 file gives Latin-1",
     "Z\xc3\xbcrich,47.38N,8.55E,1,1;S\xc3\xa3o Paulo,23.55S,46.63W,-3,1;",
     {{"Z\xfcrich", "47.38N", "8.55E", "1", "1"}, {"S\xe3o Paulo", "23.55S", "46.63W", "-3", "1"}},
     {}},
    {"a UTF-8 byte-order mark is not text",
     "\xef\xbb\xbfZ\xc3\xbcrich,1N,1E,0,1;",
     {{"Z\xfcrich", "1N", "1E", "0", "1"}},
     {}},
    {"each line is read on its own: UTF-8 lines, a Latin-1 line, then a stray Windows sign",
     "Z\xc3\xbcrich,1N,1E,0,1;\nS\xc3\xa3o Paulo,2S,2W,0,1;\nK\xf6ln,3N,3E,0,1;\n\xc3\x86r\xc3\xb8,4N,4E,0,1;\n"
     "O\x92" "Brien,5N,5E,0,1;",
     {{"Z\xfcrich", "1N", "1E", "0", "1"}, {"S\xe3o Paulo", "2S", "2W", "0", "1"}, {"K\xf6ln", "3N", "3E", "0", "1"},
      {"\xc6r\xf8", "4N", "4E", "0", "1"}, {kRefused, "5N", "5E", "0", "1"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}, {4, 4, 4, 4, 4}, {5, 5, 5, 5, 5}}},
    {"a mark, then a Latin-1 line", "\xef\xbb\xbfK\xf6ln,1N,1E,0,1;", {{"K\xf6ln", "1N", "1E", "0", "1"}}, {}},
    {"lines ended by CR alone, each in its own encoding",
     "Z\xc3\xbcrich,1N,1E,0,1;\rS\xc3\xa3o Paulo,2S,2W,0,1;\rK\xf6ln,3N,\r3E,0,1;\r",
     {{"Z\xfcrich", "1N", "1E", "0", "1"}, {"S\xe3o Paulo", "2S", "2W", "0", "1"}, {"K\xf6ln", "3N", "3E", "0", "1"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 4, 4, 4}}},
    // Files joined from ones that were each saved with a mark: only the
    // file's own first one is no text, and a later one is the mark before a
    // Latin-1 line too, never the letters its bytes are in Latin-1.
    {"a mark on a later line is named, before a UTF-8 line or a Latin-1 one",
     "\xef\xbb\xbf" "A,1N,1E,0,1;\r\n\xef\xbb\xbf" "B,2N,2E,0,1;\n\xef\xbb\xbf" "K\xf6ln,3N,3E,0,1;",
     {{"A", "1N", "1E", "0", "1"}, {kJoined, "2N", "2E", "0", "1"}, {kJoined, "3N", "3E", "0", "1"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}}},
    {"a mark inside a UTF-8 line is named", "A\xef\xbb\xbf" "B,1N,1E,0,1;", {{kMark, "1N", "1E", "0", "1"}}, {}},
    // Where a line starts decides, not where a field does: a record runs
    // over lines, and a pasted mark may follow blanks or end a name.
    {"a mark inside a name on a later line, and one after blanks, are inside their lines",
     "A,1N,1E,0,1;\nB\xef\xbb\xbf,2N,2E,0,1;\n  \xef\xbb\xbf" "C,3N,3E,0,1;",
     {{"A", "1N", "1E", "0", "1"}, {kMark, "2N", "2E", "0", "1"}, {kMark, "3N", "3E", "0", "1"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}}},
    {"a mark that starts a line in the middle of a record",
     "A,1N,\n\xef\xbb\xbf" "1E,0,1;",
     {{"A", "1N", kJoined, "0", "1"}},
     {{1, 1, 2, 2, 2}}},
    // Each form that is not UTF-8 alone in its file, read as Latin-1: as
    // UTF-8 it would be a character outside Latin-1, or "/".
    {"an overlong form: Latin-1, where 0x80 is a Windows sign", "\xe0\x80\xaf,1N,1E,0,1;",
     {{kRefused, "1N", "1E", "0", "1"}}, {}},
    {"a surrogate", "\xed\xa0\xbf,1N,1E,0,1;", {{"\xed\xa0\xbf", "1N", "1E", "0", "1"}}, {}},
    {"a code point past U+10FFFF", "\xf4\xa0\xa1\xa2,1N,1E,0,1;", {{"\xf4\xa0\xa1\xa2", "1N", "1E", "0", "1"}}, {}},
    {"0xFF is a letter, not the end",
     "L'Ha\xff-les-Roses,48.78N,2.35E,1,1;\nB,2N,2E,0,1;",
     {{"L'Ha\xff-les-Roses", "48.78N", "2.35E", "1", "1"}, {"B", "2N", "2E", "0", "1"}},
     {}},
    {"a name Latin-1 cannot hold is refused on its line",
     "\xe6\x9d\xb1\xe4\xba\xac,35.68N,139.69E,9,1;\nA,1N,1E,0,1;\nHome \xf0\x9f\x8f\xa0,1N,1E,0,1;",
     {{kRefused, "35.68N", "139.69E", "9", "1"}, {"A", "1N", "1E", "0", "1"}, {kRefused, "1N", "1E", "0", "1"}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 3, 3}}},
    {"Latin-1 0x80-0x9F (Windows signs) and UTF-8 cut short at the end",
     "O\x92" "Brien,1N,1E,0,1;Z\xc3\xbcrich,1N,1E,0,1;\xe6\x9d",
     {{kRefused, "1N", "1E", "0", "1"}, {"Z\xc3\xbcrich", "1N", "1E", "0", "1"}, {kRefused, "", "", "", ""}},
     {}},
    {"a character cut short by the end of the file takes no other line's letters",
     "Z\xc3\xbcrich,1N,1E,0,1;\n\xe6\x9d",
     {{"Z\xfcrich", "1N", "1E", "0", "1"}, {kRefused, "", "", "", ""}},
     {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}}},
    {"an extra comma stays in the last field", "A,1N,1E,0,1,9;", {{"A", "1N", "1E", "0", "1,9"}}, {}},
    {"blank text after the last record", "A,1N,1E,0,1;\r\n  \r\n", {{"A", "1N", "1E", "0", "1"}}, {}},
    {"an empty record in the middle is a record",
     "A,1N,1E,0,1;;B,2N,2E,0,1;",
     {{"A", "1N", "1E", "0", "1"}, {"", "", "", "", ""}, {"B", "2N", "2E", "0", "1"}},
     {}},
    {"an empty file", "", {}, {}},
};

TEST(BatchFile, ReadsFieldsExactly)
{
    for (const auto& c : kCases) {
        const std::vector<BatchRecord> records = ReadBatchRecords(c.bytes, 5);
        ASSERT_EQ(records.size(), c.fields.size()) << c.name;
        for (std::size_t r = 0; r < records.size(); ++r) {
            ASSERT_EQ(records[r].fields.size(), 5u) << c.name;
            for (std::size_t f = 0; f < 5; ++f) {
                const bool joined = c.fields[r][f] == kJoined, mark = joined || c.fields[r][f] == kMark,
                           refused = mark || c.fields[r][f] == kRefused;
                EXPECT_EQ(records[r].fields[f].outsideLatin1, refused) << c.name << " record " << r << " field " << f;
                EXPECT_EQ(records[r].fields[f].byteOrderMark, mark) << c.name << " record " << r << " field " << f;
                EXPECT_EQ(records[r].fields[f].markAtLineStart, joined)
                    << c.name << " record " << r << " field " << f;
                EXPECT_EQ(records[r].fields[f].text, refused ? "" : c.fields[r][f])
                    << c.name << " record " << r << " field " << f;
                if (!c.lines.empty()) {
                    EXPECT_EQ(records[r].fields[f].line, c.lines[r][f]) << c.name;
                }
            }
        }
    }
}

TEST(BatchFile, SatelliteRecordsOfTwoFields)
{
    const auto records = ReadBatchRecords("Sat A,19.2E;\nSat B,97W;\nSat C;", 2);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].fields[1].text, "97W");
    EXPECT_EQ(records[1].fields[1].line, 2);
    EXPECT_EQ(records[2].fields[1].text, "");
    EXPECT_EQ(records[2].fields[1].line, 3);
}

}  // namespace
