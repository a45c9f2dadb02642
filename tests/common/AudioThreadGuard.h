#pragma once

#include <cstddef>

namespace testing_support
{
    /** Counts heap allocations and mutex locks made by the current thread while it is
        alive, so a test can show that a block of audio needed neither. */
    class AudioThreadGuard
    {
    public:
        AudioThreadGuard();
        ~AudioThreadGuard();

        std::size_t allocations() const noexcept;
        std::size_t locks() const noexcept;

        AudioThreadGuard (const AudioThreadGuard&) = delete;
        AudioThreadGuard& operator= (const AudioThreadGuard&) = delete;
    };
}
