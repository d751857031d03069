#include "cli/CliRun.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

#include "QuilletVersion.h"
#include "cli/CliArgs.h"
#include "cli/CliBatch.h"
#include "cli/CliRead.h"
#include "cli/Translate.h"
#include "content/Catalogue.h"
#include "content/CodePage.h"
#include "cli/Words.h"
#include "content/TextList.h"
#include "image/ImageFormats.h"
#include "image/PhysicalSize.h"
#include "image/StyledSymbol.h"
#include "image/SymbolFrame.h"
#include "symbol/SymbolRequest.h"
#include "verify/LogoFile.h"
#include "verify/ReadBack.h"

namespace quillet {

namespace {

// Neither symbol holds more than 7089 bytes, so reading beyond this only
// costs memory: a larger input is reported as too long without reading it all.
constexpr size_t MaxInputBytes = 1 << 20;

struct Failure {
  int status;
  std::string message;
};

struct Input {
  std::string bytes;
  std::optional<Failure> failure;
};

Input Fail(int status, std::string message) { return {{}, Failure{status, std::move(message)}}; }

Input CheckedSize(std::string bytes, const std::string& name) {
  if (bytes.size() > MaxInputBytes) return Fail(ExitDoesNotFit, Fill(_("{1} is larger than any symbol holds"), {name}));
  return {std::move(bytes), std::nullopt};
}

Input ReadStandardInput(std::istream& in) {
  std::string bytes(MaxInputBytes + 1, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return Fail(ExitUsage, _("cannot read standard input"));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return CheckedSize(std::move(bytes), _("standard input"));
}

Input CannotRead(const std::string& path) {
  return Fail(ExitUsage, Fill(_("cannot read '{1}': {2}"), {path, std::strerror(errno)}));
}

Input ReadDataFile(const std::string& path) {
  const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return CannotRead(path);
  std::string bytes(MaxInputBytes + 1, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  if (std::ferror(file.get())) return CannotRead(path);
  return CheckedSize(std::move(bytes), "'" + path + "'");
}

// --gbk-text promises code page 936, so a character that has only a
// four-byte GB18030 code is refused rather than written as one.
Input GbkText(const std::string& utf8, const std::string& option) {
  TextProblem problem;
  auto bytes = Utf8ToCodePage936(utf8, &problem);
  if (!bytes && problem.failure == TextFailure::NotInCodePage936)
    return Fail(ExitUsage, Fill(_("{1}: {2}; give it with --text (UTF-8)"), {option, DescribeTextProblem(problem)}));
  if (!bytes) return Fail(ExitUsage, option + ": " + DescribeTextProblem(problem));
  return {std::move(*bytes), std::nullopt};
}

// The content page's fields, each named by its tag, caption or a header
// word as batch columns are, and each given once.
std::optional<Failure> GatherFields(const CliOptions& options, ContentFields& content) {
  const auto [format, tab] = options.contentPage;
  const PageSpec* page = PageForTab(format, tab);
  if (!page)
    return Failure{ExitUsage, Fill(_("--type {1} is not a tab of {2}"),
                                   {std::to_string(tab), FindOperatorFormat(format)->caption})};
  content = {options.contentPage, {}};
  std::vector<const std::string*> givenAs(FieldSlotCount, nullptr);
  for (const auto& [name, value] : options.fields) {
    const FieldSpec* field = FieldOfName(*page, name);
    if (!field) return Failure{ExitUsage, DescribeUnknownField(name, options.contentPage)};
    if (givenAs[field->slot])
      return Failure{ExitUsage, DescribeFieldTwice(*givenAs[field->slot], name, options.contentPage, field->slot)};
    givenAs[field->slot] = &name;
    content.values[field->slot] = ExpandLineBreaks(value);
  }
  return std::nullopt;
}

// --text keeps the text's own bytes, once they are known to be UTF-8.
Input Utf8Text(const std::string& utf8, const std::string& option) {
  TextProblem problem;
  if (!Utf8ToCodePage(utf8, &problem)) return Fail(ExitUsage, option + ": " + DescribeTextProblem(problem));
  return {utf8, std::nullopt};
}

Input ReadInput(const CliOptions& options, std::istream& in) {
  if (!options.dataFile)
    return options.textCharset == DataCharset::Utf8 ? Utf8Text(*options.text, options.textOption)
                                                    : GbkText(*options.text, options.textOption);
  return *options.dataFile == StandardStream ? ReadStandardInput(in) : ReadDataFile(*options.dataFile);
}

// The symbol the options ask for: the data or fields, and the settings.
std::optional<Failure> BuildRequest(const CliOptions& options, std::istream& in, SymbolRequest& request) {
  static_cast<SymbolSettings&>(request) = options.symbol;
  if (!options.dataFile && !options.text) return GatherFields(options, request.content.emplace());
  Input input = ReadInput(options, in);
  request.data = std::move(input.bytes);
  request.charset = options.dataFile ? DataCharset::Unnamed : options.textCharset;
  return input.failure;
}

void DumpRows(const ModuleMatrix& matrix, std::string& out) {
  for (int y = 0; y < matrix.Rows(); ++y) {
    for (int x = 0; x < matrix.Columns(); ++x) out += matrix.IsDark(x, y) ? '1' : '0';
    out += '\n';
  }
}

std::optional<Failure> NotReadBack(const ReadBackResult& result, const ImageFormat& format, const CliOptions& options,
                                   const std::string& what) {
  if (result.Ok()) return std::nullopt;
  return Failure{ExitNotReadBack, DescribeNotReadBack(result, LikelyReadBackRisk(format, options.image), what)};
}

// The format -o writes: the file's extension's, or --format's (png by default) on standard output.
const ImageFormat& OutputFormat(const CliOptions& options) {
  if (*options.outputFile != StandardStream) return *FindFormatForFile(*options.outputFile);
  return options.format ? *options.format : *FindFormatByName("png");
}

// An image too large is the options' fault; anything else the writing's.
int StatusOf(const ImageResult& result) {
  return result.failure == ImageFailure::TooLarge ? ExitUsage : ExitWriteFailed;
}

std::optional<Failure> WriteImage(const Symbol& symbol, const CliOptions& options, std::ostream& out) {
  const ModuleMatrix& matrix = symbol.matrix;
  const std::string& path = *options.outputFile;
  const ImageFormat& format = OutputFormat(options);
  if (path != StandardStream) {
    const ImageResult saved = SaveImageFile(matrix, options.image, path);
    if (!saved.Ok())
      return Failure{StatusOf(saved), Fill(_("cannot write {1}: {2}"), {Quoted(path), DescribeImageFailure(saved)})};
    if (!options.verify) return std::nullopt;
    return NotReadBack(VerifySymbolFile(path, matrix, options.image, symbol.symbology, symbol.data), format, options,
                       "'" + path + "'");
  }
  std::string bytes;
  const ImageResult encoded = EncodeImage(matrix, format, options.image, bytes);
  if (!encoded.Ok()) return Failure{StatusOf(encoded), Fill(_("cannot write the image: {1}"), {DescribeImageFailure(encoded)})};
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush())
    return Failure{ExitWriteFailed, _("cannot write the image to standard output")};
  if (!options.verify) return std::nullopt;
  return NotReadBack(VerifySymbolBytes(bytes, matrix, options.image, symbol.symbology, symbol.data), format, options,
                     _("the image written to standard output"));
}

// A printed size in whole pixels per module, when they miss it enough to say.
void SayPixelScale(const ModuleMatrix& matrix, const CliOptions& options, std::ostream& err) {
  const ImageFormat& format = OutputFormat(options);
  if (format.vector || format.extensions.empty() || !AsksPrintedSize(options.image)) return;
  const std::string notice = DescribeModuleScale(RasterScale(options.image, matrix.Columns(), matrix.Rows()));
  if (!notice.empty()) err << "quillet-cli: " << notice << '\n';
}

// A styled symbol is placed and read back before anything is written; the
// report of both goes under the rows of --dump.
struct Styled {
  std::optional<Failure> failure;
  std::string report;
};

Styled StyleSymbol(const Symbol& symbol, ImageOptions& image, const std::optional<StyledSymbolCheck>& checked) {
  if (image.style.IsPlain() || !checked) return {};
  ApplyStyle(symbol, image.style, image);  // the placement checked, on the options written
  const StyledSymbolCheck& check = *checked;
  if (!check.fit.Ok()) return {Failure{ExitUsage, DescribeLogoFit(check.fit)}, DescribeStyleReport(check.fit, {})};
  Styled styled{std::nullopt, DescribeStyleReport(check.fit, check.readBack)};
  if (!check.readBack.Ok())
    styled.failure = Failure{ExitNotReadBack, DescribeStyledNotReadBack(check.readBack)};
  return styled;
}

std::optional<Failure> EmitSymbol(const Symbol& symbol, const std::string& header, CliOptions options,
                                  const std::optional<StyledSymbolCheck>& check, std::ostream& out,
                                  std::ostream& err) {
  // The scale a printed size takes on this symbol, checked before a style draws it.
  if (options.outputFile || !options.image.style.IsPlain()) {
    if (const ImageResult checked = CheckImage(symbol.matrix, options.image); !checked.Ok())
      return Failure{StatusOf(checked), DescribeImageFailure(checked)};
    options.image = SizedForSymbol(options.image, symbol.matrix);
  }
  const Styled styled = StyleSymbol(symbol, options.image, check);
  if (options.dump) {
    std::string text = header + '\n';
    DumpRows(symbol.matrix, text);
    out << text << styled.report;
  }
  if (styled.failure) return styled.failure;
  if (!options.outputFile) return std::nullopt;
  SayPixelScale(symbol.matrix, options, err);
  return WriteImage(symbol, options, out);
}

int ExitStatusOf(SymbolFailure failure) {
  const bool noSymbolHoldsIt = failure == SymbolFailure::DoesNotFit || failure == SymbolFailure::NotInScheme ||
                               failure == SymbolFailure::OutOfMemory;
  return noSymbolHoldsIt ? ExitDoesNotFit : ExitUsage;
}

// --dump's header line, for scripts: the same words under every locale.
std::string DumpHeader(const Symbol& symbol) {
  if (symbol.symbology == Symbology::QrCode)
    return "version " + std::to_string(symbol.version) + " level " + QrLevelLetter(symbol.level) + " mask " +
           std::to_string(symbol.mask);
  std::string header = "rows " + std::to_string(symbol.matrix.Rows()) + " columns " +
                       std::to_string(symbol.matrix.Columns()) + " codewords";
  for (const uint8_t codeword : symbol.codewords) header.append(" ").append(std::to_string(codeword));
  return header;
}

std::optional<Failure> RunSymbol(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  SymbolRequest request;
  if (auto failure = BuildRequest(options, in, request)) return failure;
  const CheckedSymbol checked = MakeReadableSymbol(request, options.image.style, nullptr, [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, options.image);
  });
  const SymbolResult& result = checked.made;
  if (result.failure == SymbolFailure::FieldNotCarried)
    return Failure{ExitUsage, DescribeFieldProblem(result.field, request.content->page)};
  if (!result.Ok()) {
    const size_t bytes = result.symbol.data.size();
    return Failure{ExitStatusOf(result.failure),
                   DescribeSymbolFailure(result.failure, bytes, request, request.content.has_value())};
  }
  return EmitSymbol(result.symbol, DumpHeader(result.symbol), options, checked.check, out, err);
}

}  // namespace

int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (!args.empty() && args[0] == "read") return RunReadCli(args.subspan(1), in, out, err);
  const CliParseResult parsed = ParseCliArgs(args);
  if (!parsed.options) {
    err << "quillet-cli: " << parsed.error << '\n' << CliShortUsage(parsed.topic);
    return ExitUsage;
  }
  const CliOptions& options = *parsed.options;
  if (options.command == CliCommand::Values) {
    const auto values = OptionValues(options.helpTopic, options.valuesOf);
    for (const std::string& value : *values) out << value << '\n';
    return ExitOk;
  }
  if (options.command == CliCommand::Options) {
    for (const std::string& option : CliOptionNames(options.helpTopic)) out << option << '\n';
    return ExitOk;
  }
  if (options.command == CliCommand::Version) {
    out << "quillet-cli " << QuilletVersion << '\n';
    return ExitOk;
  }
  if (options.command == CliCommand::Help) {
    out << CliUsage(options.helpTopic);
    return ExitOk;
  }
  // A caption the font cannot draw as written is the options' fault, found
  // before the first file of a symbol or a batch.
  if (options.image.style.HasFrame()) {
    const std::string caption = DescribeCaptionDrawing(ShapeCaption(options.image.style.frameText).check);
    if (!caption.empty()) {
      err << "quillet-cli: " << caption << '\n';
      return ExitUsage;
    }
  }
  // The logo is read once, for one symbol or every row of a batch.
  CliOptions styled = options;
  if (options.logoFile) {
    const LogoFileResult logo = LoadLogoFile(*options.logoFile);
    if (!logo.Ok()) {
      err << "quillet-cli: " << DescribeLogoFile(logo) << '\n';
      return ExitUsage;
    }
    styled.image.style.logo = logo.logo;
  }
  if (options.batch) return RunBatchCli(styled, in, out, err);
  const std::optional<Failure> failure = RunSymbol(styled, in, out, err);
  if (!failure) return ExitOk;
  err << "quillet-cli: " << failure->message << '\n';
  return failure->status;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::istringstream nothing;
  return RunCli(args, nothing, out, err);
}

}  // namespace quillet
