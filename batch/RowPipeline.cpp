#include "batch/RowPipeline.h"

namespace quillet {

RowPipeline::RowPipeline(int jobs, std::function<std::unique_ptr<RowEncoder>()> makeEncoder, Report report,
                         const std::atomic<bool>* cancel)
    : report_(std::move(report)), cancel_(cancel), window_(static_cast<size_t>(jobs) * 4 + 4) {
  if (jobs <= 1) {
    inlineEncoder_ = makeEncoder();
    return;
  }
  for (int i = 0; i < jobs; ++i)
    threads_.emplace_back([this, encoder = std::shared_ptr<RowEncoder>(makeEncoder())] { Work(*encoder); });
}

RowPipeline::~RowPipeline() { Finish(); }

void RowPipeline::Submit(RowTask task) {
  if (inlineEncoder_) {
    report_(inlineEncoder_->Encode(task));
    return;
  }
  std::unique_lock lock(mutex_);
  for (;;) {
    ReportReady(lock);
    if (static_cast<size_t>(submitted_ - reported_) < window_) break;
    done_.wait(lock);
  }
  queue_.push_back(std::move(task));
  ++submitted_;
  work_.notify_one();
}

void RowPipeline::Finish() {
  if (threads_.empty()) return;
  std::unique_lock lock(mutex_);
  closing_ = true;
  if (Cancelled()) {
    // Queued rows are the last ones submitted: dropping them leaves no gap.
    submitted_ -= static_cast<long>(queue_.size());
    queue_.clear();
  }
  work_.notify_all();
  for (;;) {
    ReportReady(lock);
    if (reported_ == submitted_) break;
    done_.wait(lock);
  }
  lock.unlock();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

void RowPipeline::Work(RowEncoder& encoder) {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return !queue_.empty() || closing_; });
    if (queue_.empty()) return;
    RowTask task = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    BatchRowResult result = encoder.Encode(task);
    lock.lock();
    finished_.emplace(result.row, std::move(result));
    done_.notify_one();
  }
}

// Reports, outside the lock, every finished row whose predecessors are all reported.
void RowPipeline::ReportReady(std::unique_lock<std::mutex>& lock) {
  for (auto next = finished_.find(reported_ + 1); next != finished_.end(); next = finished_.find(reported_ + 1)) {
    BatchRowResult result = std::move(next->second);
    finished_.erase(next);
    ++reported_;
    lock.unlock();
    report_(result);
    lock.lock();
  }
}

}  // namespace quillet
