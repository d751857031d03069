// Runs one batch on a thread of its own, so that the window keeps painting
// and answering while files are written. The user-interface thread looks at
// the progress when it wants (a timer), instead of being sent every row.
#pragma once

#include <QObject>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/BatchJob.h"

namespace quillet {

class BatchRunner : public QObject {
  Q_OBJECT
 public:
  explicit BatchRunner(QObject* parent = nullptr);
  // Cancels a running batch and waits for the files being written.
  ~BatchRunner() override;

  // Runs `job` (its callbacks and cancel flag are the runner's own); Finished
  // follows on this object's thread.
  void Start(BatchJob job);
  // The rows being written finish; no new row starts.
  void Cancel() { cancel_.store(true); }
  bool Running() const { return thread_.joinable(); }

  // The progress so far, and the failed rows reported since the last call.
  BatchProgress Progress(std::vector<BatchRowResult>* newFailures);

 signals:
  void Finished(const BatchSummary& summary);

 private:
  void Run();

  BatchJob job_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;
  std::mutex mutex_;
  BatchProgress progress_;
  std::vector<BatchRowResult> failures_;
};

}  // namespace quillet
