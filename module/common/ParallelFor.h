// The one parallel loop of the module.
//
// Runs body(i) for every i in [first, last) on the worker threads with automatic partitioning.
// With sequential set the loop runs in index order on the calling thread, so a seeded run can be
// checked to give the same answer both ways. A range of one index always runs on the caller.
#pragma once

#include <oneapi/tbb/parallel_for.h>
#include <oneapi/tbb/partitioner.h>

#if defined(__SANITIZE_THREAD__)
#define GANTREL_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define GANTREL_TSAN 1
#endif
#endif

#ifdef GANTREL_TSAN
// The packaged oneTBB library is not instrumented, so ThreadSanitizer cannot see that spawning
// the loop orders the caller's writes before every iteration, and that the loop's end orders
// every iteration before the caller continues. These annotations state exactly those two edges.
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace gantrel {

template <typename Body> void ParallelFor(int first, int last, const Body& body, bool sequential) {
    if (sequential || last - first <= 1) {
        for (int i = first; i < last; ++i) {
            body(i);
        }
        return;
    }
#ifdef GANTREL_TSAN
    int start = 0;
    int finish = 0;
    __tsan_release(&start);
    tbb::parallel_for(
        first, last, 1,
        [&body, &start, &finish](int i) {
            __tsan_acquire(&start);
            body(i);
            __tsan_release(&finish);
        },
        tbb::auto_partitioner());
    __tsan_acquire(&finish);
#else
    tbb::parallel_for(first, last, 1, body, tbb::auto_partitioner());
#endif
}

} // namespace gantrel
