// The batch form without a display: what it reads of a spreadsheet, what each
// column feeds, why it cannot start, the settings it runs, and a run's figures.
#include "model/BatchForm.h"

#include <gtest/gtest.h>

#include "content/Catalogue.h"
#include "content/CodePage.h"
#include "image/StylePresets.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

int Slot(const char* tag) { return FieldSlotOfTag(tag); }

using Role = ColumnRole;

// The QR page as it opens: the business card of the first operator format,
// its text in code page 936, as the window passes it.
const BatchPage QrPage = [] {
  BatchPage page;
  page.contentPage = FormatTab{};
  page.textCharset = DataCharset::CodePage936;
  return page;
}();

BatchPage DmPage() {
  BatchPage page;
  page.symbology = Symbology::DataMatrix;
  return page;
}

class BatchFormTest : public testing::Test {
 protected:
  // The form for `page` with `csv` loaded from `name`, writing into Out().
  BatchForm Loaded(const std::string& name, const std::string& csv, const BatchPage& page = QrPage) {
    WriteBytes(dir.File(name), csv);
    BatchForm form(page);
    form.output.folder = Out();
    form.Load(dir.File(name));
    return form;
  }
  std::string Out() const { return dir.File("out"); }

  TempFolder dir;
};

std::vector<ColumnRole> Roles(const BatchFormCheck& check) {
  std::vector<ColumnRole> roles;
  for (const ColumnFeed& feed : check.feeds.columns) roles.push_back(feed.role);
  return roles;
}

// A spreadsheet exported on a Chinese system (GB18030, which UTF-8 cannot read).
TEST_F(BatchFormTest, DetectsTheEncodingAndReadsAgainInTheOneForced) {
  BatchForm form = Loaded("名片.csv", *Utf8ToCodePage("姓名,手机,邮箱\r\n张三,13800138000,\"z@x.cn\"\r\n,,\r\nD,139,\r\n"));
  ASSERT_TRUE(form.Table());
  EXPECT_EQ(form.ChosenEncoding(), std::nullopt);
  EXPECT_EQ(form.Table()->encoding, TextEncoding::Gb18030);
  EXPECT_EQ(form.Table()->header, (std::vector<std::string>{"姓名", "手机", "邮箱"}));
  EXPECT_EQ(form.Table()->rows, 3);
  EXPECT_EQ(form.Table()->firstRows[0][0], "张三");
  const BatchFormCheck detected = form.Check();
  ASSERT_EQ(detected.feeds.columns.size(), 3u);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(detected.feeds.columns[c].role, ColumnRole::Field) << c;
  EXPECT_EQ((std::vector{detected.feeds.columns[0].slot, detected.feeds.columns[1].slot, detected.feeds.columns[2].slot}),
            (std::vector{Slot("N"), Slot("M"), Slot("EM")}));
  EXPECT_FALSE(detected.start);

  form.ChooseEncoding(TextEncoding::Utf8);
  ASSERT_TRUE(form.Table());
  EXPECT_EQ(form.Table()->encoding, TextEncoding::Utf8);
  EXPECT_EQ(form.Table()->firstRows[0][0], std::nullopt);  // not UTF-8
  EXPECT_TRUE(form.Check().start);
  EXPECT_EQ(form.Job().encoding, TextEncoding::Utf8);

  form.ChooseEncoding(TextEncoding::Gb18030);
  EXPECT_EQ(form.Table()->firstRows[0][0], "张三");
  EXPECT_FALSE(form.Check().start);
  EXPECT_EQ(form.Job().encoding, TextEncoding::Gb18030);
  // Another spreadsheet is detected afresh.
  form.Load(form.InputPath());
  EXPECT_EQ(form.ChosenEncoding(), std::nullopt);
}

TEST_F(BatchFormTest, PreviewsTheFirstRowsAndCountsThemAll) {
  std::string csv = "TEXT\n";
  for (int row = 1; row <= BatchForm::PreviewRows + 5; ++row) csv.append("r").append(std::to_string(row)).append("\n");
  const BatchForm form = Loaded("t.csv", csv);
  ASSERT_TRUE(form.Table());
  EXPECT_EQ(form.Table()->rows, BatchForm::PreviewRows + 5);
  ASSERT_EQ(form.Table()->firstRows.size(), static_cast<size_t>(BatchForm::PreviewRows));
  EXPECT_EQ(form.Table()->firstRows.back(), (std::vector<std::optional<std::string>>{"r20"}));
}

