// Independent evidence for PDF files: poppler's command-line tools render the
// pages and extract the text, as a viewer would.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/Decode.h"

// Every page of `pdf` rendered by pdftoppm at `dpi`, in page order.
std::vector<GreyImage> RenderPdfPages(const std::string& pdf, int dpi);
// pdftotext's text of the whole document.
std::string PdfText(const std::string& pdf);
// Width and height of page 1 in points, from pdfinfo.
std::optional<std::pair<double, double>> PdfPageSizePoints(const std::string& pdf);
// The QR symbol of every cell of a label sheet, page after page, each page
// rendered at 200 dpi, less a margin of `marginMm` on every side and split
// into columns x rows equal cells; nullopt for a cell zxing-cpp finds empty.
std::vector<std::optional<std::string>> DecodeSheetCells(const std::string& pdf, int columns, int rows,
                                                         double marginMm);
// The smallest box holding every dark pixel (below 128) of the image's top
// left `width` x `height` pixels, as a page's printed symbol is measured.
struct DarkBox {
  int left, top, right, bottom;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
DarkBox DarkPixelsBox(const GreyImage& image, int width, int height);

// Standard output of a shell command.
std::string CommandOutput(const std::string& command);
