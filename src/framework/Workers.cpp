#include "framework/Workers.h"

#include <system_error>

std::vector<std::jthread> StartWorkers(std::size_t count, const std::function<void()>& work)
{
    std::vector<std::jthread> threads;
    threads.reserve(count);
    try {
        for (std::size_t w = 0; w < count; ++w)
            threads.emplace_back(work);
    } catch (const std::system_error&) {
        // No further thread to be had: those started are all there are.
    }
    return threads;
}
