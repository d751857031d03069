// Module and eye shapes as the files hold them: every shape in every kind of
// output is read by the real decoders (PNG through Qt's reader, SVG drawn by
// librsvg, PDF by poppler); the square style stays the plain file.
#include <gtest/gtest.h>
#include <librsvg/rsvg.h>

#include <QImage>

#include "image/PhysicalSize.h"
#include "image/StyledImage.h"
#include "image/StyledSymbol.h"
#include "image/SymbolFrame.h"
#include "image/SymbolOutlines.h"
#include "tests/support/Decode.h"
#include "tests/support/Poppler.h"
#include "tests/support/TempFolder.h"
#include "verify/ReadBack.h"

using namespace quillet;

namespace {

constexpr Rgb Navy{0x1a, 0x23, 0x7e}, Crimson{0xb0, 0x10, 0x30};
const std::string Data = "https://example.com/shapes";

SymbolRequest RequestOf(Symbology symbology) {
  SymbolRequest request;
  request.data = Data;
  request.symbology = symbology;
  return request;
}

Symbol MakeOne(Symbology symbology) {
  const SymbolResult made = MakeSymbol(RequestOf(symbology));
  EXPECT_TRUE(made.Ok());
  return made.symbol;
}

// The camera condition the command line refuses `style` for after growing
// the symbol as far as it may; empty when it accepts the style.
std::string_view ConditionLost(Symbology symbology, const SymbolStyle& style, int scale) {
  ImageOptions options;
  options.scale = scale;
  options.style = style;
  const CheckedSymbol checked = MakeReadableSymbol(RequestOf(symbology), style, nullptr, [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, options);
  });
  EXPECT_TRUE(checked.made.Ok() && checked.check);
  if (!checked.check || checked.check->Ok()) return {};
  const ConditionReading* lost = LostCondition(checked.check->readBack);
  return lost ? CameraConditions[lost->condition].name : "not read as printed";
}

GreyImage Grey(const QImage& picture) {
  const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
  GreyImage image{grey.width(), grey.height(), {}};
  for (int y = 0; y < grey.height(); ++y)
    image.pixels.insert(image.pixels.end(), grey.constScanLine(y), grey.constScanLine(y) + grey.width());
  return image;
}

GreyImage SvgPixels(const std::string& svg, int width, int height) {
  RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
  EXPECT_NE(handle, nullptr);
  if (handle == nullptr) return {};
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::white);
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(picture.bits(), CAIRO_FORMAT_ARGB32, width, height, picture.bytesPerLine());
  cairo_t* cr = cairo_create(surface);
  const RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
  EXPECT_TRUE(rsvg_handle_render_document(handle, cr, &viewport, nullptr));
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return Grey(picture);
}

GreyImage FilePixels(std::string_view format, const std::string& bytes, const ImageOptions& options, int side,
                     int height = 0) {
  if (format == "svg") return SvgPixels(bytes, side * options.scale, (height ? height : side) * options.scale);
  if (format == "png") return Grey(QImage::fromData(QByteArray::fromStdString(bytes)));
  TempFolder folder;
  WriteBytes(folder.File("shaped.pdf"), bytes);
  const std::vector<GreyImage> pages = RenderPdfPages(folder.File("shaped.pdf"), 200);
  return pages.empty() ? GreyImage{} : pages[0];
}

}  // namespace

