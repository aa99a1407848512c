// Batch input files are read field by field, exactly as written.
#include "pointing/sun/batch_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using orbiscope::sun::BatchRecord;
using orbiscope::sun::ReadBatchRecords;

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
    {"bytes from 128 up are dropped",
     "Z\xfc"
     "rich,47.37N,8.54E,1,1.2;",
     {{"Zrich", "47.37N", "8.54E", "1", "1.2"}},
     {}},
    {"0xFF ends the text",
     "A,1N,1E,0,1;\xff"
     "B,2N,2E,0,1;",
     {{"A", "1N", "1E", "0", "1"}},
     {}},
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
                EXPECT_EQ(records[r].fields[f].text, c.fields[r][f]) << c.name << " record " << r << " field " << f;
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
