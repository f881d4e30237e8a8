#pragma once

#include "field.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

namespace engine::detail {

// Hands the tasks 0 to count − 1 out in chunks to the threads of `options`, the calling
// thread among them, and waits for all. Each thread makes its own worker (its working
// arrays) with makeWorker() and calls it with each chunk's first and end task. Only the
// calling thread asks `cancelled`; a yes stops every thread at its next chunk, and the
// result is false.
template<class MakeWorker>
bool RunChunked(std::size_t count, std::size_t chunk, const FieldOptions &options,
                const std::function<bool()> &cancelled, const MakeWorker &makeWorker)
{
    std::atomic<std::size_t> next {0};
    std::atomic<bool> stop {false};
    const auto run = [&](bool asks) {
        auto worker = makeWorker();
        for (;;) {
            if (asks && cancelled && cancelled())
                stop = true;
            const std::size_t begin = stop ? count : next.fetch_add(chunk);
            if (begin >= count)
                return;
            worker(begin, std::min(count, begin + chunk));
        }
    };
    const unsigned wanted =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads =
        std::max<std::size_t>(1, std::min<std::size_t>(wanted, (count + chunk - 1) / chunk));
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t)
        helpers.emplace_back(run, false);
    run(true);
    for (std::thread &helper : helpers)
        helper.join();
    return !stop;
}

} // namespace engine::detail
