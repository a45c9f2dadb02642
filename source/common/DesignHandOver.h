#pragma once

#include <array>
#include <atomic>

namespace velora
{

/** Hands a designed value (a coefficient set, a set of working values) from whichever
    thread redesigns it to the audio thread, with no lock and no allocation.

    Any thread may call update(), the audio thread included. Overlapping calls are
    combined rather than serialised: the thread holding the designer role keeps
    redesigning until no request is pending, so the newest parameter values always end
    up published and no caller ever waits for another. When calls do not overlap, every
    update() designs and publishes before it returns.

    The audio thread calls acquireLatest() once at the start of a block and uses the
    returned reference for the whole block, so it never sees a half-written design and
    a design never changes in the middle of a block (a triple buffer underneath).
*/
template <typename Design>
class DesignHandOver
{
public:
    DesignHandOver() = default;

    explicit DesignHandOver (const Design& initial)
    {
        slots.fill (initial);
    }

    /** Runs design (Design&) on a free slot and publishes it. The function must read
        everything it needs from shared state that other threads write before calling
        update() (atomics), never from values captured by the caller alone: a call on
        another thread may be the one that runs it.
    */
    template <typename DesignFunction>
    void update (DesignFunction&& design)
    {
        pending.store (true, std::memory_order_release);

        while (pending.load (std::memory_order_acquire))
        {
            if (designing.exchange (true, std::memory_order_acquire))
                return; // the thread that is designing picks up this request

            while (pending.exchange (false, std::memory_order_acq_rel))
            {
                design (slots[(size_t) writeIndex]);
                writeIndex = latest.exchange (writeIndex | freshBit, std::memory_order_acq_rel) & indexMask;
            }

            designing.store (false, std::memory_order_release);
        }
    }

    /** Audio thread only: the newest complete design. */
    const Design& acquireLatest() noexcept
    {
        if ((latest.load (std::memory_order_relaxed) & freshBit) != 0)
            readIndex = latest.exchange (readIndex, std::memory_order_acq_rel) & indexMask;

        return slots[(size_t) readIndex];
    }

    /** The most recently published design, for inspection while no other thread calls
        update() or acquireLatest() (tests, offline tools).
    */
    const Design& peekLatest() const noexcept
    {
        const auto l = latest.load (std::memory_order_acquire);
        return slots[(size_t) ((l & freshBit) != 0 ? (l & indexMask) : readIndex)];
    }

private:
    static constexpr int indexMask = 3;
    static constexpr int freshBit = 4;

    std::array<Design, 3> slots {};
    std::atomic<int> latest { 1 };
    int writeIndex = 2; // owned by the thread holding the designer role
    int readIndex = 0;  // owned by the audio thread
    std::atomic<bool> pending { false };
    std::atomic<bool> designing { false };
};

} // namespace velora
