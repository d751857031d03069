// The batch engine end to end: written files are read back and decoded, and
// must hold exactly the bytes composed for their row.
#include <gtest/gtest.h>

#include "batch/BatchJob.h"
#include "cli/CliBatch.h"
#include "tests/cli/CliFiles.h"

using namespace quillet;

namespace {

// Runs the job; the rows as reported, in order.
std::vector<BatchRowResult> RunRows(BatchJob job, BatchSummary& summary) {
  std::vector<BatchRowResult> rows;
  job.onRow = [&](const BatchRowResult& row) { rows.push_back(row); };
  summary = RunBatch(job);
  return rows;
}

BatchJob Job(const TempFolder& dir, const std::string& input) {
  WriteBytes(dir.File("in.csv"), input);
  BatchJob job;
  job.contentPage = {1, 0};  // the operator card: these tests check its code page 936 form
  job.inputPath = dir.File("in.csv");
  job.outputDir = dir.File("out");
  return job;
}

std::optional<std::string> DecodeQr(const BatchJob& job, const std::string& name) {
  return DecodeFile(fs::path(job.outputDir) / name, DecodeFormat::QrCode);
}

const std::string Prefix = "\x01\x10";

TEST(BatchRun, FailingRowsAreReportedByNumberAndWrittenNowhere) {
  TempFolder dir;
  BatchJob job = Job(dir,
                     "N,id\n"
                     "a,\"x,\"\"1\"\"\"\n"  // 1 written, as x,"1".png
                     ",y\n"             // 2 nothing to encode
                     "b,\"x,\"\"1\"\"\"\n"  // 3 the name of row 1
                     "c,z,extra\n"      // 4 more cells than the header
                     + std::string(3000, 'd') + ",w\n"  // 5 fits no version
                     "\xFF,v\n"         // 6 invalid UTF-8
                     "e,../../u\n"     // 7 written, inside the folder
                     "f," + std::string(300, 'n') + "\n");  // 8 a name too long to write
  job.nameTemplate = "{id}.png";
  job.encoding = TextEncoding::Utf8;  // detection would take row 6 for GB18030
  job.manifestPath = dir.File("manifest.csv");
  job.describeRow = [&](const BatchRowResult& row) { return RowReasonText(row, job); };
  BatchSummary summary;
  const std::vector<BatchRowResult> rows = RunRows(job, summary);
  ASSERT_EQ(summary.outcome, BatchOutcome::Finished) << static_cast<int>(summary.problem.stop);
  EXPECT_EQ(summary.written, 2);
  EXPECT_EQ(summary.failed, 6);
  const std::pair<RowFailure, const char*> expected[] = {
      {RowFailure::None, ""},
      {RowFailure::NothingToEncode, "every field is empty"},
      {RowFailure::DuplicateName, "already that of row 1"},
      {RowFailure::TooManyCells, "3 cells, the header 2"},
      {RowFailure::DoesNotFit, "fits no QR Code version"},
      {RowFailure::BadText, "column 'N': invalid UTF-8"},
      {RowFailure::None, ""},
      {RowFailure::WriteFailed, ""},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].row, static_cast<long>(i + 1));
    EXPECT_EQ(rows[i].problem.failure, expected[i].first) << "row " << i + 1;
    const std::string reason = RowReasonText(rows[i], job);
    EXPECT_NE(reason.find(expected[i].second), std::string::npos) << reason;
  }
  EXPECT_EQ(rows[7].image.error, ENAMETOOLONG);
  // Only the two written files, all inside the folder; nothing beside it.
  const auto files = FilesIn(job.outputDir);
  EXPECT_EQ(files.size(), 2u);
  EXPECT_EQ(DecodeQr(job, "x,\"1\".png"), Prefix + "CARD:N:a;;");
  EXPECT_EQ(DecodeQr(job, "___.._u.png"), Prefix + "CARD:N:e;;");
  EXPECT_EQ(FilesIn(dir.Path()).size(), files.size() + 2);  // the input and the manifest
  // A name with a comma or a quote is one quoted field of the manifest.
  const std::string manifest = ReadBytes(job.manifestPath);
  EXPECT_EQ(manifest.rfind("row,file,symbol,status\r\n"
                           "1,\"x,\"\"1\"\".png\",version 1 level M,written\r\n"
                           "2,y.png,,failed: every field",
                           0),
            0u)
      << manifest;
  EXPECT_NE(manifest.find("\r\n7,___.._u.png,version 1 level M,written\r\n"), std::string::npos) << manifest;
}

TEST(BatchRun, FilesAreByteIdenticalWhateverTheNumberOfJobs) {
  TempFolder dir;
  std::string csv = "N,M,COR\n";
  for (int i = 1; i <= 120; ++i)
    csv += "Name " + std::to_string(i) + "," + std::to_string(13800000000LL + i) + ",\"Company " +
           std::string(static_cast<size_t>(i % 97), 'x') + "\"\n";
  BatchJob job = Job(dir, csv);
  std::map<std::string, std::string> first;
  for (const int jobs : {1, 4, 3}) {
    job.jobs = jobs;
    job.outputDir = dir.File("out" + std::to_string(jobs));
    job.manifestPath = dir.File("manifest" + std::to_string(jobs));
    BatchSummary summary;
    const std::vector<BatchRowResult> rows = RunRows(job, summary);
    ASSERT_EQ(summary.written, 120);
    for (size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].row, static_cast<long>(i + 1));
    std::map<std::string, std::string> files = FilesIn(job.outputDir);
    files["manifest"] = ReadBytes(job.manifestPath);
    if (first.empty()) first = files;
    else EXPECT_TRUE(files == first) << "jobs " << jobs;
  }
  EXPECT_EQ(first.size(), 121u);
  EXPECT_EQ(first.begin()->first, "001.png");  // {row} as wide as the last row
  EXPECT_EQ(DecodeFile(dir.File("out4/120.png"), DecodeFormat::QrCode),
            Prefix + "CARD:N:Name 120;M:13800000120;COR:Company " + std::string(23, 'x') + ";;");
}

}  // namespace
