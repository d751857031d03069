#include "app/HistoryDialog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/OpenImage.h"
#include "app/WindowHistory.h"
#include "gui/TextBytes.h"
#include "res/Strings.h"

namespace quillet {

namespace {

constexpr int IdRole = Qt::UserRole;

QString PageName(const HistoryEntry& entry) {
  if (entry.symbology() == Symbology::DataMatrix) return FromUtf8(UiText::DmTab);
  const FormatTab page = entry.choice.contentPage;
  return FromUtf8(FindOperatorFormat(page.format)->caption) + QStringLiteral(" / ") +
         FromUtf8(BareTabCaption(*FindTab(page.format, page.tab)));
}

QString PlaceOf(const HistoryEntry& entry) {
  const QString kind = FromUtf8(UiText::HistoryKinds[static_cast<int>(entry.kind)]);
  return entry.place.empty() ? kind : kind + QStringLiteral(" ") + QString::fromStdString(entry.place);
}

QTreeWidgetItem* ItemOf(const HistoryEntry& entry) {
  const QString time = QDateTime::fromSecsSinceEpoch(entry.time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
  auto* item = new QTreeWidgetItem({QString(), PageName(entry), QString::fromStdString(entry.firstField).simplified(),
                                    PlaceOf(entry), time});
  QPixmap thumbnail;
  const auto& png = entry.thumbnailPng;
  if (thumbnail.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<uint>(png.size()), "PNG"))
    item->setIcon(0, QIcon(thumbnail));
  item->setData(0, IdRole, QVariant::fromValue<qlonglong>(entry.id));
  item->setToolTip(3, QString::fromStdString(entry.place));
  return item;
}

}  // namespace

CHistoryDlg::CHistoryDlg(QWidget* parent, WindowHistory& history, OpenDialogs& dialogs)
    : QDialog(parent),
      history_(history),
      dialogs_(dialogs),
      list_(new QTreeWidget),
      delete_(new QPushButton(FromUtf8(UiText::HistoryDelete))),
      clear_(new QPushButton(FromUtf8(UiText::HistoryClear))),
      on_(new QCheckBox(FromUtf8(UiText::HistoryOn))) {
  setWindowTitle(FromUtf8(UiText::HistoryTitle));
  QStringList columns;
  for (std::string_view column : UiText::HistoryColumns) columns << FromUtf8(column);
  list_->setHeaderLabels(columns);
  list_->setRootIsDecorated(false);
  list_->setIconSize(QSize(48, 48));
  list_->setToolTip(FromUtf8(UiText::HistoryOpenTip));
  list_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    chosen_ = item->data(0, IdRole).toLongLong();
    accept();
  });
  connect(list_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QTreeWidgetItem* item = list_->itemAt(at)) {
      list_->setCurrentItem(item);
      QMenu menu(this);
      menu.addAction(FromUtf8(UiText::HistoryDelete), this, &CHistoryDlg::DeleteCurrent);
      menu.exec(list_->viewport()->mapToGlobal(at));
    }
  });
  new QShortcut(QKeySequence::Delete, list_, this, &CHistoryDlg::DeleteCurrent, Qt::WidgetShortcut);
  connect(delete_, &QPushButton::clicked, this, &CHistoryDlg::DeleteCurrent);
  connect(clear_, &QPushButton::clicked, this, &CHistoryDlg::ClearAll);
  on_->setChecked(history.List().On());
  connect(on_, &QCheckBox::toggled, this, [this](bool on) { history_.SetOn(on); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->addButton(delete_, QDialogButtonBox::ActionRole);
  buttons->addButton(clear_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(on_);
  layout->addWidget(buttons);
  resize(760, 480);
  Fill();
}

void CHistoryDlg::Fill() {
  list_->clear();
  for (const HistoryEntry& entry : history_.List().Entries()) list_->addTopLevelItem(ItemOf(entry));
  list_->header()->resizeSections(QHeaderView::ResizeToContents);
  const bool any = list_->topLevelItemCount() > 0;
  delete_->setEnabled(any);
  clear_->setEnabled(any);
}

void CHistoryDlg::DeleteCurrent() {
  const QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr) return;
  const int row = list_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
  history_.Remove(item->data(0, IdRole).toLongLong());
  Fill();
  list_->setCurrentItem(list_->topLevelItem(std::min(row, list_->topLevelItemCount() - 1)));
}

void CHistoryDlg::ClearAll() {
  if (!dialogs_.AskClearHistory(this, FromUtf8(UiText::HistoryClearQuestion))) return;
  history_.Clear();
  Fill();
}

}  // namespace quillet