TEST_F(BatchFormTest, AnInputThatCannotBeReadKeepsItFromStarting) {
  BatchForm none(QrPage);
  EXPECT_EQ(none.Check().start.fault, FormFault::NoInput);

  BatchForm empty = Loaded("empty.csv", "");
  EXPECT_FALSE(empty.Table());
  EXPECT_EQ(empty.InputProblem().stop, BatchStop::InputEmpty);
  EXPECT_EQ(empty.Check().start.fault, FormFault::InputUnreadable);

  BatchForm gone = Loaded("cards.csv", "N\nA\n");
  EXPECT_FALSE(gone.Check().start);
  std::filesystem::remove(dir.File("cards.csv"));
  gone.Load(dir.File("cards.csv"));  // chosen again
  const FormProblem problem = gone.Check().start;
  EXPECT_EQ(problem.fault, FormFault::InputUnreadable);
  EXPECT_EQ(problem.problem.stop, BatchStop::InputUnreadable);
  EXPECT_EQ(problem.problem.subject, dir.File("cards.csv"));
}

TEST_F(BatchFormTest, WritesBesideTheSpreadsheetUnlessAPlaceWasChosen) {
  WriteBytes(dir.File("名片.v2.csv"), "N\nA\n");
  BatchForm form(QrPage);
  form.Load(dir.File("名片.v2.csv"));
  EXPECT_EQ(form.output.folder, dir.File("名片.v2"));
  EXPECT_EQ(form.output.sheetFile, dir.File("名片.v2.pdf"));
  EXPECT_EQ(form.OutputFolder(), dir.File("名片.v2"));
  form.output.to = BatchOutput::Sheet;
  EXPECT_EQ(form.OutputFolder(), dir.Path().string());

  form.output = {};
  form.output.folder = Out();
  form.output.sheetFile = dir.File("labels.pdf");
  form.Load(dir.File("名片.v2.csv"));
  EXPECT_EQ(form.output.folder, Out());
  EXPECT_EQ(form.output.sheetFile, dir.File("labels.pdf"));
  form.output.folder.clear();
  EXPECT_EQ(form.Check().start.rule, OutputRule::None);
  EXPECT_EQ(form.Check().start.fault, FormFault::NoTarget);
  form.output.to = BatchOutput::Sheet;
  EXPECT_FALSE(form.Check().start);
  form.output.sheetFile.clear();  // not a PDF file
  EXPECT_EQ(form.Check().start.rule, OutputRule::SheetNotPdf);
}

struct ColumnCase {
  const char* name;
  std::string csv;
  const char* nameTemplate;
  std::vector<ColumnRole> roles;
  // Why it cannot start; None when it can.
  FormFault fault;
  int unused;
  OutputRule rule;
  // HeaderRefused: the engine's refusal and its subjects.
  HeaderFailure refusal = HeaderFailure::None;
  std::string column, other;
  int slot = -1;
};

class BatchColumns : public BatchFormTest, public testing::WithParamInterface<ColumnCase> {};

TEST_P(BatchColumns, StartsOnlyWhenEveryColumnFeedsSomething) {
  const ColumnCase& c = GetParam();
  BatchForm form = Loaded("in.csv", c.csv);
  form.output.nameTemplate = c.nameTemplate;
  const BatchFormCheck check = form.Check();
  EXPECT_EQ(Roles(check), c.roles);
  EXPECT_EQ(check.start.fault, c.fault);
  EXPECT_EQ(check.start.count, c.unused);
  EXPECT_EQ(check.start.rule, c.rule);
  const HeaderRefusal& refusal = check.start.refusal;
  EXPECT_EQ(std::tie(refusal.failure, refusal.column, refusal.other, refusal.slot),
            std::tie(c.refusal, c.column, c.other, c.slot));
}