TEST(Shapes, EveryShapeInEveryOutputReadsBackWithEveryDecoder) {
  for (const Symbology symbology : {Symbology::QrCode, Symbology::DataMatrix}) {
    const Symbol symbol = MakeOne(symbology);
    const bool qr = symbology == Symbology::QrCode;
    for (const ModuleShapeRow& module : ModuleShapes())
      for (const EyeShapeRow& eye : EyeShapes()) {
        if (!qr && (!module.dataMatrix || eye.shape != EyeShape::Square)) continue;
        SCOPED_TRACE(std::string(qr ? "QR " : "DM ") + std::string(module.name) + " " + std::string(eye.name));
        SymbolStyle style{Navy, White, false, nullptr, {}, module.shape, eye.shape, qr ? std::optional(Crimson) : std::nullopt};
        ImageOptions options;
        options.scale = 5;
        // Dots too: libdmtx finds the tilted Data Matrix once its search is
        // bounded by the image, not by the clock that gave up on it.
        EXPECT_EQ(ConditionLost(symbology, style, options.scale), "");
        ApplyStyle(symbol, style, options);
        for (const std::string_view format : {"png", "svg", "pdf"}) {
          SCOPED_TRACE(format);
          std::string bytes;
          ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName(format), options, bytes).Ok());
          const GreyImage image = FilePixels(format, bytes, options, symbol.matrix.Columns() + 2 * options.quietZone);
          ASSERT_GT(image.width, 0);
          EXPECT_EQ(DecodeImage(image.pixels.data(), image.width, image.height,
                                qr ? DecodeFormat::QrCode : DecodeFormat::DataMatrix),
                    Data);
        }
      }
  }
}

// Square modules and eyes in the foreground are the plain symbol: the same
// bytes in every format.
TEST(Shapes, SquareShapesInTheForegroundWriteThePlainFile) {
  const Symbol symbol = MakeOne(Symbology::QrCode);
  for (const ImageFormat& format : ImageFormats()) {
    SCOPED_TRACE(std::string(format.name));
    ImageOptions plain, squared;
    squared.style.eyeColour = Black;
    std::string plainBytes, squaredBytes;
    ASSERT_TRUE(EncodeImage(symbol.matrix, format, plain, plainBytes).Ok());
    ASSERT_TRUE(EncodeImage(symbol.matrix, format, squared, squaredBytes).Ok());
    EXPECT_EQ(plainBytes, squaredBytes);
  }
}

// Eyes are drawn where a QR Code's finder patterns are, in the eye colour,
// and a Data Matrix has none.
TEST(Shapes, EyesTakeTheirColourOnlyWhereTheFindersAre) {
  const Symbol qr = MakeOne(Symbology::QrCode), dm = MakeOne(Symbology::DataMatrix);
  EXPECT_EQ(FinderCorners(qr.matrix).size(), 3u);
  EXPECT_TRUE(FinderCorners(dm.matrix).empty());
  ImageOptions options;
  options.scale = 10;
  options.style.eyeColour = Crimson;
  options.style.eyeShape = EyeShape::Circle;
  const RgbaImage image = RenderStyledSymbol(qr.matrix, options);
  const auto pixel = [&](double moduleX, double moduleY) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(moduleY * 10) * image.width + static_cast<size_t>(moduleX * 10)) * 4];
    return Rgb{p[0], p[1], p[2]};
  };
  const int q = options.quietZone;
  EXPECT_EQ(pixel(q + 3.5, q + 3.5), Crimson);  // the centre
  EXPECT_EQ(pixel(q + 0.5, q + 3.5), Crimson);  // the ring's left
  EXPECT_EQ(pixel(q + 0.2, q + 0.2), White);    // the circle's corner cut away
}

