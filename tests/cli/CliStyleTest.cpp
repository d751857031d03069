// Colours and a logo from the command line: what is refused names why and
// writes nothing; what is written reads back, and --dump tells the bound.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/cli/CliFiles.h"
#include "verify/LogoFile.h"

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
      {"qr --text a --bg white", ExitUsage, "--bg takes a colour #RRGGBB or none"},
      // zbar reads no inverted symbol, so with its option it is still not written.
      {"qr --text a --fg #ffffff --bg #000000 --allow-inverted", ExitNotReadBack, "does not read back, so it is not written"},
      // 1.9:1, allowed, read clean by both decoders, but lost in a tilt (and a blur) that the plain symbol
      // survives, with the level raised to H and the symbol grown: only contrast is left to advise.
      {"qr --text https://example.com/quillet --fg #777777 --bg #aaaaaa --allow-low-contrast --scale 6", ExitNotReadBack,
       "under the camera condition \"tilt of 25 degrees\", where it reads the plain symbol; more contrast would "
       "help"},
      {"qr --text a --logo-pad shape", ExitUsage, "--logo-size and --logo-pad go with --logo FILE"},
      {"qr --text a --logo-pad round" + logo, ExitUsage, "--logo-pad takes"},
      {"dm --text a --logo-pad square", ExitUsage, "--logo-pad: Data Matrix symbols carry no logo"},
      {"qr --text a --logo-size 70" + logo, ExitUsage, "--logo-size takes 0.05 to 0.5 (or 5% to 50%), or max"},
      // Version 1 at level L corrects two codewords: no logo fits.
      {"qr --text a --level L" + logo, ExitUsage, "version 1 at level L cannot spare the modules of even the smallest logo; give --level H"},
      // No version at level M spares 40 % of its side: the symbol stays as its data makes it.
      {"qr --text https://example.com/a --level M --logo-size 0.4" + logo, ExitUsage,
       "the logo is too large for this symbol: at most 12% of its side at level M; a smaller logo, a larger symbol "
       "(--version) or a higher level (--level H) would fit"},
      // A version chosen holds: 30 % of version 2 is refused, in words, not codewords.
      {"qr --text a --version 2 --logo-size 30" + logo, ExitUsage,
       "the logo is too large for this symbol: at most 20% of its side at level H; a smaller logo or a larger "
       "symbol (--version) would fit"},
      {"qr --text a --logo " + folder.File("absent.png"), ExitUsage, "cannot read the logo"},
      {"qr --text a --logo /dev/zero", ExitUsage, "is neither a PNG, a JPEG nor an SVG image"},
      {"qr --text a --logo " + folder.File("text.png"), ExitUsage, "is neither a PNG, a JPEG nor an SVG image"},
      {"qr --text a --logo " + folder.File("huge.png"), ExitUsage, "is larger than a logo may be"},
      {"qr --text a --logo " + folder.File("empty.png"), ExitUsage, "cannot be read as an image"},
      // Data Matrix takes no rounded modules, nor a preset that draws them.
      {"dm --text a --shape rounded", ExitUsage, "--shape takes square or dot, not 'rounded'"},
      {"dm --text a --preset rounded", ExitUsage, "--preset takes classic or dots, not 'rounded'"},
      {"qr --text a --gradient linear", ExitUsage, "--gradient and --fg2 go together"},
      // A frame's options need its caption, which is one line the font covers.
      {"qr --text a --frame-fg #1a237e", ExitUsage, "--frame-position and --frame-fg go with --frame TEXT"},
      {"dm --text a --frame x --frame-fg #eeeeee", ExitUsage,
       "the frame colour #eeeeee on #ffffff (contrast ratio 1.16:1) is below the 3:1 its caption needs"},
      {"qr --text a --frame " + std::string(65, 'x'), ExitUsage, "--frame takes a line of 1 to 64 characters"},
      // Ideographic and no-break spaces: one word, but no text to draw.
      {"qr --text a --frame \u3000\u00a0\u3000", ExitUsage,
       "--frame needs text to draw on the frame's band, and '\u3000\u00a0\u3000' is empty or only blanks"},
      // A caption the font cannot draw as written is bad input, named by its character.
      {"qr --text a --frame 扫一扫\U0001F600", ExitUsage,
       "--frame: the caption's font has no '\U0001F600' (U+1F600): the frame would show an empty box"},
      {"qr --text a --frame مرحبا", ExitUsage, "--frame: 'م' (U+0645) is of a script whose letters join, reorder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const CliOutcome run = Cli(c.line + " -o " + out);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.part), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out));
  }
}

