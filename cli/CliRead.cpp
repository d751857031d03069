#include "cli/CliRead.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "batch/Manifest.h"
#include "cli/CliArgs.h"
#include "cli/CliRun.h"
#include "cli/Translate.h"
#include "cli/Words.h"
#include "content/CodePage.h"
#include "content/Recognition.h"
#include "verify/ReadSymbols.h"

namespace quillet {

namespace {

// No image within the pixel budget is a larger file; standard input beyond it is not read.
constexpr size_t MaxImageBytes = 256 << 20;

enum class ReadOutput { Fields, Raw, Csv };

struct ReadOptions {
  ReadOutput output = ReadOutput::Fields;
  std::vector<std::string> files;
  bool help = false;
};

std::optional<ReadOptions> ParseRead(std::span<const std::string> args, std::string* error) {
  ReadOptions options;
  bool optionsEnd = false;
  for (const std::string& word : args) {
    if (!optionsEnd && word == "--") optionsEnd = true;
    else if (!optionsEnd && (word == "--help" || word == "-h")) options.help = true;
    else if (!optionsEnd && (word == "--raw" || word == "--csv")) {
      const ReadOutput output = word == "--raw" ? ReadOutput::Raw : ReadOutput::Csv;
      if (options.output != ReadOutput::Fields && options.output != output) *error = _("--raw and --csv exclude each other");
      options.output = output;
    } else if (!optionsEnd && word.size() > 1 && word[0] == '-') *error = Fill(_("unknown option '{1}'"), {word});
    else options.files.push_back(word);
    if (!error->empty()) return std::nullopt;
  }
  if (options.files.empty() && !options.help) {
    *error = _("give the image files to read ('-' for standard input)");
    return std::nullopt;
  }
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
  FoundSymbol symbol;
  std::optional<Recognised> content;  // QR Code in text: its page and fields
  std::optional<std::string> text;    // Data Matrix, as text
};

Reading Interpret(const std::string& name, FoundSymbol symbol, std::ostream& err) {
  Reading reading{name, std::move(symbol), {}, {}};
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

// The block's first line, on standard output with the TAG=value lines: the
// same words under every locale, for the scripts that read them.
std::string Header(const Reading& r) {
  std::string line = r.name + ": " + (r.symbol.symbology == Symbology::QrCode ? "QR Code" : "Data Matrix");
  if (r.symbol.level) line += std::string(" level ") + QrLevelLetter(*r.symbol.level);
  if (r.content)
    line += ", --operator " + std::to_string(r.content->page.format) + " --type " + std::to_string(r.content->page.tab) +
            " (" + std::string(BareTabCaption(*FindTab(r.content->page.format, r.content->page.tab))) + ")";
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

// One row per symbol under a header of the tags used, which --batch reads
// as it stands; a Data Matrix's text goes in a column "text".
void WriteCsv(const std::vector<Reading>& readings, std::ostream& out, std::ostream& err) {
  std::vector<bool> used(FieldSlotCount);
  bool text = false;
  for (const Reading& r : readings) {
    text = text || r.text;
    if (r.content)
      for (int slot = 0; slot < FieldSlotCount; ++slot) used[slot] = used[slot] || !r.content->values[slot].empty();
  }
  std::vector<std::string> header;
  for (int slot = 0; slot < FieldSlotCount; ++slot)
    if (used[slot]) header.emplace_back(FieldTags[slot]);
  if (text) header.emplace_back("text");
  std::string csv;
  for (size_t i = 0; i < header.size(); ++i) csv += (i ? "," : "") + header[i];
  csv += '\n';
  for (const Reading& r : readings) {
    if (!r.content && !r.text) {
      err << "quillet-cli: " << r.name << ": " << _("the symbol holds no text, left out of the CSV") << '\n';
      continue;
    }
    std::string row;
    for (int slot = 0; slot < FieldSlotCount; ++slot)
      if (used[slot])
        row += CsvField(r.content ? r.content->values[slot] : "") + ",";
    if (text) row += CsvField(r.text.value_or("")) + ",";
    row.back() = '\n';
    csv += row;
  }
  out << csv;
}

}  // namespace

std::string ReadUsage() {
  return _(R"(Usage: quillet-cli read [--raw | --csv] FILE...

Reads every QR Code and Data Matrix symbol in PNG, JPEG, GIF or BMP images
(photos and scans as well), '-' for standard input. For each symbol: the file,
the symbology and level, the --operator and --type its content belongs to, and
TAG=value lines in the tags of --field ("\n" a line break).

    --raw              the decoded bytes as they are, one symbol after another
    --csv              one row per symbol under a header of the tags used, as
                       qr --batch reads it
Exit status: 0 every file gave a symbol, 1 bad usage, 6 some file gave none
(each named on standard error with why).
)");
}

int RunReadCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto options = ParseRead(args, &error);
  if (!options) {
    err << "quillet-cli: " << error << "\n" << _("Usage: quillet-cli read [--raw | --csv] FILE...") << "\n"
        << Fill(_("Try 'quillet-cli {1}--help'"), {"read "}) << "\n";
    return ExitUsage;
  }
  if (options->help) {
    out << ReadUsage();
    return ExitOk;
  }
  int status = ExitOk;
  std::vector<Reading> readings;
  for (const std::string& file : options->files) {
    // The name heads the block on standard output too: untranslated.
    const std::string name = file == StandardStream ? "standard input" : file;
    SymbolsInImage found = ReadImage(file, in);
    if (!found.ImageRead() || found.symbols.empty()) {
      err << "quillet-cli: " << name << ": "
          << (found.ImageRead() ? _("no symbol found") : DescribeImageReadProblem(found.problem)) << '\n';
      status = ExitNoSymbol;
    }
    for (FoundSymbol& symbol : found.symbols) {
      if (options->output == ReadOutput::Raw) out.write(symbol.bytes.data(), static_cast<std::streamsize>(symbol.bytes.size()));
      else readings.push_back(Interpret(name, std::move(symbol), err));
      if (options->output == ReadOutput::Fields) WriteFields(readings.back(), out);
    }
  }
  if (options->output == ReadOutput::Csv) WriteCsv(readings, out, err);
  out.flush();
  return status;
}

}  // namespace quillet