constexpr OutputRule NoRule = OutputRule::None;

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchColumns,
    testing::Values(
        ColumnCase{"Misspelt", "姓名,手记\nA,1\n", "{row}.png", {Role::Field, Role::Nothing}, FormFault::ColumnsUnused, 1, NoRule, HeaderFailure::None, "", "", -1},
        ColumnCase{"UsedInName", "姓名,工号\nA,1\n", "{工号}.png", {Role::Field, Role::NameOnly}, FormFault::None, 0, NoRule, HeaderFailure::None, "", "", -1},
        ColumnCase{"NameOfAnotherColumn", "姓名,工号\nA,1\n", "{姓名}-{row}.png", {Role::Field, Role::Nothing},
                   FormFault::ColumnsUnused, 1, NoRule, HeaderFailure::None, "", "", -1},
        ColumnCase{"BadExtension", "姓名\nA\n", "{row}.txt", {Role::Field}, FormFault::OutputRule, 0,
                   OutputRule::NoImageExtension, HeaderFailure::None, "", "", -1},
        ColumnCase{"TwoColumnsOneField", "姓名,N\nA,B\n", "{row}.png", {Role::Field, Role::Field}, FormFault::HeaderRefused, 0,
                   NoRule, HeaderFailure::TwoColumnsOneField, "姓名", "N", FieldSlotOfTag("N")},
        ColumnCase{"TextBesideAField", "TEXT,手机\nA,1\n", "{row}.png", {Role::Text, Role::Field}, FormFault::HeaderRefused, 0,
                   NoRule, HeaderFailure::TextWithField, "手机", "", -1},
        ColumnCase{"UnnamedColumn", "姓名,\nA,\n", "{row}.png", {Role::Field, Role::Unnamed}, FormFault::None, 0, NoRule, HeaderFailure::None, "", "", -1}),
    [](const auto& info) { return std::string(info.param.name); });

// The name template, or on a sheet the caption and the file: their fault
// keeps the form from starting, and hides a header refusal it causes.
struct OutputCase {
  const char* name;
  bool sheet;
  const char* nameTemplate;  // or the caption on a sheet
  const char* sheetFile;
  FormFault fault;
  OutputRule rule;
  const char* column;
};

class BatchOutputs : public BatchFormTest, public testing::WithParamInterface<OutputCase> {};