// Styled symbols are written in each format and read back; --dump tells the
// logo's bound, the camera conditions and what the style raised.
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
    std::string raised = "";  // what --dump says was raised for the style, before "read back by"
  } cases[] = {
      // A logo raises the level to H unless one is given.
      {"qr --fg #1a237e --bg none" + logo, "a.png", "level H", DecodeFormat::QrCode},
      {"qr --level Q --logo-size 0.2" + logo, "b.gif", "level Q", DecodeFormat::QrCode},
      {"qr --bg #fffde7 --logo " + folder.File("photo.jpg"), "e.svg", "level H", DecodeFormat::QrCode},
      {"dm --fg #4a148c --bg #f3e5f5", "d.bmp", "rows ", DecodeFormat::DataMatrix},
      // Circle eyes lose the tilt at 3-M: a level not given is raised before the version grows; one given is kept.
      {"qr --shape rounded --eyes circle --eye-fg #b71c1c", "g.jpg", "version 4 level H", DecodeFormat::QrCode,
       "level raised from M\nversion grown from 3\n"},
      {"qr --level M --shape rounded --eyes circle --eye-fg #b71c1c", "g.png", "version 5 level M", DecodeFormat::QrCode,
       "version grown from 3\n"},
      {"qr --shape dot --eyes rounded" + logo, "h.gif", "level H", DecodeFormat::QrCode},
      {"qr --frame 扫一扫，加我为联系人 --frame-fg #1a237e", "l.png", "level M", DecodeFormat::QrCode},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string path = folder.File(c.file);
    const CliOutcome run = Cli(c.options + " --text " + data + " --scale 6 --dump -o " + path);
    ASSERT_EQ(run.status, ExitOk) << run.err;
    EXPECT_NE(run.out.find(c.header), std::string::npos);
    if (!c.raised.empty()) EXPECT_NE(run.out.find("\n" + c.raised + "read back by"), std::string::npos) << run.out;
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

// A preset draws what its shapes and colours draw when given one by one, the
// style options given with it win wherever they stand, and every symbol
// reads back with both decoders of its symbology.
TEST(CliStyle, APresetIsItsOptionsAndTheOptionsGivenWithItWin) {
  TempFolder folder;
  const std::string data = "https://example.com/quillet";
  const struct {
    std::string preset, options;
    DecodeFormat format;
  } cases[] = {
      {"qr --preset brand", "qr --shape rounded --eyes rounded --fg #1a237e --eye-fg #c62828", DecodeFormat::QrCode},
      {"qr --fg #000000 --preset brand", "qr --shape rounded --eyes rounded --eye-fg #c62828", DecodeFormat::QrCode},
      {"qr --preset brand --eyes square --eye-fg #1b5e20", "qr --shape rounded --fg #1a237e --eye-fg #1b5e20",
       DecodeFormat::QrCode},
      {"qr --bg none --preset dots", "qr --bg none --shape dot --eyes circle", DecodeFormat::QrCode},
      {"qr --preset brand --preset dots", "qr --shape dot --eyes circle", DecodeFormat::QrCode},
      {"dm --preset dots", "dm --shape dot", DecodeFormat::DataMatrix},
      {"dm --fg #1a237e --preset dots", "dm --shape dot --fg #1a237e", DecodeFormat::DataMatrix},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preset);
    const std::string preset = folder.File("preset.png"), options = folder.File("options.png");
    const std::string tail = " --text " + data + " --scale 6 -o ";
    ASSERT_EQ(Cli(c.preset + tail + preset).status, ExitOk);
    ASSERT_EQ(Cli(c.options + tail + options).status, ExitOk);
    EXPECT_EQ(ReadBytes(preset), ReadBytes(options));
    EXPECT_EQ(DecodeFile(preset, c.format), data);
  }
}

// Blanks around a caption are not drawn: the file is the one of the caption alone.
TEST(CliStyle, BlanksAroundACaptionChangeNothing) {
  TempFolder folder;
  ASSERT_EQ(Cli("qr --text a --frame 扫一扫 --frame-position above -o " + folder.File("bare.png")).status, ExitOk);
  ASSERT_EQ(Cli("qr --text a --frame \u3000扫一扫\u2003 --frame-position above -o " + folder.File("spaced.png")).status,
            ExitOk);
  EXPECT_EQ(ReadBytes(folder.File("spaced.png")), ReadBytes(folder.File("bare.png")));
}

// A batch's caption is checked once, before its first file.
TEST(CliStyle, ABatchWithACaptionTheFontLacksWritesNothing) {
  TempFolder folder;
  WriteBytes(folder.File("rows.csv"), "text\na\nb\n");
  const CliOutcome run = Cli("qr --batch " + folder.File("rows.csv") + " --name {row}.png --frame 扫\U0001F600 -o " +
                             folder.File("out"));
  EXPECT_EQ(run.status, ExitUsage) << run.err;
  EXPECT_NE(run.err.find("(U+1F600)"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder.File("out/1.png")));
}

