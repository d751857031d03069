// MakeSymbol on its own, as every front end reaches it: the size it settles
// on, the ECI at the start of the symbol, the bytes of content fields and
// each failure kind (DoesNotFit with the sizes; OutOfMemory is not provoked).
// Every symbol made is read back by real decoders.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "content/Catalogue.h"
#include "qr/QrCodeEncoder.h"
#include "symbol/SymbolRequest.h"
#include "tests/support/Decode.h"

using namespace quillet;

namespace {

DecodeFormat FormatOf(const Symbol& symbol) {
  return symbol.symbology == Symbology::DataMatrix ? DecodeFormat::DataMatrix : DecodeFormat::QrCode;
}

std::optional<std::string> Decoded(const Symbol& symbol) {
  const ModuleMatrix& m = symbol.matrix;
  return DecodeModules(m.Columns(), m.Rows(), [&](int x, int y) { return m.IsDark(x, y); }, FormatOf(symbol));
}

// zxing-cpp's reading under the ECI protocol. libdmtx would give a Data
// Matrix ECI as a data byte.
std::string EciProtocolBytes(const Symbol& symbol) {
  const ModuleMatrix& m = symbol.matrix;
  return ZxingEciBytes(m.Columns(), m.Rows(), [&](int x, int y) { return m.IsDark(x, y); }, FormatOf(symbol));
}

SymbolRequest Request(Symbology symbology, std::string data) {
  SymbolRequest request;
  request.symbology = symbology;
  request.level = QrLevel::L;
  request.data = std::move(data);
  return request;
}

// A content page's fields with at most one filled in.
ContentFields Fields(int format, int tab, std::string_view tag = {}, std::string value = {}) {
  ContentFields fields{{format, tab}, {}};
  if (!tag.empty()) fields.values.at(FieldSlotOfTag(tag)) = std::move(value);
  return fields;
}

constexpr auto Qr = Symbology::QrCode;
constexpr auto Dm = Symbology::DataMatrix;

// Capacities of the standard's tables: version 1-L holds 17 bytes, 40-L 2953;
// 10x10 holds 3 ASCII codewords, 14x14 8, 16x16 12, 8x18 5, 8x32 10,
// 132x132 1304, 144x144 1558. An ECI takes 12 bits in QR, 2 codewords in DM.
struct SizeCase {
  const char* name;
  Symbology symbology;
  std::string data;
  int size;  // the version, or the Data Matrix size
  bool grow = false, eci = false;
  int columns = 0, rows = 0;  // 0: DoesNotFit
};

const SizeCase Sizes[] = {
    {"QrSmallestHolds17Bytes", Qr, std::string(17, 'a'), 0, false, false, 21, 21},
    {"QrChosenVersionGrows", Qr, std::string(18, 'a'), 1, false, false, 25, 25},
    {"QrChosenVersionStays", Qr, "a", 3, false, false, 29, 29},
    {"QrEciTakesRoom", Qr, std::string(17, 'a'), 0, false, true, 25, 25},
    {"QrLargestWithEci", Qr, std::string(2952, 'a'), 0, false, true, 177, 177},
    {"QrTooLongForEci", Qr, std::string(2953, 'a'), 0, false, true},
    {"QrTooLong", Qr, std::string(2954, 'a'), 0},
    {"DmSmallestSquare", Dm, "ABCDEF", DmSmallestSquare, false, false, 14, 14},
    {"DmEciTakesRoom", Dm, "ABCDEFG", DmSmallestSquare, false, true, 16, 16},
    {"DmGrowsToFit", Dm, "ABCDEF", 0, true, false, 14, 14},
    {"DmGrowsToTheLargest", Dm, std::string(1400, 'A'), 0, true, false, 144, 144},
    {"DmLargerStays", Dm, "A", 3, true, false, 16, 16},
    {"DmFixedSizeDoesNotGrow", Dm, "ABCDEF", 0},
    {"DmSmallestRectangle", Dm, "ABCDEFG", DmSmallestRectangle, false, false, 32, 8},
    {"DmRectangleDoesNotGrow", Dm, "ABCDEFG", DmSquareSizeCount, true},
    {"DmLongerThanAnySize", Dm, std::string(DmMaxTextLength + 1, '1'), DmSmallestSquare, true},
};

class Size : public testing::TestWithParam<SizeCase> {};

TEST_P(Size, SmallestThatHoldsTheDataFromTheOneChosen) {
  const SizeCase& c = GetParam();
  SymbolRequest request = Request(c.symbology, c.data);
  (c.symbology == Qr ? request.version : request.dmSize) = c.size;
  request.dmGrowSize = c.grow;
  request.eci = c.eci;
  const SymbolResult made = MakeSymbol(request);
  EXPECT_EQ(made.failure, c.columns ? SymbolFailure::None : SymbolFailure::DoesNotFit);
  EXPECT_EQ(std::make_pair(made.symbol.matrix.Columns(), made.symbol.matrix.Rows()), std::make_pair(c.columns, c.rows));
  EXPECT_EQ(made.symbol.data, c.data);  // a failure keeps the bytes for its message
  if (!made.Ok()) return;
  // An encoder kept between calls, as the QR page's and batch's, starts each
  // symbol from the version asked for, not from the last one's.
  const auto used = std::make_unique<CQrCodeEncoder>();
  MakeSymbol(Request(Qr, std::string(2000, 'a')), *used);
  EXPECT_EQ(MakeSymbol(request, *used).symbol.matrix.Cells(), made.symbol.matrix.Cells());
  if (c.eci) {
    EXPECT_EQ(EciProtocolBytes(made.symbol), "\\000029" + c.data);
  } else {
    EXPECT_EQ(Decoded(made.symbol), c.data);
  }
}

INSTANTIATE_TEST_SUITE_P(symbol, Size, testing::ValuesIn(Sizes), [](const auto& info) { return info.param.name; });

// Content fields: an operator format's code page 936 tags behind 0x01 0x10,
// the general format's UTF-8 form without prefix. The digits make one
// segment and the optimal split differ.
struct ContentCase {
  const char* name;
  ContentFields fields;
  std::string bytes;
  DataCharset charset;  // the one the ECI names, whatever the request's
  std::string designator;
  bool eciByDefault;  // named when the request leaves the ECI unset
  QrSegments segments;  // as the format writes it
};

const ContentCase Contents[] = {
    // The fields are UTF-8; "客服" is BF CD B7 FE in code page 936.
    {"OperatorCard", Fields(1, 0, "N", "客服 13800138000138001380"),
     "\x01\x10" "CARD:N:\xBF\xCD\xB7\xFE 13800138000138001380;;", DataCharset::CodePage936, "\\000029", false,
     QrSegments::Single},
    {"GeneralText", Fields(GeneralFormat, 8, "TEXT", "你好 13800138000138001380"), "你好 13800138000138001380",
     DataCharset::Utf8, "\\000026", true, QrSegments::Optimal},
};

class Content : public testing::TestWithParam<std::tuple<ContentCase, std::optional<bool>>> {};

TEST_P(Content, EncodesTheFormatsBytesAsItWritesThem) {
  const auto& [c, asked] = GetParam();
  const bool eci = asked.value_or(c.eciByDefault);
  SymbolRequest request = Request(Qr, "ignored");
  // The other set for the data, which content does not name.
  request.charset = c.charset == DataCharset::Utf8 ? DataCharset::CodePage936 : DataCharset::Utf8;
  request.content = c.fields;
  request.eci = asked;
  const SymbolResult made = MakeSymbol(request);
  ASSERT_TRUE(made.Ok());
  EXPECT_EQ(EciProtocolBytes(made.symbol), (eci ? c.designator : "") + c.bytes);
  EXPECT_EQ(Decoded(made.symbol), c.bytes);
  // The same symbol as its bytes given as data in the format's segmentation.
  SymbolRequest plain = Request(Qr, c.bytes);
  plain.charset = c.charset;
  plain.eci = eci;
  plain.segments = c.segments;
  EXPECT_EQ(made.symbol.matrix.Cells(), MakeSymbol(plain).symbol.matrix.Cells());
  plain.segments = c.segments == QrSegments::Single ? QrSegments::Optimal : QrSegments::Single;
  EXPECT_NE(made.symbol.matrix.Cells(), MakeSymbol(plain).symbol.matrix.Cells());
}

INSTANTIATE_TEST_SUITE_P(symbol, Content,
                         testing::Combine(testing::ValuesIn(Contents),
                                          testing::Values(std::nullopt, std::optional(false), std::optional(true))),
                         [](const auto& info) {
                           const std::optional<bool> eci = std::get<1>(info.param);
                           const char* how = !eci ? "Default" : *eci ? "EciOn" : "EciOff";
                           return std::string(std::get<0>(info.param).name) + how;
                         });

// The designator names the data's character set, only with the ECI on.
struct EciCase {
  const char* name;
  DataCharset charset;
  std::string designator;  // as zxing-cpp gives it
};

const EciCase Ecis[] = {{"CodePage936", DataCharset::CodePage936, "\\000029"},
                        {"Utf8", DataCharset::Utf8, "\\000026"},
                        {"Unnamed", DataCharset::Unnamed, ""}};

class Eci : public testing::TestWithParam<std::tuple<EciCase, bool, Symbology>> {};

TEST_P(Eci, NamesTheCharacterSetAtTheStartOfTheSymbol) {
  const auto& [c, eci, symbology] = GetParam();
  SymbolRequest request = Request(symbology, "A\xC4\xE3");
  request.charset = c.charset;
  request.eci = eci;
  const std::string designator = eci ? c.designator : "";
  EXPECT_EQ(EciDesignator(request), designator.empty() ? 0 : std::stoi(designator.substr(1)));
  EXPECT_EQ(EciProtocolBytes(MakeSymbol(request).symbol), designator + request.data);
}

INSTANTIATE_TEST_SUITE_P(symbol, Eci,
                         testing::Combine(testing::ValuesIn(Ecis), testing::Bool(), testing::Values(Qr, Dm)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "On" : "Off") +
                                  (std::get<2>(info.param) == Qr ? "Qr" : "Dm");
                         });

