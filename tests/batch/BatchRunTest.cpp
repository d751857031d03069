// The batch engine end to end: every written file is read back and decoded
// with zxing-cpp, and must hold exactly the bytes composed for its row.
#include <gtest/gtest.h>

#include <sstream>

#include "batch/BatchJob.h"
#include "image/AtomicFile.h"
#include "tests/batch/BatchFiles.h"

namespace {

struct Outcome {
  BatchSummary summary;
  std::vector<BatchRowResult> rows;
};

Outcome RunAndCollect(BatchJob job) {
  Outcome outcome;
  job.onRow = [&](const BatchRowResult& row) { outcome.rows.push_back(row); };
  outcome.summary = RunBatch(job);
  return outcome;
}

BatchJob Job(const TempDir& dir, const std::string& input, const std::string& name = "in.csv") {
  WriteFile(dir / name, input);
  BatchJob job;
  job.inputPath = dir / name;
  job.outputDir = dir / "out";
  return job;
}

const std::string Prefix = "\x01\x10";
const std::string Zhang = "\xD5\xC5\xC8\xFD";  // 张三 in code page 936

TEST(BatchRun, BusinessCardsDecodeToThePayloadOfTheirRow) {
  TempDir dir;
  // Captions and tags, a quoted comma, a quoted line break, a missing last cell.
  const BatchJob job = Job(dir,
                           "\xEF\xBB\xBF姓名,手机,ADR,em\r\n"
                           "张三,13800138000,\"Line 1\nLine 2\",z@x.cn\r\n"
                           "\"Li, Si\",,,\r\n"
                           "王五,139\r\n");
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  EXPECT_EQ(run.summary.written, 3);
  EXPECT_EQ(run.summary.failed, 0);
  const std::map<std::string, std::string> expected = {
      {"1.png", Prefix + "CARD:N:" + Zhang + ";M:13800138000;EM:z@x.cn;ADR:Line 1\r\nLine 2;;"},
      {"2.png", Prefix + "CARD:N:Li, Si;;"},
      {"3.png", Prefix + "CARD:N:\xCD\xF5\xCE\xE5;M:139;;"},
  };
  EXPECT_EQ(FilesIn(job.outputDir).size(), expected.size());
  for (const auto& [name, payload] : expected)
    EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / name, DecodeFormat::QrCode), payload) << name;
  ASSERT_EQ(run.rows.size(), 3u);
  EXPECT_EQ(run.rows[0].symbol.rfind("version ", 0), 0u);
}

TEST(BatchRun, Gb18030InputRawTextAndTsv) {
  TempDir dir;
  BatchJob job = Job(dir, "sku\ttext\r\nA-1\t\xD5\xC5\xC8\xFD \x80\r\n", "in.TSV");
  job.nameTemplate = "{sku}.gif";
  job.level = 'H';
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  EXPECT_EQ(run.summary.encoding, TextEncoding::Gb18030);
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "A-1.gif", DecodeFormat::QrCode), Zhang + " \x80");
  EXPECT_NE(run.rows.at(0).symbol.find("level H"), std::string::npos);
}

TEST(BatchRun, DataMatrixFromStandardInput) {
  TempDir dir;
  std::istringstream in("text,serial\nSN-0001,a\nSN-0002,b\n");
  BatchJob job;
  job.kind = SymbolKind::Dm;
  job.inputPath = "-";
  job.inputStream = &in;
  job.outputDir = dir / "dm";
  job.nameTemplate = "{serial}-{row}.bmp";
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  EXPECT_EQ(DecodeFile(dir / "dm/a-1.bmp", DecodeFormat::DataMatrix), "SN-0001");
  EXPECT_EQ(DecodeFile(dir / "dm/b-2.bmp", DecodeFormat::DataMatrix), "SN-0002");
  EXPECT_EQ(run.rows.at(0).symbol, "12x12");
}

