// The real dialogs of a save, answered from inside their own event loops:
// Qt's file dialog and message boxes speak Chinese, carry the program's
// name, and the file dialog opens in the folder, with the filter and the
// name it is given.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "tests/gui/GuiHelpers.h"

namespace {

// Runs `answer` on the modal dialog of type T once it is up; false when none came.
template <typename T>
bool AnswerModal(const std::function<void(T*)>& answer, const std::function<void()>& open) {
  bool answered = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    poll.stop();
    answered = true;
    answer(dialog);
  });
  poll.start(10);
  open();
  return answered;
}

QStringList Texts(const QWidget* dialog) {
  QStringList texts;
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->isVisible()) texts << label->text();
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
    if (button->isVisible() && !button->text().isEmpty()) texts << button->text();
  return texts;
}

using DesktopDialogs = GuiTest;

TEST_F(DesktopDialogs, TheFileDialogIsChineseAndOpensWhereItIsTold) {
  QTemporaryDir folder;
  const QStringList filters = {U("位图文件 (*.bmp)"), U("PNG图像文件 (*.png)")};
  std::optional<std::pair<QString, int>> chosen;
  const bool answered = AnswerModal<QFileDialog>(
      [&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), U("另存为"));
        const QStringList texts = Texts(dialog);
        for (const char* text : {"查找范围：", "文件名称(&N)：", "文件类型：", "保存(&S)", "取消"})
          EXPECT_TRUE(texts.contains(U(text))) << text << " not in " << texts.join(U(" | ")).toStdString();
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

TEST_F(DesktopDialogs, MessageBoxesAreChineseAndCarryTheProgramsName) {
  bool replace = true;
  EXPECT_TRUE(AnswerModal<QMessageBox>(
      [](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), U("Quillet"));
        EXPECT_EQ(box->button(QMessageBox::Yes)->text(), U("是(&Y)"));
        EXPECT_EQ(box->button(QMessageBox::No)->text(), U("否(&N)"));
        box->button(QMessageBox::No)->click();
      },
      [&] { replace = DesktopSaveDialogs().ConfirmOverwrite(window.get(), U("/tmp/x.png")); }));
  EXPECT_FALSE(replace);
  EXPECT_TRUE(AnswerModal<QMessageBox>(
      [](QMessageBox* box) {
        EXPECT_EQ(box->windowTitle(), U("Quillet"));
        EXPECT_EQ(box->text(), U("请先生成图片"));
        EXPECT_EQ(box->button(QMessageBox::Ok)->text(), U("确定"));
        box->button(QMessageBox::Ok)->click();
      },
      [&] { DesktopSaveDialogs().ShowMessage(window.get(), U("请先生成图片"), true); }));
}

}  // namespace
