// Colours and a logo from the command line: what is refused names why and
// writes nothing; what is written reads back, and --dump tells the bound.
#include <gtest/gtest.h>

#include "tests/cli/CliFiles.h"

using namespace quillet;

namespace {

const std::string Svg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="40"><circle cx="20" cy="20" r="18" fill="#c62828"/></svg>)";
// PNG headers alone: one claiming 100000 x 100000 pixels (with an empty IDAT,
// so that the header is read to its end), one of 16 x 16 with no pixel data.
const std::string HugePng(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x01\x86\xa0\x00\x01\x86\xa0\x08\x06\x00\x00\x00\xa8\x52\x0b\xc8"
    "\x00\x00\x00\x00IDAT\x35\xaf\x06\x1e\x00\x00\x00\x00IEND\xae\x42\x60\x82", 57);
const std::string EmptyPng(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x10\x00\x00\x00\x10\x08\x06\x00\x00\x00\x1f\xf3\xff\x61"
    "\x00\x00\x00\x00IEND\xae\x42\x60\x82", 45);

TEST(CliStyle, RefusalsNameTheColoursTheRatioOrTheLogoAndWriteNothing) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"), Svg);
  WriteBytes(folder.File("huge.png"), HugePng);
  WriteBytes(folder.File("empty.png"), EmptyPng);
  WriteBytes(folder.File("text.png"), "not an image, whatever its name");
  const std::string out = folder.File("out.png"), logo = " --logo " + folder.File("logo.svg");
  const struct {
    std::string line;
    int status;
    std::string part;
  } cases[] = {
      {"qr --text a --fg #959595", ExitUsage, "the colours #959595 on #ffffff (contrast ratio 2.99:1) are below the 3:1"},
      {"qr --text a --fg #eeeeee --bg none", ExitUsage, "#eeeeee on none (contrast ratio 1.16:1)"},
      {"qr --text a --fg #ffffff --bg #000000", ExitUsage, "light modules on a dark background"},
      {"qr --text a --fg #12345", ExitUsage, "--fg takes a colour #RRGGBB, not '#12345'"},
      {"qr --text a --bg white", ExitUsage, "--bg takes a colour #RRGGBB or none"},
      // zbar reads no inverted symbol, so with its option it is still not written.
      {"qr --text a --fg #ffffff --bg #000000 --allow-inverted", ExitNotReadBack, "does not read back, so it is not written"},
      // 1.9:1, allowed, read clean by both decoders, but lost in a blur that the plain symbol survives.
      {"qr --text https://example.com/quillet --fg #777777 --bg #aaaaaa --allow-low-contrast --scale 6", ExitNotReadBack,
       "under the camera condition \"blur of half a module\", where it reads the plain symbol; a higher level or more "
       "contrast would help"},
      {"dm --text a" + logo, ExitUsage, "Data Matrix symbols carry no logo"},
      {"qr --text a --logo-size 0.2", ExitUsage, "--logo-size goes with --logo"},
      {"qr --text a --logo-size 0.7" + logo, ExitUsage, "--logo-size takes 0.05 to 0.5 (or 5% to 50%)"},
      // Version 1 at level L corrects two codewords: no logo fits.
      {"qr --text a --level L" + logo, ExitUsage, "version 1 at level L cannot spare the modules of even the smallest logo; give --level H"},
      {"qr --text https://example.com/a --level M --logo-size 0.4" + logo, ExitUsage,
       "more than half of the 8 it corrects; the largest a QR Code of version 2 at level M allows is 3 modules, --logo-size 0.12"},
      {"qr --text a --logo " + folder.File("absent.png"), ExitUsage, "cannot read the logo"},
      {"qr --text a --logo /dev/zero", ExitUsage, "is neither a PNG, a JPEG nor an SVG image"},
      {"qr --text a --logo " + folder.File("text.png"), ExitUsage, "is neither a PNG, a JPEG nor an SVG image"},
      {"qr --text a --logo " + folder.File("huge.png"), ExitUsage, "is larger than a logo may be"},
      {"qr --text a --logo " + folder.File("empty.png"), ExitUsage, "cannot be read as an image"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line + " -o " + out);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.part), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

TEST(CliStyle, StyledSymbolsAreWrittenDecodedAndDumpedWithTheirBound) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"), Svg);
  QImage photo(48, 32, QImage::Format_RGB32);
  photo.fill(QColor(30, 136, 229));
  ASSERT_TRUE(photo.save(QString::fromStdString(folder.File("photo.jpg")), "JPG"));
  const std::string data = "https://example.com/quillet", logo = " --logo " + folder.File("logo.svg");
  const struct {
    std::string options, file, header;
    DecodeFormat format;
  } cases[] = {
      // A logo raises the level to H unless one is given.
      {"qr --fg #1a237e --bg none" + logo, "a.png", "level H", DecodeFormat::QrCode},
      {"qr --level Q --logo-size 0.2" + logo, "b.gif", "level Q", DecodeFormat::QrCode},
      {"qr --bg #fffde7 --logo " + folder.File("photo.jpg"), "e.svg", "level H", DecodeFormat::QrCode},
      {"dm --fg #4a148c --bg #f3e5f5", "d.bmp", "rows ", DecodeFormat::DataMatrix},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string path = folder.File(c.file);
    const CliOutcome run = Cli(c.options + " --text " + data + " --scale 6 --dump -o " + path);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_NE(run.out.find(c.header), std::string::npos);
    const bool logo = c.options.find("--logo") != std::string::npos;
    EXPECT_EQ(run.out.find("block 1 destroyed ") != std::string::npos, logo) << run.out;
    EXPECT_NE(run.out.find(c.format == DecodeFormat::QrCode ? "read back by zxing-cpp and zbar" : "read back by libdmtx"),
              std::string::npos);
    EXPECT_NE(run.out.find("condition tilt of 25 degrees: zxing-cpp read\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("conditions read 7 of 7\n"), std::string::npos) << run.out;
    if (c.file.ends_with(".svg")) EXPECT_NE(ReadBytes(path).find("<image x="), std::string::npos);
    else EXPECT_EQ(DecodeFile(path, c.format), data);
  }
}

// A row whose symbol cannot spare the logo fails with its reason; the
// others are written.
TEST(CliStyle, BatchRowsAreCheckedEachAgainstTheBound) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"), Svg);
  WriteBytes(folder.File("rows.csv"), "text\na\n" + std::string(100, 'a') + "\n");
  const CliOutcome run = Cli("qr --batch " + folder.File("rows.csv") + " -o " + folder.File("out") +
                             " --name {row}.png --logo " + folder.File("logo.svg") + " --logo-size 0.3 --fg #1a237e");
  EXPECT_EQ(run.status, ExitSomeRowsFailed);
  EXPECT_NE(run.err.find("row 1: a logo of 5 modules destroys 5 codewords of block 1, more than half of the 8 it "
                         "corrects; the largest a QR Code of version 1 at level H allows is 3 modules"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(folder.File("out/1.png")));
  EXPECT_EQ(DecodeFile(folder.File("out/2.png"), DecodeFormat::QrCode), std::string(100, 'a'));
}

}  // namespace