TEST(BatchRun, FailingRowsAreReportedByNumberAndWrittenNowhere) {
  TempDir dir;
  BatchJob job = Job(dir,
                     "N,id\n"
                     "a,x\n"            // 1 written
                     ",y\n"             // 2 nothing to encode
                     "b,x\n"            // 3 the name of row 1
                     "c,z,extra\n"      // 4 more cells than the header
                     + std::string(3000, 'd') + ",w\n"  // 5 fits no version
                     "\xFF,v\n"         // 6 invalid UTF-8
                     "e,../../u\n"     // 7 written, inside the folder
                     "f," + std::string(300, 'n') + "\n");  // 8 a name too long to write
  job.nameTemplate = "{id}.png";
  job.encoding = TextEncoding::Utf8;  // detection would take row 6 for GB18030
  job.manifestPath = dir / "manifest.csv";
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  EXPECT_EQ(run.summary.written, 2);
  EXPECT_EQ(run.summary.failed, 6);
  std::vector<std::pair<long, RowFailure>> rows;
  for (const BatchRowResult& row : run.rows) rows.emplace_back(row.row, row.failure);
  EXPECT_EQ(rows, (std::vector<std::pair<long, RowFailure>>{{1, RowFailure::None},
                                                            {2, RowFailure::NothingToEncode},
                                                            {3, RowFailure::DuplicateName},
                                                            {4, RowFailure::TooManyCells},
                                                            {5, RowFailure::DoesNotFit},
                                                            {6, RowFailure::BadText},
                                                            {7, RowFailure::None},
                                                            {8, RowFailure::WriteFailed}}));
  EXPECT_EQ(run.rows[7].image.error, ENAMETOOLONG);
  EXPECT_NE(run.rows[1].error.find("every field is empty"), std::string::npos) << run.rows[1].error;
  EXPECT_NE(run.rows[2].error.find("already that of row 1"), std::string::npos) << run.rows[2].error;
  EXPECT_NE(run.rows[3].error.find("3 cells, the header 2"), std::string::npos) << run.rows[3].error;
  EXPECT_NE(run.rows[4].error.find("fits no QR Code version"), std::string::npos) << run.rows[4].error;
  EXPECT_NE(run.rows[5].error.find("column 'N': invalid UTF-8"), std::string::npos) << run.rows[5].error;
  // Only the two written files, all inside the folder; nothing beside it.
  const auto files = FilesIn(job.outputDir);
  EXPECT_EQ(files.size(), 2u);
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "x.png", DecodeFormat::QrCode), Prefix + "CARD:N:a;;");
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "___.._u.png", DecodeFormat::QrCode), Prefix + "CARD:N:e;;");
  EXPECT_EQ(FilesIn(dir.Path()).size(), files.size() + 2);  // the input and the manifest
  const std::string manifest = ReadFile(job.manifestPath);
  EXPECT_EQ(manifest.rfind("row,file,symbol,status\r\n1,x.png,version 1 level M,written\r\n2,y.png,,failed: every field", 0), 0u)
      << manifest;
  EXPECT_NE(manifest.find("\r\n7,___.._u.png,version 1 level M,written\r\n"), std::string::npos) << manifest;
}

// A file name may hold a comma or a quote: the manifest quotes it, so that a
// spreadsheet still sees four columns.
TEST(BatchRun, ManifestQuotesNamesThatHoldCommasOrQuotes) {
  TempDir dir;
  BatchJob job = Job(dir, "N,id\na,\"x,1\"\nb,\"say \"\"hi\"\"\"\n");
  job.nameTemplate = "{id}.png";
  job.manifestPath = dir / "manifest.csv";
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "x,1.png", DecodeFormat::QrCode), Prefix + "CARD:N:a;;");
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "say \"hi\".png", DecodeFormat::QrCode), Prefix + "CARD:N:b;;");
  EXPECT_EQ(ReadFile(job.manifestPath),
            "row,file,symbol,status\r\n"
            "1,\"x,1.png\",version 1 level M,written\r\n"
            "2,\"say \"\"hi\"\".png\",version 1 level M,written\r\n");
}

// {row} has as many digits as the last row, so the names sort in row order:
// ten rows are 01 to 10.
TEST(BatchRun, RowNumbersArePaddedToTheWidthOfTheLastRow) {
  TempDir dir;
  std::string csv = "text\n";
  for (int row = 1; row <= 10; ++row) csv += "R" + std::to_string(row) + "\n";
  BatchJob job = Job(dir, csv);
  job.kind = SymbolKind::Dm;
  job.nameTemplate = "{row}.png";
  const Outcome run = RunAndCollect(job);
  ASSERT_EQ(run.summary.outcome, BatchOutcome::Finished) << run.summary.problem.message;
  std::vector<std::string> names;
  for (const auto& entry : FilesIn(job.outputDir)) names.push_back(entry.first);
  ASSERT_EQ(names.size(), 10u);
  EXPECT_EQ(names.front(), "01.png");
  EXPECT_EQ(names.back(), "10.png");
  EXPECT_EQ(DecodeFile(fs::path(job.outputDir) / "09.png", DecodeFormat::DataMatrix), "R9");
}