struct FailureCase {
  const char* name;
  void (*set)(SymbolRequest&);
  SymbolFailure failure;
  const char* field = nullptr;  // with FieldNotCarried
};

const FailureCase Failures[] = {
    {"EmptyData", [](SymbolRequest& r) { r.data.clear(); }, SymbolFailure::NothingToEncode},
    {"EmptyDataMatrix", [](SymbolRequest& r) { r.symbology = Dm, r.data.clear(); }, SymbolFailure::NothingToEncode},
    {"EmptyFields", [](SymbolRequest& r) { r.content = Fields(1, 0); }, SymbolFailure::NothingToEncode},
    {"OnlyChoices", [](SymbolRequest& r) { r.content = Fields(GeneralFormat, 1, "ENC", "WPA"); },
     SymbolFailure::NothingToEncode},
    {"NoSuchTab", [](SymbolRequest& r) { r.content = Fields(1, MaxTabsPerFormat); }, SymbolFailure::NoSuchTab},
    {"NoSuchFormat", [](SymbolRequest& r) { r.content = Fields(GeneralFormat + 1, 0); }, SymbolFailure::NoSuchTab},
    {"CardWithoutName", [](SymbolRequest& r) { r.content = Fields(GeneralFormat, 0, "M", "1"); },
     SymbolFailure::FieldNotCarried, "N"},
    // An operator format's value must be code page 936 text.
    {"NotCodePageText", [](SymbolRequest& r) { r.content = Fields(1, 0, "COR", "a\xFF"); },
     SymbolFailure::FieldNotCarried, "COR"},
    {"LowercaseInX12", [](SymbolRequest& r) { r.symbology = Dm, r.dmScheme = DmEncodation::X12; }, SymbolFailure::NotInScheme},
};

class Failure : public testing::TestWithParam<FailureCase> {};

TEST_P(Failure, IsNamedWithoutASymbol) {
  const FailureCase& c = GetParam();
  SymbolRequest request = Request(Qr, "abc");
  c.set(request);
  const SymbolResult made = MakeSymbol(request);
  EXPECT_EQ(made.failure, c.failure);
  EXPECT_TRUE(made.symbol.matrix.Empty());
  EXPECT_EQ(made.field.slot, c.field ? FieldSlotOfTag(c.field) : -1);
}

INSTANTIATE_TEST_SUITE_P(symbol, Failure, testing::ValuesIn(Failures),
                         [](const auto& info) { return info.param.name; });

}  // namespace
