// A small fixed pool of threads that share the work of one frame. The threads
// are started once and wait between jobs; a job is run as Count() parts, part
// 0 on the calling thread, and Run returns when every part is done.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace qelvar {

class RenderWorkers {
 public:
  // `threads` parts per job (at least 1), threads - 1 of them on pool threads.
  explicit RenderWorkers(int threads);
  ~RenderWorkers();
  RenderWorkers(const RenderWorkers&) = delete;
  RenderWorkers& operator=(const RenderWorkers&) = delete;

  int Count() const { return count_; }

  // Calls job(part) for every part in [0, Count()) and waits for all of them.
  template <class Job>
  void Run(const Job& job) {
    RunParts(&CallJob<Job>, &job);
  }

 private:
  using PartFunction = void (*)(const void* job, int part);
  template <class Job>
  static void CallJob(const void* job, int part) {
    (*static_cast<const Job*>(job))(part);
  }
  void RunParts(PartFunction function, const void* job);
  void WorkerLoop(int part);

  int count_;
  std::mutex mutex_;
  std::condition_variable start_, done_;
  PartFunction function_ = nullptr;
  const void* job_ = nullptr;
  uint64_t generation_ = 0;  // counts jobs; a worker runs each generation once
  int pending_ = 0;          // parts of the current job not yet finished
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// The number of parts a frame is split into on this machine: one per core.
int DefaultRenderThreads();

}  // namespace qelvar