TEST(BatchRun, BadHeadersAndTemplatesStopBeforeAnythingIsWritten) {
  struct Case {
    std::string input;
    std::string nameTemplate;
    std::string message;
  } const cases[] = {
      {"N,Nmae\na,b\n", "{row}.png", "column 'Nmae' is neither a field of \"名片\" of 中国移动v1.0"},
      {"", "{row}.png", "the input is empty"},
      {"N\na\n", "{row}.tiff", "must end in .bmp, .jpg, .gif, .png, .svg, .pdf or .eps"},
      {"N\na\n", "card.png", "gives every row the same name"},
      {"N\na\n", "{id}.png", "uses {id}, which is no column"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    BatchJob job = Job(dir, c.input);
    job.nameTemplate = c.nameTemplate;
    const Outcome run = RunAndCollect(job);
    EXPECT_EQ(run.summary.outcome, BatchOutcome::BadInput);
    EXPECT_NE(run.summary.problem.message.find(c.message), std::string::npos) << run.summary.problem.message;
    EXPECT_FALSE(fs::exists(job.outputDir));
  }
  BatchJob missing;
  missing.inputPath = "/nonexistent/cards.csv";
  EXPECT_EQ(RunBatch(missing).problem.message, "cannot read '/nonexistent/cards.csv': No such file or directory");
}

TEST(BatchRun, AnOutputFolderThatCannotBeMadeIsItsOwnOutcome) {
  TempDir dir;
  BatchJob job = Job(dir, "N\na\n");
  WriteFile(dir / "file", "x");
  job.outputDir = dir / "file/out";
  const Outcome run = RunAndCollect(job);
  EXPECT_EQ(run.summary.outcome, BatchOutcome::OutputUnusable);
  EXPECT_NE(run.summary.problem.message.find("cannot create the folder"), std::string::npos) << run.summary.problem.message;
}

std::string ManyCards(int rows) {
  std::string csv = "N,M,COR\n";
  for (int i = 1; i <= rows; ++i)
    csv += "Name " + std::to_string(i) + "," + std::to_string(13800000000LL + i) + ",\"Company " +
           std::string(static_cast<size_t>(i % 97), 'x') + "\"\n";
  return csv;
}

TEST(BatchRun, FilesAreByteIdenticalWhateverTheNumberOfJobs) {
  TempDir dir;
  BatchJob job = Job(dir, ManyCards(120));
  std::map<std::string, std::string> first;
  for (const int jobs : {1, 4, 3}) {
    job.jobs = jobs;
    job.outputDir = dir / ("out" + std::to_string(jobs));
    job.manifestPath = dir / ("manifest" + std::to_string(jobs));
    const Outcome run = RunAndCollect(job);
    ASSERT_EQ(run.summary.written, 120);
    for (size_t i = 0; i < run.rows.size(); ++i) ASSERT_EQ(run.rows[i].row, static_cast<long>(i + 1));
    std::map<std::string, std::string> files = FilesIn(job.outputDir);
    files["manifest"] = ReadFile(job.manifestPath);
    if (first.empty()) first = files;
    else EXPECT_TRUE(files == first) << "jobs " << jobs;
  }
  EXPECT_EQ(first.size(), 121u);
  EXPECT_EQ(first.begin()->first, "001.png");
  EXPECT_EQ(DecodeFile(dir / "out4/120.png", DecodeFormat::QrCode),
            Prefix + "CARD:N:Name 120;M:13800000120;COR:Company " + std::string(23, 'x') + ";;");
}

TEST(BatchRun, CancellingLeavesOnlyCompleteFilesAndAClosedManifest) {
  for (const int jobs : {1, 4}) {
    TempDir dir;
    BatchJob job = Job(dir, ManyCards(400));
    job.jobs = jobs;
    job.manifestPath = dir / "manifest.csv";
    std::atomic<bool> cancel = false;
    job.cancel = &cancel;
    long reported = 0;
    job.onRow = [&](const BatchRowResult&) {
      if (++reported == 25) cancel = true;
    };
    const BatchSummary summary = RunBatch(job);
    EXPECT_EQ(summary.outcome, BatchOutcome::Cancelled);
    EXPECT_GE(summary.written, 25);
    EXPECT_LT(summary.written, 400);
    const auto files = FilesIn(job.outputDir);
    EXPECT_EQ(static_cast<long>(files.size()), summary.written);
    for (const auto& [name, bytes] : files) {
      EXPECT_FALSE(IsAtomicTemporaryName(name)) << name;
      EXPECT_TRUE(DecodeFile(fs::path(job.outputDir) / name, DecodeFormat::QrCode)) << name;
    }
    const std::string manifest = ReadFile(job.manifestPath);
    EXPECT_EQ(std::count(manifest.begin(), manifest.end(), '\n'), summary.written + 1);
    EXPECT_EQ(FilesIn(dir.Path()).size(), files.size() + 2);
  }
}

TEST(BatchRun, ProgressCountsEveryRowAgainstTheTotal) {
  TempDir dir;
  BatchJob job = Job(dir, "N\na\n\nb\n,\n");
  std::vector<std::pair<long, long>> progress;
  job.onProgress = [&](const BatchProgress& p) { progress.emplace_back(p.done, p.total); };
  RunBatch(job);
  EXPECT_EQ(progress, (std::vector<std::pair<long, long>>{{1, 3}, {2, 3}, {3, 3}}));
}

}  // namespace
