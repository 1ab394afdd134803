// How far a running transfer has come, and the wish to stop it: shared between the thread
// that runs a request and the window that shows it.
#pragma once

#include <atomic>
#include <cstdint>

namespace kx {

struct TWebProgress {
    std::atomic<int64_t> Done{0};   ///< bytes moved so far in the current request
    std::atomic<int64_t> Total{0};  ///< bytes expected, 0 while unknown
    std::atomic<bool> Cancel{false};
};

}  // namespace kx
