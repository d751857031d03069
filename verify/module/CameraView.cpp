#include "verify/module/CameraView.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE first
#include <jpeglib.h>
// clang-format on

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <random>
#include <tuple>

#include "verify/module/Decoders.h"

namespace quillet {

namespace {

// Rounded half up, as lround does for the non-negative values that reach
// it, without a library call: every pixel of every view comes through here.
uint8_t Clamped(double value) {
  if (!(value > 0)) return 0;
  return value >= 255 ? 255 : static_cast<uint8_t>(value + 0.5);
}

uint8_t& At(GreyPixels& image, int x, int y) { return image.pixels[static_cast<size_t>(y) * image.width + x]; }

uint8_t Edged(const GreyPixels& image, int x, int y) {
  x = std::clamp(x, 0, image.width - 1);
  y = std::clamp(y, 0, image.height - 1);
  return image.pixels[static_cast<size_t>(y) * image.width + x];
}

// What the camera's effects make that depends only on the picture's size and
// the condition, never on its pixels: a batch sees thousands of symbols of
// one size, on several threads. The last few made are kept, read-only.
template <typename Key, typename Value>
class SizeCache {
 public:
  template <typename Make>
  std::shared_ptr<const Value> Get(const Key& key, Make make) {
    {
      std::lock_guard lock(mutex_);
      for (const auto& [kept, value] : entries_)
        if (kept == key) return value;
    }
    // Made outside the lock: two threads may both make it, neither waits.
    auto value = std::make_shared<const Value>(make());
    std::lock_guard lock(mutex_);
    if (entries_.size() >= Kept) entries_.erase(entries_.begin());
    entries_.emplace_back(key, value);
    return value;
  }

 private:
  static constexpr size_t Kept = 8;
  std::mutex mutex_;
  std::vector<std::pair<Key, std::shared_ptr<const Value>>> entries_;
};

// One pass of a separable blur along x (`dx` 1) or y (`dy` 1), edges repeated.
GreyPixels Convolved(const GreyPixels& image, const std::vector<double>& kernel, int dx, int dy) {
  const int radius = static_cast<int>(kernel.size() / 2);
  const int along = dx ? image.width : image.height, step = dx ? 1 : image.width;
  GreyPixels out{image.width, image.height, std::vector<uint8_t>(image.pixels.size())};
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const int at = dx ? x : y;
      double sum = 0;
      if (at >= radius && at < along - radius) {
        // Away from the edges no tap needs clamping; the sum runs in the same order.
        const uint8_t* centre = &image.pixels[static_cast<size_t>(y) * image.width + x];
        for (int k = -radius; k <= radius; ++k) sum += kernel[static_cast<size_t>(k + radius)] * centre[k * step];
      } else {
        for (int k = -radius; k <= radius; ++k)
          sum += kernel[static_cast<size_t>(k + radius)] * Edged(image, x + k * dx, y + k * dy);
      }
      At(out, x, y) = Clamped(sum);
    }
  return out;
}

GreyPixels Blurred(const GreyPixels& image, double sigma) {
  const int radius = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
  std::vector<double> kernel(static_cast<size_t>(2 * radius + 1));
  double total = 0;
  for (int k = -radius; k <= radius; ++k)
    total += kernel[static_cast<size_t>(k + radius)] = std::exp(-k * k / (2 * sigma * sigma));
  for (double& weight : kernel) weight /= total;
  return Convolved(Convolved(image, kernel, 1, 0), kernel, 0, 1);
}

// Where a pixel seen is read from on the paper: the corner pixel of its
// bilinear read and the fractions towards the next.
struct PaperPoint {
  int x0 = 0, y0 = 0;
  double fx = 0, fy = 0;
};

// A pinhole camera three times the picture's side away, the paper turned by
// `degrees` about its vertical axis: each pixel seen is traced back to the
// paper. The focal length keeps the nearer, larger edge in the picture.
std::vector<PaperPoint> TiltMap(int width, int height, double degrees) {
  const double angle = degrees * std::numbers::pi / 180, distance = 3.0 * std::max(width, height);
  const double focal = 0.85 * distance, cx = width / 2.0, cy = height / 2.0;
  std::vector<PaperPoint> map(static_cast<size_t>(width) * height);
  for (int v = 0; v < height; ++v)
    for (int u = 0; u < width; ++u) {
      const double su = u + 0.5 - cx, sv = v + 0.5 - cy;
      const double x = su * distance / (focal * std::cos(angle) - su * std::sin(angle));
      const double y = sv * (distance + x * std::sin(angle)) / focal;
      const double px = cx + x - 0.5, py = cy + y - 0.5;
      const int x0 = static_cast<int>(std::floor(px)), y0 = static_cast<int>(std::floor(py));
      map[static_cast<size_t>(v) * width + u] = {x0, y0, px - x0, py - y0};
    }
  return map;
}

GreyPixels Tilted(const GreyPixels& image, double degrees) {
  static SizeCache<std::tuple<int, int, double>, std::vector<PaperPoint>> maps;
  const auto map = maps.Get(std::tuple{image.width, image.height, degrees},
                            [&] { return TiltMap(image.width, image.height, degrees); });
  GreyPixels out{image.width, image.height, std::vector<uint8_t>(image.pixels.size())};
  for (size_t i = 0; i < map->size(); ++i) {
    const auto [x0, y0, fx, fy] = (*map)[i];
    double a, b, c, d;  // the four pixels read, top left, top right, bottom left, bottom right
    if (x0 >= 0 && y0 >= 0 && x0 + 1 < image.width && y0 + 1 < image.height) {
      const uint8_t* p = &image.pixels[static_cast<size_t>(y0) * image.width + x0];
      a = p[0], b = p[1], c = p[image.width], d = p[image.width + 1];
    } else {
      a = Edged(image, x0, y0), b = Edged(image, x0 + 1, y0), c = Edged(image, x0, y0 + 1);
      d = Edged(image, x0 + 1, y0 + 1);
    }
    out.pixels[i] = Clamped((1 - fy) * ((1 - fx) * a + fx * b) + fy * ((1 - fx) * c + fx * d));
  }
  return out;
}

struct CompressErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};

