#include "app/BatchRunner.h"

namespace quillet {

BatchRunner::BatchRunner(QObject* parent) : QObject(parent) {}

BatchRunner::~BatchRunner() {
  Cancel();
  if (thread_.joinable()) thread_.join();
}

void BatchRunner::Start(BatchJob job) {
  if (Running()) return;
  job_ = std::move(job);
  cancel_.store(false);
  progress_ = {};
  failures_.clear();
  job_.cancel = &cancel_;
  job_.onProgress = [this](const BatchProgress& progress) {
    const std::lock_guard lock(mutex_);
    progress_ = progress;
  };
  job_.onRow = [this](const BatchRowResult& row) {
    if (row.Ok()) return;
    const std::lock_guard lock(mutex_);
    failures_.push_back(row);
  };
  thread_ = std::thread([this] { Run(); });
}

void BatchRunner::Run() {
  const BatchSummary summary = RunBatch(job_);
  // Back on the user-interface thread; dropped if the runner is gone by then.
  QMetaObject::invokeMethod(
      this,
      [this, summary] {
        if (thread_.joinable()) thread_.join();
        emit Finished(summary);
      },
      Qt::QueuedConnection);
}

BatchProgress BatchRunner::Progress(std::vector<BatchRowResult>* newFailures) {
  const std::lock_guard lock(mutex_);
  if (newFailures) {
    newFailures->insert(newFailures->end(), std::make_move_iterator(failures_.begin()),
                        std::make_move_iterator(failures_.end()));
  }
  failures_.clear();
  return progress_;
}

}  // namespace quillet
