#include "ParallelSend.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qv::cli {

void RunInOrder(std::size_t count, int workers, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& done)
{
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<bool> ready(count, false);
    std::vector<std::exception_ptr> errors(count);
    std::size_t next = 0;
    bool stop = false;

    const auto worker = [&] {
        for (;;) {
            std::size_t i;
            {
                const std::lock_guard lock(mutex);
                if (stop || next == count)
                    return;
                i = next++;
            }
            std::exception_ptr error;
            try {
                work(i);
            } catch (...) {
                error = std::current_exception();
            }
            const std::lock_guard lock(mutex);
            errors[i] = error;
            ready[i] = true;
            finished.notify_all();
        }
    };
    std::vector<std::jthread> threads;
    const auto size = std::min<std::size_t>(count, static_cast<std::size_t>(std::max(workers, 1)));
    for (std::size_t t = 0; t < size; ++t)
        threads.emplace_back(worker);

    std::exception_ptr failure;
    for (std::size_t i = 0; i < count && !failure; ++i) {
        {
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return ready[i]; });
            failure = errors[i];
            stop = stop || failure;
        }
        if (!failure) {
            try {
                done(i);
            } catch (...) {
                failure = std::current_exception();
                const std::lock_guard lock(mutex);
                stop = true;
            }
        }
    }
    threads.clear();  // joins
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace qv::cli
