// The largest symbols are larger than the picture area: they are shown
// clipped to it, inside a scroll area, and every control must look exactly
// as it does with no symbol at all; the zoom slider must still answer mouse
// and keyboard, the picture must scroll to the symbol's far corner, and the
// screen must lose the symbol's pixels when it shrinks.
#include <set>

#include "datamatrix/DmEncoder.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

QScrollArea* Scroller(CSymbolPage* page) { return page->findChild<QScrollArea*>(U("pictureScroller")); }

// The page as the screen shows it: what was painted and flushed so far, with
// no fresh paint (which GrabPage makes).
QImage OnScreen(CSymbolPage* page) {
  QCoreApplication::processEvents();
  const QPoint at = page->mapTo(page->window(), QPoint(0, 0));
  return page->screen()
      ->grabWindow(page->window()->winId(), at.x(), at.y(), page->width(), page->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

struct OverlapCase {
  bool dm;
  int scale;
};

class ControlsOverSymbol : public GuiTest, public testing::WithParamInterface<OverlapCase> {
 protected:
  void SetUp() override {
    page = ShowPage(GetParam().dm);
    if (GetParam().dm) SelectComboItem(Control<QComboBox>(dm, ControlId::VersionList), DmSquareSizeCount - 1);
    slider = Control<QSlider>(page, ControlId::Zoom);
    slider->setValue(GetParam().scale);
    slider->setFocus();  // nothing with a blinking caret holds the focus while grabbing
  }

  // Largest in blanks, so that the field looks as when empty: 2300 bytes need
  // version 40 at level M; one character in 144 x 144 as chosen. None shows no
  // symbol; Small is version 1 or 10 x 10.
  enum class Shown { Largest, None, Small };
  void Show(Shown what) const {
    if (!GetParam().dm)
      qobject_cast<QLineEdit*>(Field(Current(), "N"))
          ->setText(what == Shown::Largest ? QString(2300, u' ') : what == Shown::Small ? U("a") : QString());
    else if (what == Shown::Small) SelectComboItem(Control<QComboBox>(dm, ControlId::VersionList), 0);
    else dm->TextBox()->setPlainText(what == Shown::Largest ? U(" ") : QString());
    slider->setFocus();
  }

  QImage Painted() const {
    QCoreApplication::processEvents();
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // The controls that look different on two pictures of the window: all of
  // the page's (but the picture area, where the symbol belongs, and the
  // printed size and the version label, which go with the symbol) and the
  // main window's.
  std::vector<std::string> Differing(const QImage& one, const QImage& other) const {
    std::vector<QWidget*> controls = {window->Tabs()->tabBar(), window->AboutButton()};
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (child->isVisible() && child->objectName() != U("printedSize") && child != Control<QWidget>(page, ControlId::Picture) &&
          child != Control<QWidget>(page, ControlId::VersionLabel) && child != Scroller(page))
        controls.push_back(child);
    std::vector<std::string> differing;
    for (QWidget* control : controls) {
      const QRect rect(control->mapTo(window.get(), QPoint(0, 0)), control->size());
      if (one.copy(rect) != other.copy(rect))
        differing.push_back(std::string(control->metaObject()->className()) + " " + control->objectName().toStdString());
    }
    return differing;
  }

  // The colours painted where the whole symbol would lie outside the picture area and no control is.
  std::set<QRgb> ColoursAroundTheControls() const {
    const QImage painted = GrabPage(page);
    const QRect symbol = page->SymbolRect() & page->rect();
    std::set<QRgb> colours;
    for (int y = symbol.top(); y <= symbol.bottom(); y += 5)
      for (int x = symbol.left(); x <= symbol.right(); x += 5)
        if (page->childAt(x, y) == nullptr && !page->PictureArea().contains(x, y)) colours.insert(painted.pixel(x, y));
    return colours;
  }

  // A click and keys given to the window, routed to whatever is under the
  // pointer and in focus, as the user's would be.
  void ExpectSliderMovesByMouseAndKeyboard() const {
    slider->clearFocus();
    const int before = slider->value();
    const bool fromBottom = before > 8;  // position 1 is at the top
    const QPoint end(slider->width() / 2, fromBottom ? 2 : slider->height() - 3);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, slider->mapTo(window.get(), end));
    EXPECT_TRUE(fromBottom ? slider->value() < before : slider->value() > before) << slider->value();
    QTest::keyClick(window->windowHandle(), Qt::Key_Home);
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(page->Scale(), 2);
    EXPECT_TRUE(page->HasSymbol());
  }

  // The screen shows what a fresh paint gives, wherever no control covers the page.
  void ExpectScreenUpToDate() const {
    const QImage shown = OnScreen(page);
    const QImage fresh = GrabPage(page);
    ASSERT_EQ(shown.size(), fresh.size());
    int stale = 0;
    for (int y = 0; y < fresh.height(); ++y)
      for (int x = 0; x < fresh.width(); ++x) {
        const QWidget* child = page->childAt(x, y);
        if (child == nullptr || child == Control<QWidget>(page, ControlId::Picture))
          stale += shown.pixel(x, y) != fresh.pixel(x, y);
      }
    EXPECT_EQ(stale, 0);
  }

  CSymbolPage* page = nullptr;
  QSlider* slider = nullptr;
};

TEST_P(ControlsOverSymbol, EveryControlLooksAsWithoutSymbolAndTheSliderStillMoves) {
  Show(Shown::Largest);
  ASSERT_EQ(page->Symbol().Columns(), GetParam().dm ? 144 : 177);
  ASSERT_EQ(page->Scale(), GetParam().scale);
  ASSERT_TRUE(page->SymbolRect().contains(page->PictureArea().adjusted(-1, -1, 1, 1)));
  EXPECT_EQ(ColoursAroundTheControls(), (std::set<QRgb>{page->palette().color(QPalette::Button).rgb()}));
  const QImage withSymbol = Painted();
  Show(Shown::None);
  ASSERT_FALSE(page->HasSymbol());
  EXPECT_EQ(Differing(withSymbol, Painted()), std::vector<std::string>{});
  Show(Shown::Largest);
  ExpectSliderMovesByMouseAndKeyboard();
}

// Scrolled to its far corner, the picture shows the matrix's last modules
// there, in the picture area's last pixels.
TEST_P(ControlsOverSymbol, ThePictureScrollsToTheSymbolsFarCorner) {
  Show(Shown::Largest);
  QScrollArea* scroller = Scroller(page);
  QCoreApplication::processEvents();  // the bars' ranges with both bars shown
  for (QScrollBar* bar : {scroller->horizontalScrollBar(), scroller->verticalScrollBar()}) {
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
  }
  const QImage painted = GrabPage(page);
  const QRect shown(scroller->viewport()->mapTo(page, QPoint(0, 0)), scroller->viewport()->size());
  ASSERT_TRUE(page->PictureArea().contains(shown));
  EXPECT_EQ(page->SymbolRect().bottomRight(), shown.bottomRight());
  const ModuleMatrix& symbol = page->Symbol();
  const int scale = GetParam().scale;
  for (int back = 0; back < 3; ++back)
    for (int up = 0; up < 3; ++up) {
      const QPoint centre = shown.bottomRight() - QPoint(back * scale + scale / 2, up * scale + scale / 2);
      EXPECT_EQ(qGray(painted.pixel(centre)) < 128, symbol.IsDark(symbol.Columns() - 1 - back, symbol.Rows() - 1 - up))
          << back << ", " << up;
    }
}

// A symbol shrinking from past the picture area into it leaves nothing behind
// on screen, and a slider move redraws it at once at the new scale.
TEST_P(ControlsOverSymbol, TheScreenFollowsAShrinkingSymbolAndTheSlider) {
  Show(Shown::Largest);
  ExpectScreenUpToDate();
  Show(Shown::Small);
  ASSERT_TRUE(page->PictureArea().contains(page->SymbolRect()));
  ExpectScreenUpToDate();
  slider->setValue(GetParam().scale - 1);
  ASSERT_EQ(page->Scale(), GetParam().scale - 1);
  ExpectScreenUpToDate();
}

INSTANTIATE_TEST_SUITE_P(LargestSymbols, ControlsOverSymbol,
                         testing::Values(OverlapCase{false, 4}, OverlapCase{false, 16}, OverlapCase{true, 4},
                                         OverlapCase{true, 16}),
                         [](const auto& info) {
                           return std::string(info.param.dm ? "Dm144" : "QrVersion40") + "AtScale" +
                                  std::to_string(info.param.scale);
                         });

}  // namespace
