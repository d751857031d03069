// Rows encoded and written on several threads, reported in row order. The
// reading thread submits rows and reports results; at most a fixed window of
// rows is between the two, so memory stays bounded however long the input is.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "batch/BatchRows.h"

namespace quillet {

class RowPipeline {
 public:
  using Report = std::function<void(const BatchRowResult&)>;

  // With one job everything runs on the calling thread.
  RowPipeline(int jobs, std::function<std::unique_ptr<RowEncoder>()> makeEncoder, Report report,
              const std::atomic<bool>* cancel);
  ~RowPipeline();

  // Rows must come numbered 1, 2, 3, ...; blocks while the window is full.
  void Submit(RowTask task);
  // Waits for every row submitted (or, once cancelled, for the rows already
  // being written; rows still queued are dropped) and reports them.
  void Finish();

 private:
  void Work(RowEncoder& encoder);
  void ReportReady(std::unique_lock<std::mutex>& lock);
  bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

  Report report_;
  const std::atomic<bool>* cancel_;
  size_t window_;
  std::unique_ptr<RowEncoder> inlineEncoder_;

  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable done_;
  std::deque<RowTask> queue_;
  std::map<long, BatchRowResult> finished_;
  long submitted_ = 0;
  long reported_ = 0;
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace quillet
