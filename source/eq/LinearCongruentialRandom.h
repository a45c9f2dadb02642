#pragma once

#include <cstdint>

/** The 48-bit linear congruential generator of juce::Random, with the same seed, the same
    draws and the same state after each draw, plus the jump-ahead that lets a block's
    draws be computed as several independent strands.

    state' = (state · 0x5DEECE66D + 11) mod 2^48; a draw is the unsigned 32-bit value
    (state' >> 16), and nextDouble() scales it by 2^-32. Arithmetic runs mod 2^64, whose
    low 48 bits are the mod 2^48 result, so the mask is applied only where the state is
    handed back.
*/
class LinearCongruentialRandom final
{
public:
    static constexpr std::uint64_t multiplier = 0x5DEECE66DULL;
    static constexpr std::uint64_t increment = 11;
    static constexpr std::uint64_t stateMask = (1ULL << 48) - 1;
    static constexpr double drawScale = 2.3283064365386963e-10; // 2^-32

    /** state after n steps = a · state + c (mod 2^64). */
    struct Jump
    {
        std::uint64_t a = 1, c = 0;

        constexpr std::uint64_t apply (std::uint64_t from) const noexcept { return a * from + c; }
    };

    /** The jump of n single steps, by repeated squaring. */
    static constexpr Jump jumpOf (std::uint64_t steps) noexcept
    {
        Jump result;
        Jump power { multiplier, increment };

        while (steps != 0)
        {
            if ((steps & 1) != 0)
                result = { power.a * result.a, power.a * result.c + power.c };

            power = { power.a * power.a, power.a * power.c + power.c };
            steps >>= 1;
        }

        return result;
    }

    static constexpr std::uint64_t step (std::uint64_t state) noexcept  { return state * multiplier + increment; }
    static constexpr std::uint32_t output (std::uint64_t state) noexcept { return (std::uint32_t) (state >> 16); }

    explicit LinearCongruentialRandom (std::int64_t seed = 0) noexcept : state ((std::uint64_t) seed) {}

    /** The seed as juce::Random::getSeed() reports it (masked once anything was drawn). */
    std::int64_t getSeed() const noexcept        { return (std::int64_t) state; }
    void setSeed (std::int64_t seed) noexcept    { state = (std::uint64_t) seed; }

    std::uint32_t nextUnsigned() noexcept
    {
        state = step (state) & stateMask;
        return output (state);
    }

    double nextDouble() noexcept                 { return (double) nextUnsigned() * drawScale; }

    /** Moves on as if n values had been drawn. */
    void skip (std::uint64_t n) noexcept
    {
        if (n != 0)
            state = jumpOf (n).apply (state) & stateMask;
    }

private:
    std::uint64_t state;
};