void EscapeCompressError(j_common_ptr info) { std::longjmp(reinterpret_cast<CompressErrors*>(info->err)->escape, 1); }

// Only plain data between setjmp and the end: a long jump skips no destructor.
bool CompressGrey(jpeg_compress_struct& jpeg, const GreyPixels& image, int quality, unsigned char** bytes,
                  unsigned long* size) {
  if (setjmp(reinterpret_cast<CompressErrors*>(jpeg.err)->escape)) return false;
  jpeg_create_compress(&jpeg);
  jpeg_mem_dest(&jpeg, bytes, size);
  jpeg.image_width = static_cast<JDIMENSION>(image.width);
  jpeg.image_height = static_cast<JDIMENSION>(image.height);
  jpeg.input_components = 1;
  jpeg.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, quality, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  for (int y = 0; y < image.height; ++y) {
    auto row = const_cast<JSAMPROW>(image.pixels.data() + static_cast<size_t>(y) * image.width);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  return true;
}

// What a camera's JPEG makes of the picture; a blank one if libjpeg fails.
GreyPixels Compressed(const GreyPixels& image, int quality) {
  jpeg_compress_struct jpeg{};
  CompressErrors errors{};
  jpeg.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EscapeCompressError;
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  const bool compressed = CompressGrey(jpeg, image, quality, &bytes, &size);
  jpeg_destroy_compress(&jpeg);
  std::optional<GreyPixels> seen;
  ImageReadProblem problem;
  if (compressed)
    seen = ReadRasterImage(FileKind::Jpeg, std::string_view(reinterpret_cast<char*>(bytes), size), &problem);
  std::free(bytes);
  if (seen) return std::move(*seen);
  return GreyPixels{image.width, image.height, std::vector<uint8_t>(image.pixels.size(), 255)};
}

// Full light at the top left corner, falling evenly to `darkest` of it at the bottom right.
GreyPixels UnevenlyLit(GreyPixels image, double darkest) {
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const double across = (static_cast<double>(x) / image.width + static_cast<double>(y) / image.height) / 2;
      At(image, x, y) = Clamped(At(image, x, y) * (1 - (1 - darkest) * across));
    }
  return image;
}

// Box and Muller's Gaussian from a Mersenne twister of fixed seed: the same
// noise on every run and every machine, one value a pixel.
std::vector<double> NoiseField(size_t pixels) {
  std::mt19937 random(20240601u);
  const auto uniform = [&random] { return (random() + 0.5) / 4294967296.0; };
  std::vector<double> field(pixels);
  for (double& gauss : field) gauss = std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
  return field;
}

GreyPixels Noisy(GreyPixels image, double sigma) {
  static SizeCache<size_t, std::vector<double>> fields;
  const auto field = fields.Get(image.pixels.size(), [&] { return NoiseField(image.pixels.size()); });
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = Clamped(image.pixels[i] + sigma * (*field)[i]);
  return image;
}

int ModulePixelsUnder(const CameraCondition& condition, int scale) {
  return condition.effect == CameraEffect::FewPixels ? static_cast<int>(condition.amount) : scale;
}

std::optional<std::string> DecodeBy(std::string_view decoder, const GreyPixels& image, Symbology symbology,
                                    int moduleSide) {
  if (decoder == "zbar") return DecodeWithZbar(image);
  if (decoder == "libdmtx") return DecodeWithDmtx(image, moduleSide);
  return DecodeWithZxing(image, symbology == Symbology::DataMatrix);
}