// Gradients in every output read back with every decoder; the files hold
// the gradient itself, and the pixels shade from one colour to the other.
TEST(Gradients, EveryGradientInEveryOutputReadsBackAndShades) {
  constexpr Rgb Purple{0x6a, 0x1b, 0x9a};
  for (const Symbology symbology : {Symbology::QrCode, Symbology::DataMatrix})
    for (const Gradient gradient : {Gradient::Linear, Gradient::Radial}) {
      const Symbol symbol = MakeOne(symbology);
      const bool qr = symbology == Symbology::QrCode;
      ImageOptions options;
      options.scale = 5;
      options.style.foreground = Navy;
      options.style.gradient = gradient;
      options.style.foreground2 = Purple;
      ASSERT_TRUE(PlaceAndReadBack(symbol, options.style, options).Ok());
      for (const std::string_view format : {"png", "svg", "pdf"}) {
        SCOPED_TRACE(std::string(qr ? "QR " : "DM ") + std::string(GradientName(gradient)) + " " + std::string(format));
        std::string bytes;
        ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName(format), options, bytes).Ok());
        if (format == "svg")
          EXPECT_NE(bytes.find(gradient == Gradient::Linear ? "<linearGradient" : "<radialGradient"), std::string::npos);
        const GreyImage image = FilePixels(format, bytes, options, symbol.matrix.Columns() + 2 * options.quietZone);
        ASSERT_GT(image.width, 0);
        EXPECT_EQ(DecodeImage(image.pixels.data(), image.width, image.height,
                              qr ? DecodeFormat::QrCode : DecodeFormat::DataMatrix),
                  Data);
      }
      // The top left module is dark in both symbologies: at the linear
      // gradient's start, at the radial one's far end.
      const RgbaImage image = RenderStyledSymbol(symbol.matrix, options);
      const size_t at = (static_cast<size_t>(options.quietZone * 5 + 2) * image.width + options.quietZone * 5 + 2) * 4;
      const Rgb corner{image.pixels[at], image.pixels[at + 1], image.pixels[at + 2]};
      const Rgb expected = gradient == Gradient::Linear ? Navy : Purple;
      EXPECT_LE(std::abs(corner.red - expected.red) + std::abs(corner.blue - expected.blue), 24)
          << FormatColour(corner);
    }
}

// An eye colour and both ends of a gradient are held to the contrast the
// dark modules are; the refusal names the lighter, whichever it is.
TEST(Shapes, APaleEyeOrGradientEndIsRefusedAsLowContrast) {
  constexpr Rgb Pale{0xdd, 0xdd, 0xdd};
  const struct {
    Rgb foreground;
    std::optional<Rgb> second, eye;
    StyleFailure failure;
  } cases[] = {
      {Navy, Pale, std::nullopt, StyleFailure::LowContrast},
      {Pale, Navy, std::nullopt, StyleFailure::LowContrast},
      {Rgb{0xbb, 0xbb, 0xbb}, Pale, std::nullopt, StyleFailure::LowContrast},
      {Navy, Crimson, std::nullopt, StyleFailure::None},
      {Black, std::nullopt, Pale, StyleFailure::LowContrast},
      {Black, std::nullopt, Crimson, StyleFailure::None},
  };
  for (const auto& c : cases) {
    SymbolStyle style;
    style.foreground = c.foreground;
    if (c.second) {
      style.gradient = Gradient::Radial;
      style.foreground2 = *c.second;
    }
    style.eyeColour = c.eye;
    const StyleCheck check = CheckContrast(style);
    EXPECT_EQ(check.failure, c.failure) << FormatColour(c.foreground);
    if (!check.Ok()) {
      EXPECT_EQ(check.subject, "#dddddd on #ffffff");
    }
  }
}

// The caption is drawn in the background's colour on the frame's band, so
// the frame colour is held to the modules' ratio; a frame lighter than the
// background shows its caption as well, and the modules are judged first.
TEST(Frames, AFrameColourTooNearTheBackgroundIsRefused) {
  constexpr Rgb Pale{0xdd, 0xdd, 0xdd}, Grey{0x77, 0x77, 0x77};
  const struct {
    Rgb foreground, background;
    std::optional<Rgb> frame;
    std::string caption;
    ContrastAllowance allowed;
    StyleFailure failure;
    bool frameFailed;
    std::string subject;
  } cases[] = {
      {Navy, White, Pale, "SCAN", {}, StyleFailure::LowContrast, true, "#dddddd on #ffffff"},
      {Navy, White, Pale, "", {}, StyleFailure::None, false, ""},  // no caption, no frame drawn
      {Navy, White, Pale, "SCAN", {true, false}, StyleFailure::None, false, ""},
      {Navy, White, Crimson, "SCAN", {}, StyleFailure::None, false, ""},
      {Black, Grey, White, "SCAN", {}, StyleFailure::None, false, ""},
      {Black, Grey, Rgb{0x99, 0x99, 0x99}, "SCAN", {}, StyleFailure::LowContrast, true, "#999999 on #777777"},
      {Pale, White, Navy, "SCAN", {}, StyleFailure::LowContrast, false, "#dddddd on #ffffff"},
      // Unset, the frame takes the foreground's colour, already judged.
      {Navy, White, std::nullopt, "SCAN", {}, StyleFailure::None, false, ""},
  };
  for (const auto& c : cases) {
    SymbolStyle style;
    style.foreground = c.foreground;
    style.background = c.background;
    style.frameColour = c.frame;
    style.frameText = c.caption;
    const StyleCheck check = CheckContrast(style, c.allowed);
    SCOPED_TRACE(check.subject);
    EXPECT_EQ(check.failure, c.failure);
    EXPECT_EQ(check.frame, c.frameFailed);
    if (!check.Ok()) {
      EXPECT_EQ(check.subject, c.subject);
    }
  }
}

