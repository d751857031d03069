// Every text of both pages, the content pages and the About box fits the
// space it is given under the project's fonts; the window keeps the
// template's 1.44:1 and fits a 1920 x 1080 screen at 100, 125 and 150 %
// (ctest runs this file at each scale), and scrolls its pages when smaller.

#include "app/AboutDlg.h"
#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

std::string Where(const QWidget* widget) {
  return widget ? Where(widget->parentWidget()) + "/" + widget->metaObject()->className() + "#" + widget->objectName().toStdString() : "";
}

// Each text, shown in one line (mnemonic marks are not drawn), fits `space`,
// and the widget lies inside its parent, whose edge would cut it.
void ExpectFits(const QWidget* widget, const QStringList& texts, const QRect& space, bool inParent = true) {
  for (QString text : texts) {
    text.remove(QLatin1Char('&'));
    const QSize need(widget->fontMetrics().horizontalAdvance(text), widget->fontMetrics().height());
    EXPECT_TRUE(need.width() <= space.width() && need.height() <= space.height())
        << Where(widget) << " \"" << text.toStdString() << "\" needs " << need.width() << "x"
        << need.height() << ", has " << space.width() << "x" << space.height();
  }
  EXPECT_TRUE(!inParent || widget->parentWidget()->rect().contains(widget->geometry()))
      << Where(widget) << " reaches out of its parent";
}

void ExpectLabelFits(const QLabel* label) {
  if (!label->text().isEmpty()) ExpectFits(label, {label->text()}, label->contentsRect());
}

void ExpectButtonFits(const QAbstractButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  const QStyle::SubElement contents = qobject_cast<const QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                      : qobject_cast<const QCheckBox*>(button)  ? QStyle::SE_CheckBoxContents
                                                                                 : QStyle::SE_PushButtonContents;
  ExpectFits(button, {button->text()}, button->style()->subElementRect(contents, &option, button));
}

// Every item, so the current and the longest; the style draws the item one
// pixel inside the edit field.
void ExpectComboFits(const QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = false;
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  ExpectFits(combo, items,
             combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).adjusted(1, 0, -1, 0));
}

// Every tab is wide enough for its caption, and the current one is not
// under the scroll buttons or beyond the row's end.
void ExpectTabsFit(const QTabBar* bar) {
  const int padding = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
  for (int i = 0; i < bar->count(); ++i) {
    const QRect tab = bar->tabRect(i);
    ExpectFits(bar, {bar->tabText(i)}, QRect(0, 0, tab.width() - padding, tab.height()), false);
  }
  int visibleEnd = bar->width();
  for (const QToolButton* scroll : bar->findChildren<QToolButton*>())
    if (scroll->isVisible()) visibleEnd = std::min(visibleEnd, scroll->x());
  const QRect current = bar->tabRect(bar->currentIndex());
  EXPECT_TRUE(current.left() >= 0 && current.right() < visibleEnd)
      << Where(bar) << " cuts its current tab \"" << bar->tabText(bar->currentIndex()).toStdString()
      << "\" at " << current.left() << ".." << current.right() << " of 0.." << visibleEnd;
}

