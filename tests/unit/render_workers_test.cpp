// The frame's thread pool: every piece of every job runs exactly once, and a
// job is finished when Run returns, whatever the counts of threads and pieces.
#include "render/render_workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace qelvar {
namespace {

TEST(RenderWorkers, EveryPieceOfEveryJobRunsOnceBeforeRunReturns) {
  for (int threads : {1, 2, 3, 7}) {
    RenderWorkers workers(threads);
    EXPECT_EQ(workers.Count(), threads);
    for (int pieces : {0, 1, 2, 5, 40}) {
      for (int job = 0; job < 30; ++job) {  // jobs follow each other as a frame's steps do
        std::vector<std::atomic<int>> runs(static_cast<size_t>(pieces));
        workers.Run(pieces, [&](int piece) { runs[static_cast<size_t>(piece)].fetch_add(1); });
        for (int piece = 0; piece < pieces; ++piece) {
          ASSERT_EQ(runs[static_cast<size_t>(piece)].load(), 1)
              << threads << " threads, " << pieces << " pieces, piece " << piece;
        }
      }
    }
  }
}

}  // namespace
}  // namespace qelvar
