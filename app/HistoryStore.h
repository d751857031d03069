// "最近" kept between runs: an SQLite file in the user's data folder
// (~/.local/share/quillet/history.sqlite), written one transaction a
// change, so that a crash or a full disk loses at most the change under way.
// A file that is not such a database is renamed aside and a new one begun.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "model/History.h"

namespace quillet {

// The folder of the program's data: XDG_DATA_HOME (or ~/.local/share), quillet.
QString HistoryFolder();

class HistoryStore {
 public:
  // Opens history.sqlite in `folder`, or begins it.
  explicit HistoryStore(const QString& folder = HistoryFolder());
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // False when the file could neither be opened nor begun (a folder that
  // cannot be written): nothing is then kept between runs.
  bool Usable() const { return usable_; }
  // The name a damaged file was renamed to; empty when none was.
  const QString& SetAside() const { return setAside_; }
  QString FilePath() const;

  // The newest HistoryCapacity entries, newest first; rows with a value
  // out of bounds are left out.
  std::vector<HistoryEntry> Read() const;
  // The new entry's id; the oldest past the cap go in the same
  // transaction. Nullopt, and nothing changed, when it could not be written.
  std::optional<int64_t> Add(const HistoryEntry& entry);
  bool Remove(int64_t id);
  bool Clear();

 private:
  bool Open();
  bool Healthy();
  void PutAside();
  void Close();

  QString folder_;
  QString connection_;
  QString setAside_;
  bool usable_ = false;
};

}  // namespace quillet
