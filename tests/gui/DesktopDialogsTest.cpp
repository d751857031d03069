// The real file dialog of a save, answered from inside its own event loop:
// Qt's dialogs speak Chinese, its file list too, and it opens in the folder,
// with the filter and the name it is given.
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTreeView>

#include "tests/gui/GuiHelpers.h"

namespace {

QStringList Texts(const QWidget* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->isVisible()) texts << label->text();
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
    if (button->isVisible() && !button->text().isEmpty()) texts << button->text();
  return texts;
}

// The detail view's headers and the texts of the row named `name`, once
// the list has read the folder.
QStringList DetailRow(const QFileDialog* dialog, const QString& name) {
  const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  if (view == nullptr) return {};
  const QAbstractItemModel* model = view->model();
  QStringList texts;
  for (int column = 0; column < model->columnCount(view->rootIndex()); ++column)
    texts << model->headerData(column, Qt::Horizontal).toString();
  QModelIndex row;
  (void)QTest::qWaitFor([&] {
    const QModelIndexList found = model->match(model->index(0, 0, view->rootIndex()), Qt::DisplayRole, name);
    return !found.isEmpty() && (row = found.first()).isValid();
  }, 2000);
  for (int column = 0; row.isValid() && column < model->columnCount(view->rootIndex()); ++column)
    texts << row.siblingAtColumn(column).data().toString();
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
        ASSERT_EQ(row.size(), 8) << row.join(U(" | ")).toStdString();
        EXPECT_EQ(row.mid(0, 4), (QStringList{U("名称"), U("体积"), U("类型"), U("修改日期")}));
        EXPECT_EQ(row[6], U("文件夹"));
        EXPECT_TRUE(QRegularExpression(U(R"(^\d{4}/\d{1,2}/\d{1,2} \d{1,2}:\d{2}$)")).match(row[7]).hasMatch())
            << row[7].toStdString();
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
