// The window's "最近": the list, kept in the store once the program gives
// it one (tests and the soak keep theirs in memory), entries made from the
// pages, and an entry opened again in its page.
#pragma once

#include <QString>
#include <memory>

#include "model/History.h"

namespace quillet {

class CDialogDM;
class CDialogMain;
class CSymbolPage;
class CTesselDlg;
class HistoryStore;

class WindowHistory {
 public:
  WindowHistory();
  ~WindowHistory();

  const History& List() const { return list_; }
  // Lists what `store` holds and keeps every change in it from now on.
  void Keep(std::unique_ptr<HistoryStore> store);
  const HistoryStore* Store() const { return store_.get(); }
  // Stamped now and put at the top; nothing while the history is off.
  void Record(HistoryEntry entry);
  void Remove(int64_t id);
  void Clear();
  void SetOn(bool on) { list_.SetOn(on); }

 private:
  History list_;
  std::unique_ptr<HistoryStore> store_;
  int64_t unstored_ = 0;  // ids of entries kept in memory only, below 0
};

// What the page shows, as an entry of `kind`.
HistoryEntry EntryOf(const CTesselDlg& page, HistoryKind kind, const QString& place);
HistoryEntry EntryOf(const CDialogDM& page, HistoryKind kind, const QString& place);

// The entry's page shown with its content, settings and style; a logo that
// no longer loads is left out.
void OpenEntry(CDialogMain& window, const HistoryEntry& entry);

}  // namespace quillet
