#pragma once

#include <new>
#include <stdexcept>
#include <type_traits>

namespace pictor {

/// Runs `work()` and returns its result; when it runs out of memory (std::bad_alloc,
/// or std::length_error for a size no container can hold) returns a value-initialised
/// result instead (false, nothing, an empty picture). For decoders and encoders: a
/// picture too large for the memory at hand is refused like a damaged one, and the
/// program goes on. Whatever `work` had taken is freed by then; its output
/// parameters may hold a partial result.
template <class Work>
std::invoke_result_t<Work&> RefuseWhenOutOfMemory(Work&& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return {};
    } catch (const std::length_error&) {
        return {};
    }
}

}  // namespace pictor
