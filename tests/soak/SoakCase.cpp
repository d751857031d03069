#include "tests/soak/SoakCase.h"

#include <memory>
#include <utility>

#include "datamatrix/DmEncoder.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"

namespace {

SoakOutcome Compare(std::optional<std::string> read, const std::string& data, std::optional<std::string>* decoded) {
  const bool identical = read == data;
  if (decoded) *decoded = std::move(read);
  return identical ? SoakOutcome::DecodedIdentical : SoakOutcome::Mismatch;
}

SoakOutcome RunQr(const SoakCase& c, std::optional<std::string>* decoded) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = c.setting & 3;
  encoder->Version = c.request;
  if (encoder->EncodeData(reinterpret_cast<const uint8_t*>(c.data.data()), static_cast<int32_t>(c.data.size())) != 0)
    return SoakOutcome::NotEncodable;
  const int n = encoder->Side();
  return Compare(DecodeModules(n, n, [&](int x, int y) { return encoder->IsDark(x, y); }, DecodeFormat::QrCode),
                 c.data, decoded);
}

SoakOutcome RunDm(const SoakCase& c, std::optional<std::string>* decoded) {
  DmEncodeParams params;
  params.scheme = c.setting;
  int size = c.request;
  const auto grid =
      DmEncodeText(reinterpret_cast<const uint8_t*>(c.data.data()), static_cast<int>(c.data.size()), params, size);
  if (!grid) return SoakOutcome::NotEncodable;
  return Compare(DecodeModules(grid->Columns(), grid->Rows(), [&](int x, int y) { return grid->IsDark(x, y); },
                               DecodeFormat::DataMatrix),
                 c.data, decoded);
}

}  // namespace

SoakOutcome RunSoakCase(const SoakCase& c, std::optional<std::string>* decoded) {
  return c.kind == 'Q' ? RunQr(c, decoded) : RunDm(c, decoded);
}

std::optional<SoakCase> ParseSoakCase(const std::string& bytes) {
  if (bytes.size() < 3 || (bytes[0] != 'Q' && bytes[0] != 'D')) return std::nullopt;
  return SoakCase{bytes[0], static_cast<unsigned char>(bytes[1]), static_cast<unsigned char>(bytes[2]) - 2,
                  bytes.substr(3)};
}
