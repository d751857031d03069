#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "batch/TableReader.h"
#include "batch/TextEncoding.h"

using namespace quillet;

namespace {

using Records = std::vector<std::vector<std::string>>;

struct ReadCase {
  const char* name;
  std::string input;
  const char* file;  // its extension picks the delimiter
  Records expected;  // UTF-8
  TextEncoding encoding;
  bool unterminatedLast = false;
};

const std::vector<ReadCase> ReadCases = {
    {"Empty", "", "a.csv", {}, TextEncoding::Utf8},
    {"OnlyLineBreaks", "\r\n\n\r\n", "a.csv", {}, TextEncoding::Utf8},
    {"HeaderWithoutLineBreak", "N,M", "a.csv", {{"N", "M"}}, TextEncoding::Utf8},
    {"CrLfRowsAfterAByteOrderMark", "\xEF\xBB\xBFN,M\r\na,b\r\nc,d\r\n", "a.csv", {{"N", "M"}, {"a", "b"}, {"c", "d"}}, TextEncoding::Utf8},
    {"LfAndLoneCrRows", "N\na\rb\n", "a.csv", {{"N"}, {"a"}, {"b"}}, TextEncoding::Utf8},
    {"QuotedComma", "N\n\"Zhang, San\"\n", "a.csv", {{"N"}, {"Zhang, San"}}, TextEncoding::Utf8},
    {"DoubledQuotes", "N\n\"say \"\"hi\"\"\",\"\"\"\"\n", "a.csv", {{"N"}, {"say \"hi\"", "\""}}, TextEncoding::Utf8},
    {"QuotedLineBreaksBecomeCrLf", "A\n\"1\n2\r\n3\r4\"\n", "a.csv", {{"A"}, {"1\r\n2\r\n3\r\n4"}}, TextEncoding::Utf8},
    {"EmptyCellsAndEmptyQuoted", ",\"\",\n", "a.csv", {{"", "", ""}}, TextEncoding::Utf8},
    {"QuoteInsideUnquotedIsText", "a\"b,c\n", "a.csv", {{"a\"b", "c"}}, TextEncoding::Utf8},
    {"TextAfterClosingQuoteIsKept", "\"ab\"cd,e\n", "a.csv", {{"abcd", "e"}}, TextEncoding::Utf8},
    {"ByteOrderMarkOnlyAtTheStart", "N\n\xEF\xBB\xBFx\n", "a.csv", {{"N"}, {"\xEF\xBB\xBFx"}}, TextEncoding::Utf8},
    {"RaggedRows", "a,b,c\n1\n1,2,3,4\n", "a.csv", {{"a", "b", "c"}, {"1"}, {"1", "2", "3", "4"}}, TextEncoding::Utf8},
    {"TabsForTsv", "N\tM\n\"a\tb\"\tc,d\n", "a.TSV", {{"N", "M"}, {"a\tb", "c,d"}}, TextEncoding::Utf8},
    {"Gb18030FourByteCode", "T\n\x95\x32\x82\x36\n", "a.csv", {{"T"}, {"\xF0\xA0\x80\x80"}}, TextEncoding::Gb18030},
    {"OneBadByteLateMakesItGb18030", "N\nabc\n\xD5\xC5\n", "a.csv", {{"N"}, {"abc"}, {"张"}}, TextEncoding::Gb18030},
    {"UnterminatedQuoteRunsToTheEnd", "N\n\"abc\nd", "a.csv", {{"N"}, {"abc\r\nd"}}, TextEncoding::Utf8, true},
};

class ReadTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTable, GivesTheCellsInTheDetectedEncoding) {
  const ReadCase& c = GetParam();
  std::istringstream in(c.input);
  TableReader reader(in, DelimiterForFile(c.file));
  EncodingDetector detector;
  std::vector<TableRecord> records;
  for (TableRecord record; reader.Next(record);) {
    for (const std::string& cell : record.cells) detector.See(cell);
    records.push_back(record);
  }
  EXPECT_EQ(detector.Result(), c.encoding);
  ASSERT_EQ(records.size(), c.expected.size());
  for (size_t r = 0; r < records.size(); ++r) {
    std::vector<std::string> utf8;
    for (const std::string& cell : records[r].cells) {
      TextProblem problem;
      utf8.push_back(CellToUtf8(cell, detector.Result(), &problem).value_or("<not text>"));
    }
    EXPECT_EQ(utf8, c.expected[r]) << "record " << r;
    EXPECT_FALSE(records[r].overflow);
    EXPECT_EQ(records[r].unterminatedQuote, c.unterminatedLast && r + 1 == records.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadTable, testing::ValuesIn(ReadCases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(ReadTable, ARecordBeyondTheLimitIsCutAndFlaggedAndTheNextOneIsWhole) {
  const std::string huge(TableReader::MaxRecordBytes + 10, 'x');
  const std::string cells(TableReader::MaxRecordCells + 5, ',');
  std::istringstream in("\"" + huge + "\"\n" + cells + "\nnext\n");
  TableReader reader(in, ',');
  std::vector<std::tuple<bool, size_t, size_t>> read;  // overflow, cells, bytes of the first
  for (TableRecord record; reader.Next(record);) read.emplace_back(record.overflow, record.cells.size(), record.cells.at(0).size());
  EXPECT_EQ(read, (std::vector<std::tuple<bool, size_t, size_t>>{{true, 1, TableReader::MaxRecordBytes},
                                                                 {true, TableReader::MaxRecordCells, 0},
                                                                 {false, 1, 4}}));
}

TEST(CellConversion, PayloadBytesAreThoseThePagesGiveTheSameText) {
  const std::tuple<std::string, TextEncoding, std::optional<std::string>> cases[] = {
      {"张三 A", TextEncoding::Utf8, "\xD5\xC5\xC8\xFD A"},
      {"\xD5\xC5\xC8\xFD A", TextEncoding::Gb18030, "\xD5\xC5\xC8\xFD A"},
      // The euro sign is 0x80 in code page 936 whichever way it arrives.
      {"\xE2\x82\xAC", TextEncoding::Utf8, "\x80"},
      {"\xA2\xE3", TextEncoding::Gb18030, "\x80"},
      {"\x95\x32\x82\x36", TextEncoding::Gb18030, "\x95\x32\x82\x36"},
      {"\xD5", TextEncoding::Utf8, std::nullopt},
      {"\xFF\xFF", TextEncoding::Gb18030, std::nullopt},
  };
  for (const auto& [cell, encoding, codePage] : cases) {
    TextProblem problem;
    EXPECT_EQ(CellToCodePage(cell, encoding, &problem), codePage) << cell;
    EXPECT_EQ(problem.failure == TextFailure::None, codePage.has_value()) << cell;
  }
}

}  // namespace
