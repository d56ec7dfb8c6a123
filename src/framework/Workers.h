#pragma once
// Worker threads for passes spread over the cores.

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

// Starts up to count threads, each running work. When the system has no further thread to give,
// fewer (none, at worst) are started: the caller's own thread must be ready to do the rest. The
// threads are joined when the list goes.
std::vector<std::jthread> StartWorkers(std::size_t count, const std::function<void()>& work);