// A framed symbol in every output reads back with its quiet zone inside the
// frame; the caption is drawn on the band (light pixels there), on the side
// asked, and vector files hold it as paths, not text.
TEST(Frames, FramedSymbolsReadBackWithTheCaptionOnTheirBand) {
  const struct {
    Symbology symbology;
    std::string caption;
    FramePosition position;
    bool transparent;
  } cases[] = {
      {Symbology::QrCode, "扫一扫，加我为联系人", FramePosition::Below, false},
      {Symbology::QrCode, "SCAN ME", FramePosition::Above, true},
      {Symbology::DataMatrix, "扫码", FramePosition::Below, false},
  };
  for (const auto& c : cases) {
    const Symbol symbol = MakeOne(c.symbology);
    const bool qr = c.symbology == Symbology::QrCode;
    ImageOptions options;
    options.scale = 5;
    SymbolStyle style;
    style.foreground = Navy;
    style.transparentBackground = c.transparent;
    style.frameText = c.caption;
    style.framePosition = c.position;
    style.frameColour = Crimson;
    ASSERT_TRUE(PlaceAndReadBack(symbol, style, options).Ok());
    const FrameLayout layout = LayOutFrame(style, symbol.matrix.Columns(), symbol.matrix.Rows(), options.quietZone);
    for (const std::string_view format : {"png", "svg", "pdf"}) {
      SCOPED_TRACE(c.caption + " " + std::string(format));
      std::string bytes;
      ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName(format), options, bytes).Ok());
      if (format == "svg") EXPECT_EQ(bytes.find("<text"), std::string::npos);
      const GreyImage image = FilePixels(format, bytes, options, layout.width, layout.height);
      ASSERT_GT(image.width, 0);
      EXPECT_EQ(DecodeImage(image.pixels.data(), image.width, image.height,
                            qr ? DecodeFormat::QrCode : DecodeFormat::DataMatrix),
                Data);
    }
    const RgbaImage image = RenderStyledSymbol(symbol.matrix, options);
    ASSERT_EQ(image.width, layout.width * 5);
    // The band's rows: crimson frame with white caption pixels among them.
    const int bandTop = c.position == FramePosition::Above ? 0 : image.height - layout.bandHeight * 5;
    EXPECT_EQ(bandTop, layout.bandTop * 5);
    int caption = 0, frame = 0;
    for (int y = bandTop; y < bandTop + layout.bandHeight * 5; ++y)
      for (int x = 0; x < image.width; ++x) {
        const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
        caption += p[1] > 160;  // the caption's white, antialiased: crimson has no green
        frame += Rgb{p[0], p[1], p[2]} == Crimson;
      }
    EXPECT_GT(caption, image.width / 2) << "no caption drawn";
    EXPECT_GT(frame, caption);
  }
}

