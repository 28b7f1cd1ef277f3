// The frame's worker threads: a generation counter under one mutex tells the
// waiting threads that a new job is there; the last part to finish wakes the
// caller.
#include "render/render_workers.h"

#include <algorithm>

namespace qelvar {

RenderWorkers::RenderWorkers(int threads) : count_(std::max(threads, 1)) {
  threads_.reserve(static_cast<size_t>(count_ - 1));
  for (int part = 1; part < count_; ++part)
    threads_.emplace_back([this, part] { WorkerLoop(part); });
}

RenderWorkers::~RenderWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void RenderWorkers::RunParts(PartFunction function, const void* job) {
  if (count_ == 1) {
    function(job, 0);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    function_ = function, job_ = job;
    pending_ = count_ - 1;
    ++generation_;
  }
  start_.notify_all();
  function(job, 0);
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return pending_ == 0; });
}

void RenderWorkers::WorkerLoop(int part) {
  uint64_t seen = 0;
  for (;;) {
    PartFunction function;
    const void* job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
      function = function_, job = job_;
    }
    function(job, part);
    std::lock_guard<std::mutex> lock(mutex_);
    if (--pending_ == 0) done_.notify_one();
  }
}

int DefaultRenderThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 32u));
}

}  // namespace qelvar
