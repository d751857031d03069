#include "app/ScreenDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

constexpr int ThumbnailSide = 96;
// The message shows this much of a long content; the page takes all of it.
constexpr int ShownTextLength = 300;

}  // namespace

int PickShownSymbol(QWidget* parent, const QString& label, const QStringList& items, const QList<QImage>& thumbnails) {
  QDialog dialog(parent);
  dialog.setWindowTitle(FromUtf8(UiText::PickSymbolTitle));
  auto* list = new QListWidget;
  list->setIconSize({ThumbnailSide, ThumbnailSide});
  for (qsizetype i = 0; i < items.size(); ++i) {
    const QImage thumbnail = i < thumbnails.size() ? thumbnails[i] : QImage();
    auto* item = new QListWidgetItem(items[i], list);
    if (!thumbnail.isNull())
      item->setIcon(QPixmap::fromImage(thumbnail.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  }
  list->setCurrentRow(0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* region = buttons->addButton(FromUtf8(UiText::ScreenPickRegion), QDialogButtonBox::ActionRole);
  int chosen = -1;
  QObject::connect(region, &QPushButton::clicked, &dialog, [&] { chosen = OpenDialogs::PickRegion, dialog.reject(); });
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(label));
  layout->addWidget(list);
  layout->addWidget(buttons);
  if (dialog.exec() == QDialog::Accepted) return list->currentRow();
  return chosen;
}

bool AskForRegion(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Information, FromUtf8(UiText::ScreenEntry), text, QMessageBox::Close, parent);
  QPushButton* region = box.addButton(FromUtf8(UiText::ScreenPickRegion), QMessageBox::AcceptRole);
  box.exec();
  return box.clickedButton() == region;
}

OpenDialogs::TextAction AskForTextAction(QWidget* parent, const QString& text, const TextActions& offered) {
  using Action = OpenDialogs::TextAction;
  const QString shown = text.size() > ShownTextLength ? text.left(ShownTextLength) + QStringLiteral("…") : text;
  QMessageBox box(QMessageBox::Question, FromUtf8(UiText::TextActionTitle), FromUtf8(UiText::TextActionLabel).arg(shown),
                  QMessageBox::Cancel, parent);
  box.setTextFormat(Qt::PlainText);
  QList<std::pair<QAbstractButton*, Action>> actions;
  if (offered.openLink) actions.append({box.addButton(FromUtf8(UiText::TextOpenLink), QMessageBox::AcceptRole), Action::OpenLink});
  if (offered.copyText) actions.append({box.addButton(FromUtf8(UiText::TextCopy), QMessageBox::AcceptRole), Action::CopyText});
  if (offered.editAsText) actions.append({box.addButton(FromUtf8(UiText::TextEdit), QMessageBox::AcceptRole), Action::EditAsText});
  box.setDefaultButton(static_cast<QPushButton*>(actions.first().first));
  box.exec();
  for (const auto& [button, action] : actions)
    if (box.clickedButton() == button) return action;
  return Action::Cancel;
}

}  // namespace quillet
