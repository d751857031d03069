#include "tests/support/Poppler.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A binary PGM (P5, maxval 255) as pdftoppm -gray writes it.
GreyImage ReadPgm(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::string magic;
  int width = 0, height = 0, maxval = 0;
  file >> magic >> width >> height >> maxval;
  file.get();
  GreyImage image{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
  file.read(reinterpret_cast<char*>(image.pixels.data()), static_cast<std::streamsize>(image.pixels.size()));
  if (magic != "P5" || maxval != 255 || !file) return {};
  return image;
}

}  // namespace

std::string CommandOutput(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    pclose(pipe);
  }
  return output;
}

std::vector<GreyImage> RenderPdfPages(const std::string& pdf, int dpi) {
  const fs::path folder = fs::path(pdf).parent_path() / ("pages-" + fs::path(pdf).stem().string());
  fs::create_directories(folder);
  CommandOutput("pdftoppm -gray -r " + std::to_string(dpi) + " " + Quoted(pdf) + " " + Quoted((folder / "p").string()));
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
  std::sort(files.begin(), files.end());  // p-1, p-2 ... are zero-padded to one width
  std::vector<GreyImage> pages;
  for (const fs::path& file : files) pages.push_back(ReadPgm(file));
  fs::remove_all(folder);
  return pages;
}

std::vector<std::optional<std::string>> DecodeSheetCells(const std::string& pdf, int columns, int rows,
                                                         double marginMm) {
  constexpr int Dpi = 200;
  const double margin = marginMm / 25.4 * Dpi;
  std::vector<std::optional<std::string>> cells;
  for (const GreyImage& page : RenderPdfPages(pdf, Dpi)) {
    const double cellWidth = (page.width - 2 * margin) / columns, cellHeight = (page.height - 2 * margin) / rows;
    const int width = static_cast<int>(cellWidth), height = static_cast<int>(cellHeight);
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column) {
        const int left = static_cast<int>(margin + column * cellWidth), top = static_cast<int>(margin + row * cellHeight);
        std::vector<uint8_t> cell;
        for (int y = top; y < top + height; ++y) {
          const auto line = page.pixels.begin() + static_cast<ptrdiff_t>(y) * page.width + left;
          cell.insert(cell.end(), line, line + width);
        }
        cells.push_back(DecodeImage(cell.data(), width, height, DecodeFormat::QrCode));
      }
  }
  return cells;
}

DarkBox DarkPixelsBox(const GreyImage& image, int width, int height) {
  DarkBox box{width, height, -1, -1};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (image.pixels[static_cast<size_t>(y) * image.width + x] < 128)
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
  return box;
}

std::string PdfText(const std::string& pdf) { return CommandOutput("pdftotext -enc UTF-8 " + Quoted(pdf) + " -"); }

std::optional<std::pair<double, double>> PdfPageSizePoints(const std::string& pdf) {
  const std::string info = CommandOutput("pdfinfo " + Quoted(pdf));
  std::smatch match;
  if (!std::regex_search(info, match, std::regex(R"(Page size:\s+([0-9.]+) x ([0-9.]+) pts)"))) return std::nullopt;
  return std::make_pair(std::stod(match[1]), std::stod(match[2]));
}
