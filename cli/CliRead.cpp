#include "cli/CliRead.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "batch/ColumnPlan.h"
#include "batch/Manifest.h"
#include "cli/CliArgs.h"
#include "cli/CliOptionTable.h"
#include "cli/CliRun.h"
#include "cli/OptionValues.h"
#include "cli/Translate.h"
#include "cli/Words.h"
#include "content/CodePage.h"
#include "content/Recognition.h"
#include "verify/ReadSymbols.h"

namespace quillet {

namespace {

// No image within the pixel budget is a larger file; standard input beyond it is not read.
constexpr size_t MaxImageBytes = 256 << 20;

// --expect is the only option of read that takes a value.
std::string ExpectTakes(const CliOptionRow& row) {
  return Fill(_("--expect takes a number of symbols, 0 to {1}"), {std::to_string(row.high)});
}

// One option of the table's read rows, with its value; false with `error` set when it cannot be taken.
bool TakeOption(CliParseState& state, std::span<const std::string> args, size_t& i, std::string* error) {
  const std::string& word = args[i];
  const CliOptionRow* row = FindCliOption(CliCommand::Read, word);
  if (!row) {
    *error = Fill(_("unknown option '{1}'"), {word});
    return false;
  }
  std::string value;
  if (!row->value.empty() && i + 1 < args.size()) value = args[++i];
  else if (!row->value.empty()) return *error = ExpectTakes(*row), false;
  if (!row->apply(state, *row, value)) return true;
  return *error = ExpectTakes(*row), false;
}

std::optional<CliReadOptions> ParseRead(std::span<const std::string> args, bool* help, std::string* error) {
  CliParseState state;
  state.options.command = CliCommand::Read;
  bool optionsEnd = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (!optionsEnd && word == "--") optionsEnd = true;
    else if (!optionsEnd && word.size() > 1 && word[0] == '-') {
      if (!TakeOption(state, args, i, error)) return std::nullopt;
    } else state.options.read.files.push_back(word);
  }
  CliReadOptions& options = state.options.read;
  *help = state.options.helpTopic == CliCommand::Read;
  if (options.raw && options.csv) *error = _("--raw and --csv exclude each other");
  else if (options.files.empty() && !*help) *error = _("give the image files to read ('-' for standard input)");
  if (!error->empty()) return std::nullopt;
  return options;
}

SymbolsInImage ReadImage(const std::string& file, std::istream& in) {
  if (file != StandardStream) return ReadSymbolsInFile(file);
  std::string bytes(MaxImageBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return {{ImageReadFailure::CannotOpen, {}, EIO}, {}};
  if (bytes.size() > MaxImageBytes) return {{ImageReadFailure::TooLarge, {}, 0}, {}};
  return ReadSymbolsInBytes(bytes);
}

// A field's value as the command line takes it: a line break as "\n"
// (what --field expands back).
std::string FieldText(const std::string& utf8) {
  std::string text;
  for (size_t i = 0; i < utf8.size(); ++i)
    if (utf8.compare(i, 2, "\r\n") == 0) text += "\\n", ++i;
    else text += utf8[i];
  return text;
}

// What one symbol was read as, with its name for the messages.
struct Reading {
  std::string name;
  std::string file;  // the CSV's file column: the name without its folder and extension
  FoundSymbol symbol;
  std::optional<Recognised> content;  // QR Code in text: its page and fields
  std::optional<std::string> text;    // Data Matrix, as text
};

Reading Interpret(const std::string& name, const std::string& file, FoundSymbol symbol, std::ostream& err) {
  const std::string stem = file == StandardStream ? file : std::filesystem::path(file).stem().string();
  Reading reading{name, stem, std::move(symbol), {}, {}};
  const std::string& bytes = reading.symbol.bytes;
  if (reading.symbol.symbology == Symbology::DataMatrix) {
    reading.text = IsValidUtf8(bytes) ? std::optional(bytes) : CodePageToUtf8(bytes);
    return reading;
  }
  Recognised found = RecognisePayload(bytes);
  if (!found.Exact()) {
    if (found.kind != PayloadKind::Text)
      err << "quillet-cli: " << name << ": " << DescribeUnheld(found.unheld) << _("; given whole as text") << '\n';
    found = RecogniseAsText(bytes);
  }
  if (found.Exact()) reading.content = found;
  return reading;
}

// What a content belongs to, as the options that write it again: "--operator 1 --type 0 (名片)".
std::string ContentKind(const Reading& r) {
  if (!r.content) return "Data Matrix text";
  const FormatTab page = r.content->page;
  return "--operator " + std::to_string(page.format) + " --type " + std::to_string(page.tab) + " (" +
         std::string(BareTabCaption(*FindTab(page.format, page.tab))) + ")";
}

// The block's first line, on standard output with the TAG=value lines: the
// same words under every locale, for the scripts that read them.
std::string Header(const Reading& r) {
  std::string line = r.name + ": " + (r.symbol.symbology == Symbology::QrCode ? "QR Code" : "Data Matrix");
  if (r.symbol.level) line += std::string(" level ") + QrLevelLetter(*r.symbol.level);
  if (r.content) line += ", " + ContentKind(r);
  else if (!r.text)
    line += ", " + std::to_string(r.symbol.bytes.size()) + " bytes that are no text (--raw writes them)";
  return line + '\n';
}

void WriteFields(const Reading& r, std::ostream& out) {
  std::string block = Header(r);
  if (r.content)
    for (int slot = 0; slot < FieldSlotCount; ++slot)
      if (!r.content->values[slot].empty())
        block += std::string(FieldTags[slot]) + "=" + FieldText(r.content->values[slot]) + '\n';
  if (r.text) block += "text=" + *r.text + '\n';
  out << block << '\n';
}

// The readings the CSV holds: those with text, of the first one's content
// type, as one batch writes them again; the others named on `err`.
std::vector<const Reading*> CsvRows(const std::vector<Reading>& readings, std::ostream& err) {
  std::vector<const Reading*> rows;
  for (const Reading& r : readings) {
    if (!r.content && !r.text)
      err << "quillet-cli: " << r.name << ": " << _("the symbol holds no text, left out of the CSV") << '\n';
    else if (!rows.empty() && ContentKind(r) != ContentKind(*rows.front()))
      err << "quillet-cli: " << r.name << ": "
          << Fill(_("{1} is not the CSV's content type {2}, left out of the CSV"),
                  {ContentKind(r), ContentKind(*rows.front())})
          << '\n';
    else rows.push_back(&r);
  }
  return rows;
}

// One row per symbol under a header of the tags used, which --batch reads
// as it stands; a Data Matrix's text goes in a column "text", and the image
// each came from in the column "file", which batch takes for names.
void WriteCsv(const std::vector<Reading>& readings, std::ostream& out, std::ostream& err) {
  const std::vector<const Reading*> rows = CsvRows(readings, err);
  std::vector<bool> used(FieldSlotCount);
  const bool text = !rows.empty() && rows.front()->text;
  for (const Reading* r : rows)
    if (r->content)
      for (int slot = 0; slot < FieldSlotCount; ++slot) used[slot] = used[slot] || !r->content->values[slot].empty();
  std::string csv(SourceFileColumn);
  for (int slot = 0; slot < FieldSlotCount; ++slot)
    if (used[slot]) csv += "," + std::string(FieldTags[slot]);
  if (text) csv += "," + std::string(TextColumn);
  csv += '\n';
  for (const Reading* r : rows) {
    csv += CsvField(r->file);
    for (int slot = 0; slot < FieldSlotCount; ++slot)
      if (used[slot]) csv += "," + CsvField(r->content->values[slot]);
    if (text) csv += "," + CsvField(*r->text);
    csv += '\n';
  }
  out << csv;
}

}  // namespace

namespace {

// A file to read; one found in a folder that is no image is passed over.
struct ImageSource {
  std::string path;
  bool inFolder = false;
};

// The files named, a folder standing for the files in it (in name order,
// hidden ones left out, not its subfolders).
std::vector<ImageSource> ImageSources(const std::vector<std::string>& words) {
  namespace fs = std::filesystem;
  std::vector<ImageSource> sources;
  for (const std::string& word : words) {
    std::error_code error;
    if (word == StandardStream || !fs::is_directory(word, error)) {
      sources.push_back({word, false});
      continue;
    }
    std::vector<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(word, error))
      if (!entry.path().filename().string().starts_with('.') && entry.is_regular_file(error))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    for (std::string& file : files) sources.push_back({std::move(file), true});
  }
  return sources;
}

// Says on `err` how many symbols the file gave, or why too few; false when
// fewer than `expect`.
bool Report(const std::string& name, const SymbolsInImage& found, bool inFolder, int expect, std::ostream& err) {
  const auto count = static_cast<int>(found.symbols.size());
  err << "quillet-cli: " << name << ": ";
  if (!found.ImageRead() && inFolder && found.problem.failure == ImageReadFailure::NotAnImage)
    return err << _("not an image, passed over") << '\n', true;
  if (!found.ImageRead()) err << DescribeImageReadProblem(found.problem);
  else if (count == 0 && expect > 0) err << _("no symbol found");
  else if (count < expect)
    err << Fill(P_("{1} symbol found, {2} expected", "{1} symbols found, {2} expected", static_cast<unsigned long>(count)),
                {std::to_string(count), std::to_string(expect)});
  else err << Fill(P_("{1} symbol found", "{1} symbols found", static_cast<unsigned long>(count)), {std::to_string(count)});
  err << '\n';
  return found.ImageRead() && count >= expect;
}

}  // namespace

int RunReadCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string error;
  bool help = false;
  const auto options = ParseRead(args, &help, &error);
  if (!options) {
    err << "quillet-cli: " << error << "\n" << CliShortUsage(CliCommand::Read);
    return ExitUsage;
  }
  if (help) {
    out << CliUsage(CliCommand::Read);
    return ExitOk;
  }
  int status = ExitOk;
  std::vector<Reading> readings;
  for (const auto& [file, inFolder] : ImageSources(options->files)) {
    // The name heads the block on standard output too: untranslated.
    const std::string name = file == StandardStream ? "standard input" : file;
    SymbolsInImage found = ReadImage(file, in);
    if (!Report(name, found, inFolder, options->expect, err)) status = ExitNoSymbol;
    for (FoundSymbol& symbol : found.symbols) {
      if (options->Output() == ReadOutput::Raw) out.write(symbol.bytes.data(), static_cast<std::streamsize>(symbol.bytes.size()));
      else readings.push_back(Interpret(name, file, std::move(symbol), err));
      if (options->Output() == ReadOutput::Fields) WriteFields(readings.back(), out);
    }
  }
  if (options->Output() == ReadOutput::Csv) WriteCsv(readings, out, err);
  out.flush();
  return status;
}

}  // namespace quillet
