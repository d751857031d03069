// Any bytes as an image file and as a decoded payload. The readers must
// refuse or read them within the pixel budget, never past their end; the
// recognition must give fields that compose into a payload recognised as
// the same fields, composing the same payload, again.
#include <string>

#include "content/CodePage.h"
#include "content/GeneralPayload.h"
#include "content/Payload.h"
#include "content/Recognition.h"
#include "tests/support/Require.h"
#include "verify/module/ImageReaders.h"

using namespace quillet;

namespace {

void ReadAsImage(std::string_view bytes, int fitSide) {
  ImageReadProblem problem;
  const auto image = ReadRasterImage(SniffFileKind(bytes), bytes, &problem, fitSide);
  if (!image) {
    Require(problem.failure != ImageReadFailure::None);
    return;
  }
  Require(image->width >= 1 && image->height >= 1);
  Require(static_cast<int64_t>(image->width) * image->height <= MaxImagePixels);
  Require(image->pixels.size() == static_cast<size_t>(image->width) * image->height);
}

void RecogniseAsPayload(std::string_view bytes, int preferredFormat) {
  const Recognised found = RecognisePayload(bytes, preferredFormat);
  Require(PageForTab(found.page.format, found.page.tab) != nullptr);
  if (!found.Exact() || found.kind == PayloadKind::Text) return;
  if (found.kind != PayloadKind::Operator) {
    // A general form the composer accepts reads back as the same fields.
    const std::string again = ComposeGeneralPayload(found.values, found.page.tab);
    if (again.empty()) return;
    const Recognised second = RecognisePayload(again);
    Require(second.Exact() && second.page.tab == found.page.tab &&
            ComposeGeneralPayload(second.values, second.page.tab) == again);
    return;
  }
  // The fields hold UTF-8; the operator payload is code page 936.
  const auto compose = [](const Recognised& fields) {
    FieldValueArray bytes;
    for (size_t slot = 0; slot < bytes.size(); ++slot) bytes[slot] = Utf8ToCodePage(fields.values[slot]).value_or("");
    return ComposeFieldPayload(bytes, fields.page.format, fields.page.tab);
  };
  const std::string again = compose(found);
  if (again.empty()) return;  // every field empty: nothing is composed
  // An empty field read may have chosen another page of the same type; the payload is the same.
  const Recognised second = RecognisePayload(EncoderInput(again), found.page.format);
  Require(second.Exact() && second.values == found.values && compose(second) == again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  ReadAsImage(bytes, size % 2 ? 16 : 0);
  RecogniseAsPayload(bytes, static_cast<int>(size % 4));
  return 0;
}