// Blanks around a caption draw nothing, so they go and the band centres the
// visible text; inner ones stay. One of only blanks is no caption at all.
TEST(Frames, BlanksAroundACaptionAreDropped) {
  const struct {
    std::string typed, caption;
  } cases[] = {
      {"扫一扫", "扫一扫"},
      {"  扫一扫\t", "扫一扫"},
      {"\u3000扫 一\u3000扫\u3000", "扫 一\u3000扫"},
      {"\u00a0\u2003scan me\u202f\u205f", "scan me"},
      {"\u200bscan\ufeff", "scan"},  // zero-width spaces draw nothing either
      {"\r\nscan\u0085", "scan"},
      {"", ""},
      {" ", ""},
      {"\t\u3000 \u00a0\u2009\u1680", ""},
      {" \xe6\x89 ", "\xe6\x89"},  // no UTF-8: kept, for the check to refuse
      {"two\nlines", "two\nlines"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(TrimCaption(c.typed), c.caption);
  }
}

// The caption is one line the font covers; anything else is refused before a
// file is written, never drawn as empty boxes.
TEST(Frames, CaptionsTheFontCannotDrawAreRefused) {
  const struct {
    std::string caption;
    CaptionProblem problem;
    ImageFailure failure;
    std::string subject = {};  // the character refused, when it is named
  } cases[] = {
      {"扫一扫", CaptionProblem::None, ImageFailure::None},
      {std::string(64, 'x'), CaptionProblem::None, ImageFailure::None},
      {std::string(65, 'x'), CaptionProblem::TooLong, ImageFailure::BadCaption},
      {"two\nlines", CaptionProblem::ControlCharacter, ImageFailure::BadCaption},
      {"\xe6\x89", CaptionProblem::NotUtf8, ImageFailure::BadCaption},
      {"\xc0\xaf", CaptionProblem::NotUtf8, ImageFailure::BadCaption},  // an overlong "/"
      {"扫\U0001F600", CaptionProblem::MissingCharacter, ImageFailure::CaptionCharacter, "\U0001F600"},
      // Scripts drawn a letter after another keep working; those that join,
      // reorder or run right to left are refused whatever the font holds.
      {"Café Ёлка Ελλάδα かな 한글", CaptionProblem::None, ImageFailure::None},
      {"مرحبا", CaptionProblem::NeedsShaping, ImageFailure::CaptionScript, "م"},
      {"scan שלום", CaptionProblem::NeedsShaping, ImageFailure::CaptionScript, "ש"},
      {"नमस्ते", CaptionProblem::NeedsShaping, ImageFailure::CaptionScript, "न"},
      {"สวัสดี", CaptionProblem::NeedsShaping, ImageFailure::CaptionScript, "ส"},
      {"ﻣﺮﺣﺒﺎ", CaptionProblem::NeedsShaping, ImageFailure::CaptionScript, "ﻣ"},  // presentation forms
  };
  const Symbol symbol = MakeOne(Symbology::QrCode);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    const CaptionCheck check = ShapeCaption(c.caption).check;
    EXPECT_EQ(check.problem, c.problem);
    if (!c.subject.empty()) {
      EXPECT_EQ(check.subject, c.subject);
    }
    ImageOptions options;
    options.style.frameText = c.caption;
    std::string bytes;
    EXPECT_EQ(EncodeImage(symbol.matrix, *FindFormatByName("png"), options, bytes).failure, c.failure);
    if (c.failure != ImageFailure::None) EXPECT_TRUE(bytes.empty());
  }
}

// A printed size is the whole frame's: its longer side, in every format.
TEST(Frames, APrintedSizeCoversTheFrame) {
  const Symbol symbol = MakeOne(Symbology::QrCode);
  ImageOptions options;
  options.symbolMm = 30;
  options.style.frameText = "扫一扫";
  std::string pdf;
  ASSERT_TRUE(EncodeImage(symbol.matrix, *FindFormatByName("pdf"), options, pdf).Ok());
  TempFolder folder;
  WriteBytes(folder.File("framed.pdf"), pdf);
  const auto page = PdfPageSizePoints(folder.File("framed.pdf"));
  ASSERT_TRUE(page);
  EXPECT_NEAR(std::max(page->first, page->second) * MillimetresPerInch / PointsPerInch, 30, 0.01);
  const PrintedExtent extent = FramedMillimetres(options, symbol.matrix.Columns(), symbol.matrix.Rows());
  EXPECT_NEAR(extent.heightMm, 30, 0.01);
  EXPECT_LT(extent.widthMm, extent.heightMm);
}
