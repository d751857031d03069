// The real file dialog of a save, answered from inside its own event loop:
// Qt's dialogs speak Chinese, its file list too, and it opens in the folder,
// with the filter and the name it is given.

#include "tests/gui/GuiHelpers.h"

using namespace quillet;

namespace {

QStringList Texts(const QWidget* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->isVisible()) texts << label->text();
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
    if (button->isVisible() && !button->text().isEmpty()) texts << button->text();
  return texts;
}

// The texts of the detail view's row named `name`, once the list has read
// the folder.
QStringList DetailRow(const QFileDialog* dialog, const QString& name) {
  const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  QModelIndexList found;
  (void)QTest::qWaitFor([&] {
    found = view->model()->match(view->model()->index(0, 0, view->rootIndex()), Qt::DisplayRole, name);
    return !found.isEmpty();
  }, 2000);
  QStringList texts;
  for (int column = 0; !found.isEmpty() && column < view->model()->columnCount(view->rootIndex()); ++column)
    texts << found.first().siblingAtColumn(column).data().toString();
  return texts;
}

using DesktopDialogs = GuiTest;

TEST_F(DesktopDialogs, TheFileDialogIsChineseAndOpensWhereItIsTold) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir(U("sub")));
  const QStringList filters = {U("位图文件 (*.bmp)"), U("PNG图像文件 (*.png)")};
  std::optional<std::pair<QString, int>> chosen;
  const bool answered = AnswerModal<QFileDialog>(
      [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), U("另存为"));
        const QStringList texts = Texts(dialog);
        for (const char* text : {"查找范围：", "文件名称(&N)：", "文件类型：", "保存(&S)", "取消"})
          EXPECT_TRUE(texts.contains(U(text))) << text << " not in " << texts.join(U(" | ")).toStdString();
        // A folder's row: no English type, a date as China writes it ("2026/12/7 11:25").
        const QStringList row = DetailRow(dialog, U("sub"));
        ASSERT_EQ(row.size(), 4) << row.join(U(" | ")).toStdString();
        EXPECT_EQ(row[2], U("文件夹"));
        EXPECT_TRUE(QRegularExpression(U(R"(^\d{4}/\d{1,2}/\d{1,2} \d{1,2}:\d{2}$)")).match(row[3]).hasMatch())
            << row[3].toStdString();
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
        EXPECT_EQ(dialog->selectedNameFilter(), filters[1]);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), U("symbol.png"));
        name->setText(U("other."));
        QTest::keyClick(name, Qt::Key_Return);
      },
      [&] { chosen = DesktopSaveDialogs().AskSaveFileName(window.get(), {filters, folder.path(), 2, U("symbol.png")}); });
  EXPECT_TRUE(answered);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(chosen->first, QDir(folder.path()).filePath(U("other.")));
  EXPECT_EQ(chosen->second, 2);
}

}  // namespace
