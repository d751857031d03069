// The largest symbols overflow the picture area and are painted on the page
// beneath its controls: every control must look exactly as it does with no
// symbol at all, the zoom slider must still answer mouse and keyboard, and
// the screen must lose the symbol's pixels when it shrinks.
#include "datamatrix/DmEncoder.h"
#include "tests/gui/GuiHelpers.h"

namespace {

struct OverlapCase {
  bool dm;
  int scale;
};

class ControlsOverSymbol : public GuiTest, public testing::WithParamInterface<OverlapCase> {
 protected:
  void SetUp() override {
    page = GetParam().dm ? static_cast<CSymbolPage*>(dm) : qr;
    if (GetParam().dm) {
      window->Tabs()->setCurrentIndex(1);
      SelectComboItem(Control<QComboBox>(dm, ControlId::VersionList), DmSquareSizeCount - 1);
    }
    slider = Control<QSlider>(page, ControlId::Zoom);
    slider->setValue(GetParam().scale);
    // Nothing with a blinking caret holds the focus while grabbing.
    slider->setFocus();
  }

  // Blanks, so that the field holding them looks the same as when empty:
  // 2300 bytes need version 40 at level M; one character in 144 x 144 as chosen.
  void ShowLargestSymbol() const {
    if (GetParam().dm) dm->TextBox()->setPlainText(U(" "));
    else qobject_cast<QLineEdit*>(Field(Current(), "N"))->setText(QString(2300, u' '));
  }
  // The version label keeps its text when the symbol goes.
  void HideSymbol() const {
    if (GetParam().dm) dm->TextBox()->clear();
    else qobject_cast<QLineEdit*>(Field(Current(), "N"))->clear();
  }

  // Every control of the page (but the picture area, where the symbol belongs)
  // and of the main window, each as its rectangle of the painted window.
  std::vector<std::pair<QString, QImage>> ControlPictures() const {
    QCoreApplication::processEvents();
    const QImage shown = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<QWidget*> controls = {window->Tabs()->tabBar(), window->AboutButton()};
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      // The printed size tells of the symbol: it goes with it.
      if (child->objectName() == U("printedSize")) continue;
      if (child->isVisible() && child != Control<QWidget>(page, ControlId::Picture)) controls.push_back(child);
    }
    std::vector<std::pair<QString, QImage>> pictures;
    for (QWidget* control : controls) {
      const QRect rect(control->mapTo(window.get(), QPoint(0, 0)), control->size());
      const QString name = QString::fromLatin1(control->metaObject()->className()) + U(" ") + control->objectName() +
                           U(" ") + control->property("text").toString();
      pictures.emplace_back(name, shown.copy(rect));
    }
    return pictures;
  }

  // Outside the picture area the symbol shows unclipped wherever no control is.
  void ExpectSymbolAroundTheControls() const {
    const QImage painted = GrabPage(page);
    const QRect symbol = page->SymbolRect();
    const int scale = GetParam().scale;
    for (int y = std::max(symbol.top(), 0); y <= std::min(symbol.bottom(), page->height() - 1); y += 5) {
      for (int x = std::max(symbol.left(), 0); x <= std::min(symbol.right(), page->width() - 1); x += 5) {
        if (page->childAt(x, y) != nullptr || page->PictureArea().contains(x, y)) continue;
        const bool dark = page->Symbol().IsDark((x - symbol.left()) / scale, (y - symbol.top()) / scale);
        ASSERT_EQ(painted.pixel(x, y), dark ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
      }
    }
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
    EXPECT_EQ(slider->value(), 1);
    QTest::keyClick(window->windowHandle(), Qt::Key_Down);
    EXPECT_EQ(slider->value(), 2);
    EXPECT_EQ(page->Scale(), 2);
    EXPECT_TRUE(page->HasSymbol());
  }

  // One character: version 1, or 10 x 10 once that size is chosen again.
  void ShowSmallSymbol() const {
    if (GetParam().dm) SelectComboItem(Control<QComboBox>(dm, ControlId::VersionList), 0);
    else qobject_cast<QLineEdit*>(Field(Current(), "N"))->setText(U("a"));
    slider->setFocus();
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
        if (child != nullptr && child != Control<QWidget>(page, ControlId::Picture)) continue;
        stale += shown.pixel(x, y) != fresh.pixel(x, y);
      }
    EXPECT_EQ(stale, 0);
  }

  CSymbolPage* page = nullptr;
  QSlider* slider = nullptr;
};

TEST_P(ControlsOverSymbol, EveryControlLooksAsWithoutSymbolAndTheSliderStillMoves) {
  ShowLargestSymbol();
  ASSERT_EQ(page->Symbol().Columns(), GetParam().dm ? 144 : 177);
  ASSERT_EQ(page->Scale(), GetParam().scale);
  // The symbol reaches past the picture area on every side.
  ASSERT_TRUE(page->SymbolRect().contains(page->PictureArea().adjusted(-1, -1, 1, 1)));
  ExpectSymbolAroundTheControls();
  const QString label = page->VersionLabelText();
  const auto withSymbol = ControlPictures();
  HideSymbol();
  ASSERT_FALSE(page->HasSymbol());
  ASSERT_EQ(page->VersionLabelText(), label);
  const auto without = ControlPictures();
  ASSERT_EQ(withSymbol.size(), without.size());
  std::vector<std::string> covered;
  for (size_t i = 0; i < without.size(); ++i) {
    if (withSymbol[i].second != without[i].second) covered.push_back(without[i].first.toStdString());
  }
  EXPECT_EQ(covered, std::vector<std::string>{});
  ShowLargestSymbol();
  ExpectSliderMovesByMouseAndKeyboard();
}

// A symbol shrinking from past the picture area into it leaves nothing behind
// on screen, and a slider move redraws it at once at the new scale.
TEST_P(ControlsOverSymbol, TheScreenFollowsAShrinkingSymbolAndTheSlider) {
  ShowLargestSymbol();
  ExpectScreenUpToDate();
  ShowSmallSymbol();
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
