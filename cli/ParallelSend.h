// Work on many targets at once with results taken in their order.
#pragma once

#include <cstddef>
#include <functional>

namespace qv::cli {

// Runs work(i) for each i below `count` on up to `workers` threads and calls
// done(i) on the calling thread in the order of i, each as soon as work(i)
// and every done before it have finished. An exception from work(i) is
// thrown by this function when done(i) would be called, after the threads
// have ended (the items not yet started are then skipped).
void RunInOrder(std::size_t count, int workers, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done);

}  // namespace qv::cli