TEST_P(BatchOutputs, TheTemplatesFaultIsTheOutputs) {
  const OutputCase& c = GetParam();
  BatchForm form = Loaded("in.csv", "姓名\nA\n");
  form.output.to = c.sheet ? BatchOutput::Sheet : BatchOutput::Folder;
  (c.sheet ? form.output.caption : form.output.nameTemplate) = c.nameTemplate;
  form.output.sheetFile = dir.File(c.sheetFile);
  const BatchFormCheck check = form.Check();
  EXPECT_EQ(check.output.fault, c.fault);
  EXPECT_EQ(check.output.rule, c.rule);
  EXPECT_EQ(check.output.column, c.column);
  EXPECT_EQ(check.start.fault, c.fault);
  EXPECT_NE(check.columns.fault, FormFault::HeaderRefused);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BatchOutputs,
    testing::Values(OutputCase{"UnknownColumn", false, "{工号}.png", "s.pdf", FormFault::UnknownColumn, OutputRule::None, "工号"},
                    OutputCase{"Unclosed", false, "{row.png", "s.pdf", FormFault::OutputRule, OutputRule::NameTemplateBroken, ""},
                    OutputCase{"SameNameEveryRow", false, "a.png", "s.pdf", FormFault::OutputRule, OutputRule::SameNameEveryRow, ""},
                    OutputCase{"FolderFine", false, "{row}.png", "s.pdf", FormFault::None, OutputRule::None, ""},
                    OutputCase{"CaptionUnknownColumn", true, "{x}", "s.pdf", FormFault::UnknownColumn, OutputRule::None, "x"},
                    OutputCase{"CaptionBroken", true, "{", "s.pdf", FormFault::OutputRule, OutputRule::CaptionBroken, ""},
                    OutputCase{"SheetNotPdf", true, "{row}", "s.png", FormFault::OutputRule, OutputRule::SheetNotPdf, ""},
                    OutputCase{"SheetFine", true, "{row}", "s.pdf", FormFault::None, OutputRule::None, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The text column and a column only the file names use, on the DM page.
TEST_F(BatchFormTest, DataMatrixFeedsTheTextColumnAndTheChosenScheme) {
  BatchPage page = DmPage();
  page.dmScheme = DmEncodation::C40;
  BatchForm form = Loaded("serials.tsv", "text\tsku\nSN\tA\n", page);
  EXPECT_EQ(Roles(form.Check()), (std::vector{Role::Text, Role::Nothing}));
  form.output.nameTemplate = "{sku}.bmp";
  EXPECT_EQ(Roles(form.Check()), (std::vector{Role::Text, Role::NameOnly}));
  EXPECT_FALSE(form.Check().start);
  EXPECT_EQ(form.Settings().dmScheme, DmEncodation::C40);  // the page's, until another is chosen
  form.dmScheme = DmEncodation::Smallest;
  EXPECT_EQ(form.Settings().dmScheme, DmEncodation::Smallest);
}

TEST_F(BatchFormTest, AssemblesTheSettingsOfEitherOutput) {
  BatchPage page;
  page.contentPage = {3, 8};
  page.level = QrLevel::H;
  page.version = 7;
  const BatchJob composed = Loaded("t.csv", "TEXT\nhello\n", page).Job();
  EXPECT_EQ(std::tuple(composed.contentPage.format, composed.contentPage.tab, composed.level, composed.version),
            std::tuple(3, 8, QrLevel::H, 7));

  BatchForm form = Loaded("cards.csv", "姓名,手机,工号\nA,1,A1\n");
  form.output.folder = Out();
  form.output.nameTemplate = "{row}.bmp";
  form.output.verify = false;
  BatchJob job = form.Job();
  EXPECT_EQ(std::tuple(job.outputDir, job.nameTemplate, job.verify, job.labels.has_value()),
            std::tuple(Out(), std::string("{row}.bmp"), false, false));
  EXPECT_EQ(job.inputPath, dir.File("cards.csv"));
  EXPECT_EQ(job.encoding, std::nullopt);

  form.output.to = BatchOutput::Sheet;
  form.output.sheetFile = dir.File("labels.pdf");
  form.output.paper = 1;  // A5
  form.output.gridColumns = 2;
  form.output.gridRows = 3;
  form.output.moduleMm = 0.6;
  form.output.caption = "{姓名} {工号}";
  form.output.verify = true;
  job = form.Job();
  ASSERT_TRUE(job.labels);
  EXPECT_EQ(std::string(job.labels->sheet.paper.name), "A5");
  EXPECT_EQ(std::tuple(job.labels->sheet.columns, job.labels->sheet.rows), std::tuple(2, 3));
  EXPECT_EQ(std::tuple(job.labels->sheet.symbol.dpi, job.labels->sheet.symbol.scale), std::tuple(300, 7));
  EXPECT_NEAR(form.output.ActualModuleMm(), 0.59, 0.005);
  EXPECT_EQ(job.labels->captionTemplate, "{姓名} {工号}");
  EXPECT_EQ(job.labels->path, dir.File("labels.pdf"));
  EXPECT_TRUE(job.verify);
  EXPECT_EQ(job.outputDir, "");
  EXPECT_EQ(Roles(form.Check()), (std::vector{Role::Field, Role::Field, Role::NameOnly}));
  EXPECT_FALSE(form.Check().start);

  // The sheet draws the page's style, which the dialog's header announces.
  page.image.style = WithPreset({}, StylePreset::Brand, Symbology::QrCode);
  BatchForm styled = Loaded("t.csv", "TEXT\nhello\n", page);
  styled.output.to = BatchOutput::Sheet;
  EXPECT_EQ(PresetOf(styled.Job().labels->sheet.symbol.style, Symbology::QrCode), StylePreset::Brand);
  EXPECT_TRUE(BatchOutputForm{}.verify);  // unless unchecked
}

// The label-sheet defaults (A4, 3 x 8, 0.5 mm) and a long business card: the
// form says so before the run, with the sizes and what would fit.
TEST_F(BatchFormTest, LabelsTooLargeForTheirCellKeepItFromStarting) {
  BatchForm form = Loaded("cards.csv", "姓名,地址\nA," + std::string(300, 'a') + "\nB,b\n");
  EXPECT_FALSE(form.Check().start);  // files are not labels
  form.output.to = BatchOutput::Sheet;
  const BatchFormCheck check = form.Check();
  EXPECT_EQ(check.output.fault, FormFault::LabelTooLarge);
  EXPECT_EQ(check.start.fault, FormFault::LabelTooLarge);
  // Version 13 (69 modules) and a quiet zone of 2 on each side at 6 pixels
  // (0.508 mm) at 300 dpi, an 8-point caption; A4 less 10 mm margins in 3 x 8 cells.
  const LabelAdvice& advice = check.output.problem.label;
  EXPECT_EQ(advice.modules, 69);
  EXPECT_NEAR(advice.fit.widthMm, 37.1, 0.05);
  EXPECT_NEAR(advice.fit.heightMm, 40.8, 0.05);
  EXPECT_NEAR(advice.fit.cellWidthMm, 63.3, 0.05);
  EXPECT_NEAR(advice.fit.cellHeightMm, 34.6, 0.05);
  EXPECT_EQ(std::tuple(advice.mostColumns, advice.mostRows, advice.mostModules), std::tuple(3, 6, 56));
  EXPECT_NEAR(advice.largestModuleMm, 0.42, 0.005);
  form.output.gridRows = 6;
  EXPECT_FALSE(form.Check().start);
  EXPECT_FALSE(form.Check().output);
}

TEST_F(BatchFormTest, ARunsFiguresComeFromItsCountsAndTheClock) {
  std::string csv = "TEXT\n";
  for (int row = 1; row <= 40; ++row) csv += "r\n";
  BatchForm form = Loaded("t.csv", csv);
  form.RunStarted(100.0);
  const BatchRunFigures starting = form.RunFigures({}, 100.0);
  EXPECT_EQ(std::tuple(starting.total, starting.barMaximum, starting.barValue, starting.done), std::tuple(40, 40, 0, 0));
  EXPECT_EQ(starting.told, RunTold::Unchanged);  // still starting
  // The table's count until the runner has its own.
  const BatchRunFigures early = form.RunFigures({.done = 10}, 102.0);
  EXPECT_EQ(std::tuple(early.total, early.barValue, early.rowsPerSecond, early.secondsLeft), std::tuple(40, 10, 5, 6));
  EXPECT_EQ(early.told, RunTold::Counts);
  const BatchRunFigures counted = form.RunFigures({.done = 1000, .total = 20000}, 104.0);
  EXPECT_EQ(std::tuple(counted.total, counted.barMaximum, counted.rowsPerSecond, counted.secondsLeft),
            std::tuple(20000, 20000, 250, 76));
  const BatchRunFigures past = form.RunFigures({.done = 50, .total = 40}, 110.0);
  EXPECT_EQ(past.barValue, 40);
  EXPECT_EQ(past.secondsLeft, 0);

  BatchForm none(QrPage);
  none.RunStarted(0);
  EXPECT_EQ(none.RunFigures({.done = 3}, 1.0).barMaximum, 1);
  EXPECT_EQ(none.RunFigures({.done = 3}, 1.0).total, 0);
  EXPECT_EQ(none.RunFigures({.done = 3}, 1.0).told, RunTold::CountsSoFar);
}

// Cancelling keeps saying so, while the bar still moves, until the next run.
TEST_F(BatchFormTest, ARunBeingCancelledSaysSoUntilTheNext) {
  BatchForm form = Loaded("t.csv", "TEXT\nr\nr\nr\nr\n");
  form.RunStarted(0);
  form.RunCancelling();
  const BatchRunFigures stopping = form.RunFigures({.done = 2, .total = 4}, 1.0);
  EXPECT_EQ(stopping.told, RunTold::Unchanged);
  EXPECT_EQ(stopping.barValue, 2);
  form.RunStarted(5);
  EXPECT_EQ(form.RunFigures({.done = 1, .total = 4}, 6.0).told, RunTold::Counts);
}

// The encoding list has nothing to read again before a spreadsheet is chosen.
TEST_F(BatchFormTest, ChoosingAnEncodingWithoutASpreadsheetReadsNothing) {
  BatchForm form(QrPage);
  EXPECT_FALSE(form.ChooseEncoding(TextEncoding::Utf8));
  EXPECT_EQ(form.ChosenEncoding(), std::nullopt);
  EXPECT_FALSE(form.Table());
  EXPECT_EQ(BatchForm::EncodingChoices[0], std::nullopt);  // the list opens on detection
}

// "打开文件夹" is offered only for a folder that is there.
TEST_F(BatchFormTest, TheOutputFolderIsThereOnlyOnceMade) {
  BatchForm form = Loaded("t.csv", "TEXT\nr\n");
  EXPECT_FALSE(form.OutputFolderExists());
  WriteBytes(Out(), "x");  // a file of that name is no folder
  EXPECT_FALSE(form.OutputFolderExists());
  std::filesystem::remove(Out());
  std::filesystem::create_directories(Out());
  EXPECT_TRUE(form.OutputFolderExists());
  form.output.to = BatchOutput::Sheet;
  form.output.sheetFile = dir.File("gone/labels.pdf");
  EXPECT_FALSE(form.OutputFolderExists());
  form.output.sheetFile = dir.File("labels.pdf");
  EXPECT_TRUE(form.OutputFolderExists());
}

}  // namespace