// No two controls with a text overlap.
void ExpectNoOverlap(const QWidget* page) {
  std::vector<const QWidget*> texts;
  for (const QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (qobject_cast<const QLabel*>(child) || qobject_cast<const QAbstractButton*>(child) || qobject_cast<const QComboBox*>(child))
      texts.push_back(child);
  for (size_t i = 0; i < texts.size(); ++i)
    for (size_t j = i + 1; j < texts.size(); ++j)
      EXPECT_FALSE(texts[i]->geometry().intersects(texts[j]->geometry()))
          << Where(texts[i]) << " overlaps " << Where(texts[j]);
}

void ExpectEverythingFits(const QWidget* root) {
  for (const QLabel* label : root->findChildren<QLabel*>()) ExpectLabelFits(label);
  for (const QAbstractButton* button : root->findChildren<QAbstractButton*>())
    if (!qobject_cast<const QToolButton*>(button)) ExpectButtonFits(button);
  for (const QComboBox* combo : root->findChildren<QComboBox*>()) ExpectComboFits(combo);
  for (const QTabBar* bar : root->findChildren<QTabBar*>()) ExpectTabsFit(bar);
}

class Fit : public GuiTest {
 protected:
  void SetUp() override { QCoreApplication::processEvents(); }
};

// Both pages in every format and tab, the version label's longest texts and the About box.
TEST_F(Fit, EveryTextOfBothPagesAndTheAboutBox) {
  for (int radio : {ControlId::FormatMobileV1, ControlId::FormatMobileV2, ControlId::FormatUnicom, ControlId::FormatGeneral}) {
    QTest::mouseClick(Control<QRadioButton>(qr, radio), Qt::LeftButton);
    for (int tab = 0; tab < ContentTabs()->count(); ++tab) {
      ContentTabs()->setCurrentIndex(tab);
      ExpectEverythingFits(qr);
    }
  }
  for (CDialogTypeBase* page : qr->findChildren<CDialogTypeBase*>()) ExpectNoOverlap(page);
  for (CSymbolPage* page : std::initializer_list<CSymbolPage*>{qr, dm}) {
    ExpectNoOverlap(page);
    auto* label = Control<QLabel>(page, ControlId::VersionLabel);
    for (const char* text : {"(版本: 40)", "(版本: 144)", "(内容过长)"}) {
      label->setText(U(text));
      ExpectLabelFits(label);
    }
  }
  // The longest reason for no symbol stands whole under the picture.
  QTest::mouseClick(Control<QRadioButton>(qr, ControlId::FormatGeneral), Qt::LeftButton);
  ContentTabs()->setCurrentIndex(3);
  TypeInto(Field(Current(), "TEL"), U("一二三"));
  ASSERT_FALSE(qr->PrintedSizeText().isEmpty());
  ExpectLabelFits(qr->findChild<QLabel*>(QStringLiteral("printedSize")));
  ExpectEverythingFits(dm);
  ExpectEverythingFits(window->Tabs()->tabBar());
  ExpectButtonFits(window->AboutButton());
  CAboutDlg about(window.get(), DialogUnits(QApplication::font()));
  about.show();
  ExpectEverythingFits(&about);
  ExpectNoOverlap(&about);
}

// The window against the screen it starts on; the measured size is printed
// for the record.
TEST_F(Fit, TheWindowKeepsTheTemplatesProportionsAndFitsTheScreen) {
  const QScreen* screen = window->screen();
  const double scale = screen->devicePixelRatio();
  const QSize natural = window->NaturalSize();
  std::cout << "[ window   ] " << natural.width() << "x" << natural.height() << " at " << scale * 100 << " % on "
            << screen->size().width() << "x" << screen->size().height() << ", starts at " << window->width() << "x"
            << window->height() << "\n";
  EXPECT_NEAR(double(natural.width()) / natural.height(), 553.0 / 383.0, 0.03);
  // Room for the frame and title bar a window manager adds.
  const QSize decorations(8, 48);
  const QSize available = screen->availableSize();
  EXPECT_LE(window->width() + decorations.width(), available.width());
  EXPECT_LE(window->height() + decorations.height(), available.height());
  if ((natural + decorations).width() <= available.width() && (natural + decorations).height() <= available.height()) {
    EXPECT_EQ(window->size(), natural);
  }
  const QRect about(window->AboutButton()->mapTo(window.get(), QPoint(0, 0)), window->AboutButton()->size());
  EXPECT_LE(about.right(), window->width() - 4);
}

// Smaller than the pages need: the pages keep their layout and scroll, so
// the controls at the far corner can still be reached.
TEST_F(Fit, ASmallWindowScrollsItsPages) {
  window->resize(window->minimumSize());
  QCoreApplication::processEvents();
  EXPECT_LT(window->minimumWidth(), window->NaturalSize().width());
  for (CSymbolPage* page : std::initializer_list<CSymbolPage*>{qr, dm}) {
    window->Tabs()->setCurrentIndex(page == qr ? 0 : 1);
    QCoreApplication::processEvents();
    auto* scroller = qobject_cast<QScrollArea*>(window->Tabs()->currentWidget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_EQ(page->size(), page->minimumSizeHint());
    EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible() && scroller->verticalScrollBar()->isVisible());
    QWidget* save = Control<QWidget>(page, ControlId::Save);
    scroller->ensureWidgetVisible(save);
    const QRect shown(save->mapTo(scroller->viewport(), QPoint(0, 0)), save->size());
    EXPECT_TRUE(scroller->viewport()->rect().contains(shown));
  }
}

}  // namespace
