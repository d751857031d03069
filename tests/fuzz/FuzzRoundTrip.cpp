// Every encoding that succeeds must decode back, with both decoders of its
// format, to exactly the bytes that went in. Slower than the other targets,
// so kept apart.
// First byte: bit 7 set for Data Matrix. QR: level in bits 0-1, requested
// version from the rest. Data Matrix: scheme from bits 0-6, and the second
// byte gives the requested size (0-31 less 2: smallest square, smallest
// rectangle, or an index).
#include <memory>
#include <string>

#include "datamatrix/DmEncoder.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"
#include "tests/support/Require.h"

using namespace quillet;

namespace {

// One segment and the optimal segments alike.
void RoundTripQr(int control, const std::string& text) {
  static auto encoder = std::make_unique<CQrCodeEncoder>();
  for (const QrSegments segments : {QrSegments::Single, QrSegments::Optimal}) {
    encoder->EcLevel = control & 3;
    encoder->Version = (control >> 2) % (qr::MaxVersion + 1);
    if (encoder->EncodeData(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()),
                            segments) != 0)
      continue;
    const auto decoded = DecodeModules(encoder->Side(), encoder->Side(),
                                       [&](int x, int y) { return encoder->IsDark(x, y); }, DecodeFormat::QrCode);
    Require(decoded == text);
  }
}

void RoundTripDm(int control, int sizeControl, const std::string& text) {
  DmEncodeParams params;
  params.scheme = control % 7;
  int size = sizeControl % 32 - 2;
  const auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
  if (!grid) return;
  const auto decoded = DecodeModules(grid->Columns(), grid->Rows(), [&](int x, int y) { return grid->IsDark(x, y); },
                                     DecodeFormat::DataMatrix);
  Require(decoded == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 1500) return 0;
  if (data[0] & 0x80) {
    if (size < 3) return 0;
    RoundTripDm(data[0] & 0x7f, data[1], std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  } else {
    RoundTripQr(data[0], std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  }
  return 0;
}
