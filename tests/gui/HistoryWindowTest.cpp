// "最近" in the window: what a page saves and copies is listed, one click
// opens it again with its settings, and deleting reaches the file.
#include "app/HistoryDialog.h"
#include "app/HistoryStore.h"
#include "app/OpenImage.h"
#include "app/WindowHistory.h"
#include "model/StylePresets.h"
#include "tests/gui/GuiHelpers.h"

namespace {

CHistoryDlg* OpenHistory(CDialogMain& window) {
  window.ShowHistory();
  auto* dialog = window.findChild<CHistoryDlg*>();
  EXPECT_TRUE(dialog != nullptr && QTest::qWaitForWindowExposed(dialog));
  return dialog;
}

// Only "清空" asks anything here.
class ClearAnswer : public OpenDialogs {
 public:
  bool answer = false;
  int asked = 0;
  QString AskImageFile(QWidget*) override { return {}; }
  int PickSymbol(QWidget*, const QString&, const QStringList&) override { return -1; }
  Choice AskNotHeld(QWidget*, const QString&) override { return Choice::Cancel; }
  void ShowMessage(QWidget*, const QString&) override {}
  bool AskClearHistory(QWidget*, const QString& question) override {
    ++asked;
    EXPECT_FALSE(question.isEmpty());
    return answer;
  }
};

void ClickRow(QTreeWidget* list, int row) {
  QTreeWidgetItem* item = list->topLevelItem(row);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

TEST(HistoryWindow, ASavedSymbolIsListedAndOneClickOpensItAgain) {
  QTemporaryDir folder;
  CDialogMain window;
  window.show();
  CTesselDlg* qr = window.QrPage();
  FakeSaveDialogs dialogs;
  qr->SetSaveDialogs(&dialogs);
  const int slot = qr->CurrentPage()->Definition().fields[0].slot;
  qr->SetFieldValue(static_cast<unsigned>(slot), "张三");
  qr->ChooseVersion(5);
  Control<QCheckBox>(qr, ControlId::Eci)->setChecked(true);
  Control<QSlider>(qr, ControlId::Zoom)->setValue(7);
  const std::string payload = qr->CurrentPayload();
  dialogs.answers.emplace_back(folder.path() + U("/card.png"), 4);
  qr->SaveAndVerify();

  ASSERT_EQ(window.History().List().Entries().size(), 1u);
  const HistoryEntry& saved = window.History().List().Entries()[0];
  EXPECT_EQ(saved.kind, HistoryKind::Saved);
  // The thumbnail is the symbol saved: a decoder reads the payload from it.
  QImage thumbnail;
  ASSERT_TRUE(thumbnail.loadFromData(QByteArray::fromStdString(saved.thumbnailPng), "PNG"));
  EXPECT_EQ(DecodePicture(thumbnail, DecodeFormat::QrCode), QrPrefix + payload);

  ClickButton(qr, ControlId::Reset);
  Control<QCheckBox>(qr, ControlId::Eci)->setChecked(false);
  qr->ChooseVersion(0);
  Control<QSlider>(qr, ControlId::Zoom)->setValue(3);
  ASSERT_NE(qr->CurrentPayload(), payload);

  CHistoryDlg* dialog = OpenHistory(window);
  ASSERT_EQ(dialog->List()->topLevelItemCount(), 1);
  EXPECT_EQ(dialog->List()->topLevelItem(0)->text(2), U("张三"));
  EXPECT_TRUE(dialog->List()->topLevelItem(0)->text(3).endsWith(U("card.png")));
  ClickRow(dialog->List(), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.findChild<CHistoryDlg*>() == nullptr; }, 3000));
  EXPECT_EQ(qr->FieldValues()[static_cast<size_t>(slot)], "张三");
  EXPECT_EQ(qr->CurrentPayload(), payload);
  EXPECT_EQ(qr->Choice().symbol.version, 5);
  EXPECT_TRUE(Control<QCheckBox>(qr, ControlId::Eci)->isChecked());
  EXPECT_EQ(qr->Scale(), 7);
}

