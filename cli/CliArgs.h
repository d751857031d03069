// Command-line parsing of quillet-cli. Plain C++, no I/O: the parser only
// turns words into options or a message, so it can be fuzzed on its own.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/BatchSettings.h"
#include "batch/NameTemplate.h"
#include "datamatrix/DmEncoder.h"
#include "batch/TextEncoding.h"
#include "image/ImageFormats.h"
#include "image/LabelSheet.h"
#include "image/PhysicalSize.h"
#include "image/SymbolStyle.h"
#include "symbol/SymbolRequest.h"

namespace quillet {

// Options: the option table's options of a command, one a line, for the
// test that holds the manual page to the table; not in the help. Read has
// its own parser (cli/CliRead.cpp), which takes its options from the table too.
enum class CliCommand { Qr, Dm, Help, Version, Values, Options, Read };

// "-" as a data file or output file: standard input or output.
constexpr std::string_view StandardStream = "-";

// qr|dm --batch INPUT: one file per row of a spreadsheet into the -o folder.
struct CliBatchOptions {
  std::string input;  // a CSV or TSV file, or "-"
  std::string nameTemplate{NameTemplate::Default};
  int jobs = 0;       // 0: one per hardware thread
  std::optional<std::string> manifest;
  std::optional<TextEncoding> encoding;
  // --sheet: one PDF label sheet (-o FILE.pdf) instead of a folder of files.
  const PaperSize* sheet = nullptr;
  int columns = 0;
  int rows = 0;
  std::string caption;  // template, like --name; empty: no captions
};

// The largest grid of a label sheet: far more labels than fit any paper.
constexpr int MaxSheetCells = 100;

constexpr int MaxBatchJobs = 256;

// read: how the symbols are written, and how many each file must give.
enum class ReadOutput { Fields, Raw, Csv };
struct CliReadOptions {
  bool raw = false, csv = false;  // refused together
  int expect = 1;
  std::vector<std::string> files;

  ReadOutput Output() const { return raw ? ReadOutput::Raw : csv ? ReadOutput::Csv : ReadOutput::Fields; }
};
// --expect's range: no page holds more symbols than this.
constexpr int MaxExpectedSymbols = 10000;

struct CliOptions {
  CliCommand command = CliCommand::Help;
  CliCommand helpTopic = CliCommand::Help;  // with --help after a command, and for values
  std::string valuesOf;                     // values: the option whose values to list

  // Input: exactly one of text (UTF-8), a data file, or content fields (qr only).
  std::optional<std::string> text;
  // The text's bytes in the symbol: its own UTF-8 (--text), or code page 936
  // (--gbk-text); with --batch, the text column's (--gbk).
  DataCharset textCharset = PhoneFirstCharset;
  std::string textOption;  // the option that gave the text, as typed, for messages
  std::optional<std::string> dataFile;
  bool contentMode = false;
  FormatTab contentPage = PhoneFirstPage;
  std::vector<std::pair<std::string, std::string>> fields;  // tag, UTF-8 value

  // The symbol: qr the level, version and segments, dm the size and scheme.
  SymbolSettings symbol{.segments = QrSegments::Optimal, .dmScheme = DmEncodation::Smallest};
  // --segments as given: refused where it cannot apply.
  std::optional<QrSegments> segments;

  // Set by --batch and by the options that only go with it.
  std::optional<CliBatchOptions> batch;

  // output
  bool dump = false;
  std::optional<std::string> outputFile;
  const ImageFormat* format = nullptr;  // --format; null: png for "-", the extension's for a file
  ImageOptions image;  // --module-mm and --size-mm in image.moduleMm and image.symbolMm
  bool verify = false;             // read the image back and compare the bytes
  CliReadOptions read;

  // Style: the colours and the logo's size are in image.style; the logo file
  // is read when the command runs, and image.style.logo is set from it.
  std::optional<std::string> logoFile;
  ContrastAllowance contrast;
};

// Why the words make no command that can run; cli/Words.cpp words them.
enum class CliProblemKind {
  NoCommand, UnknownCommand, ValuesUsage, NoFixedValues,
  // One option's words.
  ValueMissing, BadValue, BlankCaption, GivenTwice, BatchGivenTwice, FieldNotTagged, NoLogoInDm,
  UnknownOption, ValueJoined, OptionOfOther,
  // The options together.
  TabNotOfFormat, EciWithDataFile, EciNeedsAscii, NoInput, SeveralInputs, GeneralTakesOptimal,
  ContentIsOneSegment, NothingToDo, VerifyNeedsFile, FormatNeedsOutput, StandardOutputTwice,
  UnknownExtension, FormatDisagrees, BatchOnlyWithoutBatch, BatchWithInput, SegmentsWithBatch,
  BatchWithDump, BatchNeedsFolder, SheetOptionsWithoutSheet, SheetNeedsGrid, SheetWithName,
  SheetNeedsPdf, VerifyOfText, SeveralSizes, LogoOptionsWithoutLogo,
  Colours, GradientNeedsBoth, FrameOptionsWithoutFrame,
};

struct CliProblem {
  CliProblemKind kind = CliProblemKind::NoCommand;
  CliCommand command = CliCommand::Help;
  std::string option;  // the option as typed, or the one the problem is about
  std::string word;    // the word given: a value, an unknown option or command, a file
  std::string detail;  // what a value may be; the option a misspelt one likely meant; SeveralSizes: the other size
  int operatorFormat = 0;  // TabNotOfFormat: the format whose tabs --type missed
  int formatWithTab = 0;   // TabNotOfFormat: a format that has the caption, or 0
  StyleCheck colours{};    // Colours
};

struct CliParseResult {
  std::optional<CliOptions> options;
  std::string error;                      // set when options is empty: the problem, worded
  CliCommand topic = CliCommand::Help;    // whose usage to show with the error
  std::optional<CliProblem> problem;      // set when options is empty
};

// `args` are the words after the program name.
CliParseResult ParseCliArgs(std::span<const std::string> args);

// Help text for a command (Help: the overview).
std::string CliUsage(CliCommand topic);
// What a usage error shows under its message: the command's usage lines and
// where to find the rest.
std::string CliShortUsage(CliCommand topic);

// The fixed set of values an option of a command takes (--level: L M Q H),
// for completion; none when it takes a number, a file or free text.
std::optional<std::vector<std::string>> OptionValues(CliCommand command, std::string_view option);

// The options of a command that its help lists, each once, in the table's order.
std::vector<std::string> CliOptionNames(CliCommand command);

// "\n" in a --field value stands for a line break, written as CR LF.
std::string ExpandLineBreaks(std::string_view value);

}  // namespace quillet
