// Two pieces of work at once: the recognition of a large song splits its
// stages in two halves whose results are the same as the whole's, and gives
// the second half to a thread of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

namespace tonalux::detail {

// Below this much work (notes, or beats) a second thread costs more than it saves.
inline constexpr std::size_t kSideBySideWork = 16384;

// Whether large work may take a second thread at all; the results are the
// same either way, which the tests check by turning it off.
inline std::atomic<bool> SecondThreadAllowed{true};

// Whether work of this size (notes, events or beats, against kSideBySideWork)
// is split in two. Work that is not split is done whole, as one piece.
inline bool Splits(std::size_t work) { return work >= kSideBySideWork && SecondThreadAllowed.load(); }

// Runs `here` on the calling thread and `there` on a thread of its own when
// `split` is true, and returns when both are done; one after the other when
// `split` is false or no thread can be started. An exception of `there` is
// passed on to the caller after both are done.
template <class Here, class There>
void SideBySide(bool split, Here&& here, There&& there) {
    std::exception_ptr failed;
    const auto guarded = [&] {
        try {
            there();
        } catch (...) {
            failed = std::current_exception();
        }
    };
    std::thread second;
    if (split) {
        try {
            second = std::thread(guarded);
        } catch (const std::system_error&) {
            // No thread to be had: the work is done here all the same.
        }
    }
    try {
        here();
    } catch (...) {
        if (second.joinable()) second.join();
        throw;
    }
    if (second.joinable()) second.join();
    else guarded();
    if (failed) std::rethrow_exception(failed);
}

}  // namespace tonalux::detail
