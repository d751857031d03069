// The "最近" dialog: the history newest first (picture, format and page,
// content, where it went, when); one click opens an entry in its page.
// "删除" (or Delete, or the context menu) takes the current entry away,
// "清空", once confirmed, all of them; the check box turns the history off.
#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace quillet {

class OpenDialogs;
class WindowHistory;

class CHistoryDlg : public QDialog {
  Q_OBJECT
 public:
  // `dialogs` asks before "清空" takes everything.
  CHistoryDlg(QWidget* parent, WindowHistory& history, OpenDialogs& dialogs);

  QTreeWidget* List() const { return list_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* ClearButton() const { return clear_; }
  QCheckBox* OnBox() const { return on_; }
  // The entry clicked, once the dialog closed on it.
  std::optional<int64_t> Chosen() const { return chosen_; }

 public slots:
  void DeleteCurrent();
  void ClearAll();

 private:
  void Fill();

  WindowHistory& history_;
  OpenDialogs& dialogs_;
  QTreeWidget* list_;
  QPushButton* delete_;
  QPushButton* clear_;
  QCheckBox* on_;
  std::optional<int64_t> chosen_;
};

}  // namespace quillet
