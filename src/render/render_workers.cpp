// The frame's worker threads: a generation counter under one mutex tells the
// waiting threads that a new job is there, an atomic counter hands out its
// pieces, and the last pool thread to finish wakes the caller.
#include "render/render_workers.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qelvar {
namespace {

// How long a thread polls before it sleeps: the steps of a frame follow each
// other within microseconds, while waking a sleeping thread takes tens of them.
constexpr int kSpins = 4000;

template <class Done>
void SpinUntil(const Done& done) {
  for (int i = 0; i < kSpins && !done(); ++i) {
#if defined(__SSE2__)
    _mm_pause();
#endif
  }
}

}  // namespace

RenderWorkers::RenderWorkers(int threads) : count_(std::max(threads, 1)) {
  threads_.reserve(static_cast<size_t>(count_ - 1));
  for (int i = 1; i < count_; ++i) threads_.emplace_back([this] { WorkerLoop(); });
}

RenderWorkers::~RenderWorkers() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  start_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void RenderWorkers::TakePieces() {
  for (int piece = nextPiece_.fetch_add(1); piece < pieces_; piece = nextPiece_.fetch_add(1)) {
    function_(job_, piece);
  }
}

void RenderWorkers::RunPieces(int pieces, PieceFunction function, const void* job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    function_ = function, job_ = job, pieces_ = pieces;
    nextPiece_.store(0);
    busy_ = count_ - 1;
    ++generation_;
  }
  if (count_ > 1) start_.notify_all();
  TakePieces();
  SpinUntil([this] { return busy_.load() == 0; });
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return busy_.load() == 0; });
}

void RenderWorkers::WorkerLoop() {
  uint64_t seen = 0;
  for (;;) {
    SpinUntil([&] { return generation_.load() != seen; });
    {
      std::unique_lock<std::mutex> lock(mutex_);
      start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
    }
    TakePieces();  // the job's fields were set under the mutex before the generation moved
    std::lock_guard<std::mutex> lock(mutex_);
    if (--busy_ == 0) done_.notify_one();
  }
}

int DefaultRenderThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

namespace {

// Below this many elements a frame is drawn on one thread: waking the pool
// (some 0.2 ms a frame here) would cost more than it saves; a 10 000-triangle
// grid filling the screen already gains from two.
constexpr int64_t kParallelWork = 10000;

// More threads than this would split a frame into bands of a row or two.
constexpr int kMaxRenderThreads = 64;

}  // namespace

int WorkThreads(const RenderBuffers& buffers, int64_t work) {
  if (buffers.threads > 0) return std::min(buffers.threads, kMaxRenderThreads);
  return work >= kParallelWork ? std::min(DefaultRenderThreads(), kMaxRenderThreads) : 1;
}

}  // namespace qelvar
