#include "cli/CliRun.h"

#include <QFile>

#include <fstream>
#include <iterator>
#include <memory>

#include "cli/CliArgs.h"
#include "content/CodePage.h"
#include "content/Payload.h"
#include "datamatrix/DmEncoder.h"
#include "image/ImageWriters.h"
#include "qr/QrCodeEncoder.h"

namespace {

// Neither symbol holds more than 7089 bytes, so reading beyond this only
// costs memory: a larger file is reported as too long without reading it all.
constexpr std::streamsize MaxInputBytes = 1 << 20;

constexpr char LevelLetters[] = {'M', 'L', 'H', 'Q'};  // by level index

struct Failure {
  int status;
  std::string message;
};

struct Input {
  std::string bytes;
  std::optional<Failure> failure;
};

Input Fail(int status, std::string message) { return {{}, Failure{status, std::move(message)}}; }

Input ReadDataFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(ExitUsage, "cannot read '" + path + "'");
  std::string bytes(static_cast<size_t>(MaxInputBytes) + 1, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (file.bad()) return Fail(ExitUsage, "cannot read '" + path + "'");
  bytes.resize(static_cast<size_t>(file.gcount()));
  if (bytes.size() > static_cast<size_t>(MaxInputBytes))
    return Fail(ExitDoesNotFit, "'" + path + "' is larger than any symbol holds");
  return {std::move(bytes), std::nullopt};
}

Input ConvertText(const std::string& utf8) {
  std::string error;
  auto bytes = Utf8ToCodePage(utf8, &error);
  if (!bytes) return Fail(ExitUsage, "--text: " + error);
  return {std::move(*bytes), std::nullopt};
}

std::string TagsOfPage(const PageSpec& page) {
  std::string tags;
  for (const FieldSpec& field : page.fields) tags += (tags.empty() ? "" : ", ") + std::string(FieldTags[field.slot]);
  return tags;
}

bool PageShowsSlot(const PageSpec& page, int slot) {
  for (const FieldSpec& field : page.fields)
    if (field.slot == slot) return true;
  return false;
}

Input ComposeContent(const CliOptions& options) {
  const PageSpec* page = PageForTab(options.operatorFormat, options.tab);
  if (!page) return Fail(ExitUsage, "--type " + std::to_string(options.tab) + " is not a tab of operator format " +
                                        std::to_string(options.operatorFormat));
  FieldValueArray values;
  for (const auto& [tag, value] : options.fields) {
    const int slot = FieldSlotOfTag(tag);
    if (slot < 0 || !PageShowsSlot(*page, slot))
      return Fail(ExitUsage, "field '" + tag + "' is not on page " + std::string(page->className) +
                                 "; its fields are " + TagsOfPage(*page));
    std::string error;
    auto bytes = Utf8ToCodePage(ExpandLineBreaks(value), &error);
    if (!bytes) return Fail(ExitUsage, "--field " + tag + ": " + error);
    values[slot] = std::move(*bytes);
  }
  const std::string payload = ComposeFieldPayload(values, options.operatorFormat, options.tab);
  if (payload.empty()) return Fail(ExitUsage, "every field is empty: there is nothing to encode");
  return {EncoderInput(payload), std::nullopt};
}

Input GatherInput(const CliOptions& options) {
  if (options.dataFile) return ReadDataFile(*options.dataFile);
  if (options.text) return ConvertText(*options.text);
  return ComposeContent(options);
}

void DumpRows(const ModuleMatrix& matrix, std::ostream& out) {
  std::string row;
  for (int y = 0; y < matrix.Rows(); ++y) {
    row.clear();
    for (int x = 0; x < matrix.Columns(); ++x) row += matrix.IsDark(x, y) ? '1' : '0';
    out << row << '\n';
  }
}

std::optional<Failure> WriteImage(const ModuleMatrix& matrix, const CliOptions& options) {
  const QString path = QFile::decodeName(QByteArray::fromStdString(*options.outputFile));
  const SaveResult result = SaveSymbolFile(matrix, options.scale, path);
  if (result.ok) return std::nullopt;
  return Failure{ExitWriteFailed, "cannot write '" + *options.outputFile + "': " + result.error.toStdString()};
}

std::optional<Failure> CheckOutputName(const CliOptions& options) {
  if (!options.outputFile) return std::nullopt;
  const QString path = QFile::decodeName(QByteArray::fromStdString(*options.outputFile));
  if (FindEncoderForFile(path)) return std::nullopt;
  return Failure{ExitUsage, "cannot tell the image format of '" + *options.outputFile +
                                "': use the extension .bmp, .jpg, .gif, .png or .svg"};
}

std::optional<Failure> EmitSymbol(const ModuleMatrix& matrix, const std::string& header, const CliOptions& options,
                                  std::ostream& out) {
  if (options.dump) {
    out << header << '\n';
    DumpRows(matrix, out);
  }
  return options.outputFile ? WriteImage(matrix, options) : std::nullopt;
}

std::optional<Failure> RunQr(const CliOptions& options, const std::string& data, std::ostream& out) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->SetErrorCorrectionLevel(std::string(1, options.level));
  encoder->Version = options.version;
  if (encoder->EncodeData(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int32_t>(data.size())) != 0)
    return Failure{ExitDoesNotFit, "the data (" + std::to_string(data.size()) + " bytes) fits no QR Code version at level " +
                                       std::string(1, options.level)};
  const std::string header = "version " + std::to_string(encoder->Version) + " level " +
                             LevelLetters[encoder->EcLevel] + " mask " + std::to_string(encoder->MaskReference);
  return EmitSymbol(ModuleMatrix::FromQr(*encoder), header, options, out);
}

std::optional<Failure> RunDm(const CliOptions& options, const std::string& data, std::ostream& out) {
  DmEncodeParams params;
  params.scheme = options.dmScheme;
  int size = options.dmSize;
  const auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(data.data()), static_cast<int>(data.size()), params, size);
  if (!grid)
    return Failure{ExitDoesNotFit, "the text (" + std::to_string(data.size()) +
                                       " bytes) cannot be encoded in this scheme or fits no size allowed by --size"};
  std::string header = "rows " + std::to_string(params.symbolRows) + " columns " + std::to_string(params.symbolColumns) +
                       " codewords";
  for (const uint8_t codeword : params.buffers->codewords) header.append(" ").append(std::to_string(codeword));
  return EmitSymbol(ModuleMatrix::FromDm(*grid), header, options, out);
}

}  // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  const CliParseResult parsed = ParseCliArgs(args);
  if (!parsed.options) {
    err << "quillet-cli: " << parsed.error << "\n\n" << CliUsage(CliCommand::Help);
    return ExitUsage;
  }
  const CliOptions& options = *parsed.options;
  if (options.command == CliCommand::Help) {
    out << CliUsage(options.helpTopic);
    return ExitOk;
  }
  std::optional<Failure> failure = CheckOutputName(options);
  if (!failure) {
    const Input input = GatherInput(options);
    failure = input.failure;
    if (!failure && input.bytes.empty()) failure = Failure{ExitUsage, "the input is empty: there is nothing to encode"};
    if (!failure)
      failure = options.command == CliCommand::Qr ? RunQr(options, input.bytes, out) : RunDm(options, input.bytes, out);
  }
  if (!failure) return ExitOk;
  err << "quillet-cli: " << failure->message << '\n';
  return failure->status;
}