CameraReading ReadingOf(const std::optional<std::string>& bytes, std::string_view expected) {
  if (!bytes) return CameraReading::NotRead;
  return *bytes == expected ? CameraReading::Read : CameraReading::Misread;
}

// The plain symbol under one condition, each view made once and only when a
// decoder needs it: at the condition's amount, then at its harsher one.
struct PlainViews {
  const GreyPixels& plain;
  const CameraCondition& condition;
  int scale;
  std::optional<GreyPixels> seen, harsher;

  const GreyPixels& Seen() {
    if (!seen) seen = SeenUnder(plain, condition, scale);
    return *seen;
  }
  const GreyPixels& Harsher() {
    if (!harsher) harsher = SeenUnder(plain, condition.AtHarsher(), scale);
    return *harsher;
  }
};

// The plain symbol's reading: read under the condition and under its harsher
// amount, since a plain symbol read only by luck is no yardstick.
CameraReading PlainReading(PlainViews& views, std::string_view decoder, Symbology symbology,
                           std::string_view expected) {
  const CameraCondition& condition = views.condition;
  const int moduleSide = ModulePixelsUnder(condition, views.scale);
  const CameraReading reading = ReadingOf(DecodeBy(decoder, views.Seen(), symbology, moduleSide), expected);
  if (reading != CameraReading::Read || condition.harsher == condition.amount) return reading;
  const int harsherSide = ModulePixelsUnder(condition.AtHarsher(), views.scale);
  return ReadingOf(DecodeBy(decoder, views.Harsher(), symbology, harsherSide), expected);
}

GreyPixels Copied(const uint8_t* pixels, int width, int height) {
  return GreyPixels{width, height, std::vector<uint8_t>(pixels, pixels + static_cast<size_t>(width) * height)};
}

}  // namespace

GreyPixels Reduced(const GreyPixels& image, int factor) {
  if (factor <= 1) return image;
  GreyPixels reduced{image.width / factor, image.height / factor, {}};
  reduced.pixels.resize(static_cast<size_t>(reduced.width) * reduced.height);
  for (int y = 0; y < reduced.height; ++y)
    for (int x = 0; x < reduced.width; ++x) {
      int sum = 0;
      for (int dy = 0; dy < factor; ++dy)
        for (int dx = 0; dx < factor; ++dx)
          sum += image.pixels[static_cast<size_t>(y * factor + dy) * image.width + x * factor + dx];
      reduced.pixels[static_cast<size_t>(y) * reduced.width + x] = static_cast<uint8_t>(sum / (factor * factor));
    }
  return reduced;
}

GreyPixels SeenUnder(const GreyPixels& image, const CameraCondition& condition, int scale) {
  switch (condition.effect) {
    case CameraEffect::Blur: return Blurred(image, condition.amount / 2 * scale);
    case CameraEffect::FewPixels: return Reduced(image, scale / ModulePixelsUnder(condition, scale));
    case CameraEffect::Tilt: return Tilted(image, condition.amount);
    case CameraEffect::Jpeg: return Compressed(image, static_cast<int>(condition.amount));
    case CameraEffect::UnevenLight: return UnevenlyLit(image, condition.amount);
    case CameraEffect::Noise: return Noisy(image, condition.amount);
    case CameraEffect::AsPrinted: break;
  }
  return image;
}

std::vector<ConditionReading> ReadUnderConditions(const CameraViews& views, Symbology symbology,
                                                  std::string_view expected) {
  const GreyPixels styled = Copied(views.styled, views.width, views.height);
  const GreyPixels plain = views.plain ? Copied(views.plain, views.plainWidth, views.plainHeight) : GreyPixels{};
  std::vector<ConditionReading> readings;
  for (int index = 0; index < CameraConditionCount; ++index) {
    const CameraCondition& condition = CameraConditions[index];
    if (condition.effect == CameraEffect::AsPrinted) continue;
    const int moduleSide = ModulePixelsUnder(condition, views.scale);
    const GreyPixels seen = SeenUnder(styled, condition, views.scale);
    PlainViews plainViews{plain, condition, views.scale, std::nullopt, std::nullopt};
    for (std::string_view decoder : CameraDecoders(symbology)) {
      ConditionReading reading{index, std::string(decoder),
                               ReadingOf(DecodeBy(decoder, seen, symbology, moduleSide), expected)};
      if (reading.styled != CameraReading::Read && views.plain)
        reading.plain = PlainReading(plainViews, decoder, symbology, expected);
      readings.push_back(std::move(reading));
      // The first loss is the verdict; who asks for no more is spared the rest.
      if (views.untilLoss && readings.back().Lost()) return readings;
    }
  }
  return readings;
}

}  // namespace quillet