// The list shows the symbol as its files look: in its colours, framed, and
// still a symbol a decoder reads.
TEST(HistoryWindow, TheThumbnailIsDrawnInTheStyle) {
  CDialogMain window;
  window.show();
  CTesselDlg* qr = window.QrPage();
  FakeSaveDialogs dialogs;
  qr->SetSaveDialogs(&dialogs);
  qr->SetFieldValue(static_cast<unsigned>(qr->CurrentPage()->Definition().fields[0].slot), "张三");
  PageStyle style;
  style.style.foreground = {0x1f, 0x3a, 0x93};
  style.style.frameText = "扫一扫";
  qr->SetStyle(style);
  qr->CopySymbol();
  ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].first.toStdString();
  ASSERT_EQ(window.History().List().Entries().size(), 1u);
  QImage thumbnail;
  ASSERT_TRUE(thumbnail.loadFromData(QByteArray::fromStdString(window.History().List().Entries()[0].thumbnailPng), "PNG"));
  EXPECT_LE(std::max(thumbnail.width(), thumbnail.height()), 96);
  // The caption's band makes a framed symbol taller than wide.
  EXPECT_GT(thumbnail.height(), thumbnail.width());
  bool coloured = false;
  for (int y = 0; y < thumbnail.height() && !coloured; ++y)
    for (int x = 0; x < thumbnail.width() && !coloured; ++x) coloured = thumbnail.pixelColor(x, y) == QColor(0x1f, 0x3a, 0x93);
  EXPECT_TRUE(coloured);
  EXPECT_EQ(DecodePicture(thumbnail, DecodeFormat::QrCode), QrPrefix + qr->CurrentPayload());
}

// Every part of the style goes into the file and comes back into the page
// (the file's side of it is HistoryStoreTest.WhatGoesInComesBackInANewRun's).
TEST(HistoryWindow, AnEntryOpensWithItsWholeStyleInANewRun) {
  QTemporaryDir data;
  HistoryEntry entry;
  entry.kind = HistoryKind::Saved;
  entry.time = 1'765'000'000;
  entry.choice.contentPage = {GeneralFormat, 0};
  entry.fields = {{PageForTab(GeneralFormat, 0)->fields[0].slot, "张三"}};
  entry.firstField = "张三";
  PageStyle& page = entry.choice.style;
  page.style = WithGradient(WithPreset({}, StylePreset::Brand, Symbology::QrCode), Gradient::Linear);
  page.style.transparentBackground = true;
  page.style.logoShare = 0.2;
  page.style.frameText = "扫一扫";
  page.style.logoPad = LogoPad::Square;
  page.allowed.lowContrast = true;
  { ASSERT_TRUE(HistoryStore(data.path()).Add(entry)); }

  CDialogMain window;
  window.History().Keep(std::make_unique<HistoryStore>(data.path()));
  window.show();
  ASSERT_EQ(window.History().List().Entries().size(), 1u);
  OpenEntry(window, window.History().List().Entries()[0]);
  // Everything but the logo's pixels, which come again from its file.
  const PageStyle& shown = window.QrPage()->Style();
  EXPECT_EQ(StyleValues(shown.style), StyleValues(page.style));
  EXPECT_EQ(shown.style.logoShare, 0.2);
  EXPECT_EQ(std::pair(shown.allowed.lowContrast, shown.allowed.inverted), std::pair(true, false));
}

TEST(HistoryWindow, DeletingReachesTheFileAndTurnedOffNothingIsRecorded) {
  QTemporaryDir data;
  CDialogMain window;
  ClearAnswer clearing;
  window.SetOpenDialogs(clearing);
  window.History().Keep(std::make_unique<HistoryStore>(data.path()));
  window.Tabs()->setCurrentIndex(1);
  window.show();
  CDialogDM* dm = window.DmPage();
  for (const char* text : {"one", "two", "three"}) {
    dm->OpenText(U(text));
    dm->CopySymbol();
  }
  CHistoryDlg* dialog = OpenHistory(window);
  ASSERT_EQ(dialog->List()->topLevelItemCount(), 3);
  EXPECT_EQ(dialog->List()->topLevelItem(0)->text(2), U("three"));
  dialog->List()->setCurrentItem(dialog->List()->topLevelItem(1));
  QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);
  ASSERT_EQ(dialog->List()->topLevelItemCount(), 2);
  EXPECT_EQ(dialog->List()->topLevelItem(1)->text(2), U("one"));
  EXPECT_EQ(HistoryStore(data.path()).Read().size(), 2u);

  dialog->OnBox()->setChecked(false);
  // "否" keeps everything, in the list and in the file; "是" takes it all.
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes);
    clearing.answer = yes;
    QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
    const int left = yes ? 0 : 2;
    EXPECT_EQ(dialog->List()->topLevelItemCount(), left);
    EXPECT_EQ(HistoryStore(data.path()).Read().size(), static_cast<size_t>(left));
  }
  EXPECT_EQ(clearing.asked, 2);
  dialog->reject();
  dm->OpenText(U("four"));
  dm->CopySymbol();
  EXPECT_TRUE(window.History().List().Entries().empty());
  EXPECT_TRUE(HistoryStore(data.path()).Read().empty());
}

}  // namespace