// A row whose symbol cannot spare the logo at the version chosen fails with
// its reason; the others are written. With no version chosen every row's
// symbol grows to the logo's size.
TEST(CliStyle, BatchRowsAreCheckedEachAgainstTheBoundOrGrow) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"), Svg);
  WriteBytes(folder.File("rows.csv"), "text\na\n" + std::string(100, 'a') + "\n");
  const std::string line = "qr --batch " + folder.File("rows.csv") + " --name {row}.png --logo " +
                           folder.File("logo.svg") + " --logo-size 0.3 --fg #1a237e -o ";
  const CliOutcome chosen = Cli(line + folder.File("chosen") + " --version 1");
  EXPECT_EQ(chosen.status, ExitSomeRowsFailed);
  EXPECT_NE(chosen.err.find("row 1: the logo is too large for this symbol: at most 14% of its side at level H"),
            std::string::npos)
      << chosen.err;
  EXPECT_FALSE(fs::exists(folder.File("chosen/1.png")));
  // The logo fits, but spends the error correction the noise needs, and the
  // version may not grow: refused, naming the condition.
  EXPECT_NE(chosen.err.find("row 2: the styled symbol does not read back, so it is not written: zbar does not read it "
                            "under the camera condition \"sensor noise\""),
            std::string::npos)
      << chosen.err;
  EXPECT_FALSE(fs::exists(folder.File("chosen/2.png")));
  const CliOutcome grown = Cli(line + folder.File("grown"));
  EXPECT_EQ(grown.status, ExitOk) << grown.err;
  EXPECT_EQ(DecodeFile(folder.File("grown/1.png"), DecodeFormat::QrCode), "a");
  EXPECT_EQ(DecodeFile(folder.File("grown/2.png"), DecodeFormat::QrCode), std::string(100, 'a'));
}

// "--logo-size 50" is 50 %, "max" the largest the symbol allows; the version
// grown to is dumped, and the refusal's codeword figures go to --dump only.
TEST(CliStyle, LogoSizesAsPeopleWriteThemAndTheVersionTheyGrowTo) {
  TempFolder folder;
  WriteBytes(folder.File("logo.svg"), Svg);
  const std::string logo = " --logo " + folder.File("logo.svg") + " --dump -o " + folder.File("out.png");
  const struct {
    std::string options;
    std::string header;  // the first line of --dump
    std::string logoLine;
  } cases[] = {
      {"--text hello", "version 2 level H", "logo 5 x 5 modules (25 cleared), largest 5 (0.20 of the side)"},
      {"--text hello --logo-size 30", "version 6 level H", "logo 13 x 13 modules (157 cleared), largest 13 (0.32 of the side)"},
      {"--text hello --logo-size 30%", "version 6 level H", "logo 13 x 13 modules (157 cleared), largest 13 (0.32 of the side)"},
      // The round SVG keeps its outline: the square pad clears the box's corners as well.
      {"--text hello --logo-size 30 --logo-pad square", "version 6 level H",
       "logo 13 x 13 modules (169 cleared), largest 13 (0.32 of the side)"},
      // The largest the data's own version allows: no growth.
      {"--text hello --logo-size max", "version 1 level H", "logo 3 x 3 modules (9 cleared), largest 3 (0.14 of the side)"},
      {"--text hello --version 2 --logo-size 30", "version 2 level H", "block 1 destroyed 10 of 14 correctable"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const CliOutcome run = Cli("qr " + c.options + logo);
    EXPECT_EQ(run.out.rfind(c.header, 0), 0u) << run.out;
    EXPECT_NE(run.out.find(c.logoLine), std::string::npos) << run.out;
    EXPECT_EQ(run.err.find("codeword"), std::string::npos) << run.err;
  }
}

// A photograph's size costs time, not memory: a 5000 x 5000 PNG of a few
// kilobytes is scaled down as it is decoded and makes a logo; one that
// claims more than a logo's picture may have is refused before decoding.
TEST(CliStyle, ALargePictureIsScaledDownAndABombRefused) {
  TempFolder folder;
  const auto banded = [&](int side, const std::string& name) {
    QImage picture(side, side, QImage::Format_Mono);
    picture.setColorTable({qRgb(255, 255, 255), qRgb(200, 30, 30)});
    picture.fill(0);
    for (int y = side / 4; y < side * 3 / 4; ++y) std::fill_n(picture.scanLine(y) + side / 32, side / 16, 0xFF);
    EXPECT_TRUE(picture.save(QString::fromStdString(folder.File(name)), "PNG"));
    return folder.File(name);
  };
  const std::string large = banded(5000, "large.png"), bomb = banded(MaxLogoSourceSide + 8, "bomb.png");
  EXPECT_LT(fs::file_size(large), 64u << 10);
  const CliOutcome read = Cli("qr --text hello --logo " + large + " --dump -o " + folder.File("a.png"));
  EXPECT_EQ(read.status, ExitOk) << read.err;
  EXPECT_NE(read.out.find("read back by zxing-cpp and zbar"), std::string::npos) << read.out;
  EXPECT_EQ(DecodeFile(folder.File("a.png"), DecodeFormat::QrCode), "hello");
  // The band's red survives the scaling at the logo's middle.
  const QImage written(QString::fromStdString(folder.File("a.png")));
  EXPECT_EQ(written.pixelColor(written.width() / 2, written.height() / 2), QColor(200, 30, 30));
  const CliOutcome refused = Cli("qr --text hello --logo " + bomb + " -o " + folder.File("b.png"));
  EXPECT_EQ(refused.status, ExitUsage);
  EXPECT_NE(refused.err.find("is larger than a logo may be (16 MB, 10000 pixels a side)"), std::string::npos)
      << refused.err;
  EXPECT_FALSE(fs::exists(folder.File("b.png")));
}

}  // namespace
