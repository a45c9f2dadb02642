#pragma once

#include <cstddef>

namespace testing_support
{
    /** Counts the heap allocations, deallocations and blocking lock calls the current
        thread makes while it is alive, so a test can show that audio processing needs
        none of them. Other threads are not counted: they may allocate freely.

        Every allocation in the process goes through malloc and free (the test binary
        replaces the global operator new and delete with forwarding versions). In a
        sanitizer build the sanitizer owns the allocator, and its allocation hooks count
        instead; under ThreadSanitizer locks are not counted (it owns those too).
    */
    class AudioThreadGuard
    {
    public:
        AudioThreadGuard();
        ~AudioThreadGuard();

        std::size_t allocations() const noexcept;
        std::size_t deallocations() const noexcept;
        std::size_t locks() const noexcept;

        /** False where this build cannot see lock calls. */
        static bool countsLocks() noexcept;

        AudioThreadGuard (const AudioThreadGuard&) = delete;
        AudioThreadGuard& operator= (const AudioThreadGuard&) = delete;
    };
}
