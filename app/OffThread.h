// Slow work (reading an image, reading a styled symbol back) runs on Qt's
// thread pool so that the window keeps answering; its result reaches the
// window's thread through the watcher's finished signal. Setting a new
// future on the watcher leaves the older one's result undelivered.
#pragma once

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <memory>
#include <utility>

namespace quillet {

// `work` must own what it reads: it may outlive the caller's objects.
template <typename Result, typename Work>
void RunOffThread(QFutureWatcher<Result>& watcher, Work work) {
  auto promise = std::make_shared<QPromise<Result>>();
  watcher.setFuture(promise->future());
  promise->start();
  QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
    promise->addResult(work());
    promise->finish();
  });
}

}  // namespace quillet
