// The command-line parser with fuzzed words (split at NUL bytes): it must
// either give options within their ranges or a message, never both.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliArgs.h"
#include "content/Catalogue.h"
#include "datamatrix/DmEncoder.h"
#include "qr/QrStandard.h"
#include "tests/support/Require.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) words.emplace_back();
    else words.back() += static_cast<char>(data[i]);
  }
  const CliParseResult result = ParseCliArgs(words);
  Require(result.options.has_value() == result.error.empty());
  if (!result.options) return 0;
  const CliOptions& o = *result.options;
  Require(o.image.scale >= MinScale && o.image.scale <= MaxImageSide);
  Require(o.image.quietZone >= 0 && o.image.quietZone <= MaxQuietZoneModules);
  Require(o.image.dpi >= MinDpi && o.image.dpi <= MaxDpi);
  Require(o.symbol.version >= 0 && o.symbol.version <= qr::MaxVersion);
  Require(o.symbol.dmSize >= DmSmallestRectangle && o.symbol.dmSize < DmSizeCount);
  Require(std::ranges::count(DmSchemeNames, o.symbol.dmScheme, &DmSchemeName::scheme) == 1);
  Require(o.contentPage.format >= 1 && o.contentPage.format <= OperatorFormatCount);
  Require(QrLevelPosition(o.symbol.level) < static_cast<int>(QrLevels.size()));
  if (o.command == CliCommand::Values) Require(OptionValues(o.helpTopic, o.valuesOf).has_value());
  if (o.command != CliCommand::Qr && o.command != CliCommand::Dm) return 0;
  Require(FindTab(o.contentPage.format, o.contentPage.tab) != nullptr);
  Require(o.dump || o.outputFile);
  // A file named for output always has a format to be written in; in a batch
  // -o names the folder, whose name needs none.
  if (o.outputFile && *o.outputFile != StandardStream && !o.batch) Require(FindFormatForFile(*o.outputFile) != nullptr);
  return 0;
}
