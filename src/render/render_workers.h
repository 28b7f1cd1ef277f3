// A small fixed pool of threads that share the work of one frame. The threads
// are started once and wait between jobs. A job is a number of pieces; the
// calling thread and the pool threads take the pieces one at a time in
// increasing order until none is left, so a thread slowed by other work on
// the machine takes fewer of them. Run returns when every piece is done.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "render/render_buffers.h"

namespace qelvar {

class RenderWorkers {
 public:
  // `threads` threads in all (at least 1): the caller and threads - 1 in the pool.
  explicit RenderWorkers(int threads);
  ~RenderWorkers();
  RenderWorkers(const RenderWorkers&) = delete;
  RenderWorkers& operator=(const RenderWorkers&) = delete;

  int Count() const { return count_; }

  // Calls job(piece) once for every piece in [0, pieces) and waits for all.
  template <class Job>
  void Run(int pieces, const Job& job) {
    RunPieces(pieces, &CallJob<Job>, &job);
  }

 private:
  using PieceFunction = void (*)(const void* job, int piece);
  template <class Job>
  static void CallJob(const void* job, int piece) {
    (*static_cast<const Job*>(job))(piece);
  }
  void RunPieces(int pieces, PieceFunction function, const void* job);
  void TakePieces();
  void WorkerLoop();

  int count_;
  std::mutex mutex_;
  std::condition_variable start_, done_;
  PieceFunction function_ = nullptr;
  const void* job_ = nullptr;
  int pieces_ = 0;
  std::atomic<int> nextPiece_{0};
  // Counts jobs; a pool thread joins each job once. Written under the mutex,
  // read without it by threads that spin for a moment before they wait.
  std::atomic<uint64_t> generation_{0};
  std::atomic<int> busy_{0};  // pool threads still working on the current job
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// The number of threads a frame is drawn with on this machine: one per core.
int DefaultRenderThreads();

// The threads work on `work` elements (vertices and triangles) is shared
// among: the count SetRenderThreads forced, else one per core from 10 000
// elements on (below that, waking the pool costs more than it saves), else one.
int WorkThreads(const RenderBuffers& buffers, int64_t work);

// Runs job(piece) for every piece in [0, pieces) on `threads` threads: the
// caller's and the buffers' pool, started (or restarted with that count) when
// needed.
template <class Job>
void RunPieces(RenderBuffers& buffers, int threads, int pieces, const Job& job) {
  if (threads == 1) {
    for (int piece = 0; piece < pieces; ++piece) job(piece);
    return;
  }
  if (!buffers.workers || buffers.workers->Count() != threads) {
    buffers.workers = std::make_shared<RenderWorkers>(threads);
  }
  buffers.workers->Run(pieces, job);
}

}  // namespace qelvar
