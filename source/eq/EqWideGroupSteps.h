// The wide group kernel shared by the AVX build (groups of up to six sections in the sixteen
// vector registers) and the AVX-512 VL build (all sections in one group, in thirty-two). Each
// includes it inside an unnamed namespace after its target pragma, so each gets its own
// copy, compiled for its own instruction set; groupLimit, defined before, is the largest
// group it runs.

    struct PairCoefficients
    {
        __m256d b0, b1, b2, a1, a2;
    };

    inline __m256d join (__m128d low, __m128d high) noexcept
    {
        return _mm256_insertf128_pd (_mm256_castpd128_pd256 (low), high, 1);
    }

    inline __m128d lowHalf (__m256d v) noexcept   { return _mm256_castpd256_pd128 (v); }
    inline __m128d highHalf (__m256d v) noexcept  { return _mm256_extractf128_pd (v, 1); }

    /** y = b0·x + b1·x1 + b2·x2 − a1·y1 − a2·y2, summed in this order, as runSection. */
    inline __m256d runPair (const PairCoefficients& c, __m256d x, __m256d x1, __m256d x2,
                            __m256d y1, __m256d y2) noexcept
    {
        return _mm256_sub_pd (_mm256_sub_pd (_mm256_add_pd (_mm256_add_pd (_mm256_mul_pd (c.b0, x),
                                                                           _mm256_mul_pd (c.b1, x1)),
                                                             _mm256_mul_pd (c.b2, x2)),
                                              _mm256_mul_pd (c.a1, y1)),
                              _mm256_mul_pd (c.a2, y2));
    }

    /** Calls f with the step's phase (step mod 6) as a compile-time constant. */
    template <typename Function>
    inline __attribute__ ((always_inline)) void inPhase (int phase, Function&& f)
    {
        switch (phase)
        {
            case 0:  f (std::integral_constant<int, 0>()); break;
            case 1:  f (std::integral_constant<int, 1>()); break;
            case 2:  f (std::integral_constant<int, 2>()); break;
            case 3:  f (std::integral_constant<int, 3>()); break;
            case 4:  f (std::integral_constant<int, 4>()); break;
            default: f (std::integral_constant<int, 5>()); break;
        }
    }

    /** A group of M sections in pairs. Pair q holds sections 2q and 2q + 1, which work on
        sample t − 3q and t − 3q − 2 in step t: the second one reads what the first made two
        steps before, so a step of the pair waits on the step just before only for its own
        y1 (with a one-step delay every step of the pair would wait on a whole section).
        Each pair keeps its outputs of the last two steps (the one of step s in slot s mod 2)
        and its inputs of the last two (slot s mod 3), so it builds one input per step.
    */
    template <int M, bool withAllpass>
    void runWide (const Coefficients* coefficients, SectionLanes* sections, Allpass& allpassState,
                  const GroupIo& io) noexcept
    {
        static_assert (M > 0 && M <= groupLimit);
        constexpr int numPairs = (M + 1) / 2;
        constexpr int lastPair = (M - 1) / 2;
        constexpr bool lastInHighHalf = (M - 1) % 2 == 1;
        constexpr int lastDelay = 3 * lastPair + (lastInHighHalf ? 2 : 0);
        constexpr int lastStage = withAllpass ? lastDelay + 1 : lastDelay;

        // Local copies, so the recurrences stay in registers (see runGroup).
        Allpass allpass = allpassState;
        const int length = io.length;
        const __m128d zero = _mm_setzero_pd();

        PairCoefficients c[(size_t) numPairs];
        __m256d y[(size_t) numPairs][2], x[(size_t) numPairs][3];

        {
            // Samples −1 and −2 of every section's output and input where the steps before
            // its first sample would have put them.
            alignas (32) double ys[(size_t) numPairs][2][4] {}, xs[(size_t) numPairs][3][4] {};

            for (int j = 0; j < M; ++j)
            {
                const int q = j / 2, half = j % 2, delay = 3 * q + 2 * half;
                const auto& s = sections[j];
                _mm_store_pd (&ys[q][(delay + 1) % 2][2 * half], s.y1);
                _mm_store_pd (&ys[q][delay % 2][2 * half], s.y2);
                _mm_store_pd (&xs[q][(delay + 2) % 3][2 * half], j == 0 ? _mm_load_pd (io.in - 2) : sections[j - 1].y1);
                _mm_store_pd (&xs[q][(delay + 1) % 3][2 * half], j == 0 ? _mm_load_pd (io.in - 4) : sections[j - 1].y2);
            }

            // Unrolled in full, as every loop over the registers: an index the compiler cannot
            // see would keep the arrays in memory.
#pragma GCC unroll 8
            for (int q = 0; q < numPairs; ++q)
            {
                const bool full = 2 * q + 1 < M;
                const auto& a = coefficients[2 * q];
                const auto& b = coefficients[full ? 2 * q + 1 : 2 * q];
                const auto pair = [full, zero] (__m128d first, __m128d second) { return join (first, full ? second : zero); };

                c[q] = { pair (a.b0, b.b0), pair (a.b1, b.b1), pair (a.b2, b.b2), pair (a.a1, b.a1), pair (a.a2, b.a2) };

#pragma GCC unroll 2
                for (int k = 0; k < 2; ++k)
                    y[q][k] = _mm256_load_pd (ys[q][k]);

#pragma GCC unroll 3
                for (int k = 0; k < 3; ++k)
                    x[q][k] = _mm256_load_pd (xs[q][k]);
            }
        }

        // One step t; with edge set, a section that has no sample in this chunk in this step
        // leaves its slots alone, so its last values stay where the next sections and the
        // state read them.
        const auto step = [&] (auto phase, int t, bool edge) __attribute__ ((always_inline))
        {
            constexpr int now = decltype (phase)::value;
            constexpr int yNow = now % 2, y1 = (now + 1) % 2, y2 = now % 2;
            constexpr int xNow = now % 3, x1 = (now + 2) % 3, x2 = (now + 1) % 3;

            const auto has = [t, length] (int delay) { return t - delay >= 0 && t - delay < length; };

            if constexpr (withAllpass)
            {
                if (! edge || has (lastStage))
                {
                    const __m256d last = y[lastPair][y1];
                    io.channels.store<true> (allpass.run (lastInHighHalf ? highHalf (last) : lowHalf (last)), t - lastStage);
                }
            }

#pragma GCC unroll 8
            for (int q = numPairs - 1; q >= 0; --q)
            {
                // Lanes 0, 1: the previous pair's second section one step back (or the link,
                // a harmless sample once it has run out); lanes 2, 3: this pair's first
                // section two steps back.
                const __m256d in = q == 0 ? join (_mm_load_pd (io.in + 2 * (edge ? std::min (t, length - 1) : t)), lowHalf (y[0][y2]))
                                          : _mm256_permute2f128_pd (y[q == 0 ? 0 : q - 1][y1], y[q][y2], 0x21);
                const __m256d out = runPair (c[q], in, x[q][x1], x[q][x2], y[q][y1], y[q][y2]);

                if (! edge)
                {
                    x[q][xNow] = in;
                    y[q][yNow] = out;
                }
                else
                {
                    const bool on0 = has (3 * q), on1 = has (3 * q + 2);
                    const __m256d mask = _mm256_castsi256_pd (_mm256_set_epi64x (on1 ? -1 : 0, on1 ? -1 : 0,
                                                                                 on0 ? -1 : 0, on0 ? -1 : 0));
                    x[q][xNow] = _mm256_blendv_pd (x[q][xNow], in, mask);
                    y[q][yNow] = _mm256_blendv_pd (y[q][yNow], out, mask);
                }

                if (! withAllpass && q == lastPair && (! edge || has (lastDelay)))
                    _mm_store_pd (io.out + 2 * (t - lastDelay), lastInHighHalf ? highHalf (out) : lowHalf (out));
            }
        };

        int t = 0;

        for (; t < std::min (lastStage, length); ++t)
            inPhase (t % 6, [&] (auto phase) __attribute__ ((always_inline)) { step (phase, t, true); });

        for (; t < length && t % 6 != 0; ++t)
            inPhase (t % 6, [&] (auto phase) __attribute__ ((always_inline)) { step (phase, t, false); });

        for (; t + 6 <= length; t += 6)
        {
            step (std::integral_constant<int, 0>(), t, false);
            step (std::integral_constant<int, 1>(), t + 1, false);
            step (std::integral_constant<int, 2>(), t + 2, false);
            step (std::integral_constant<int, 3>(), t + 3, false);
            step (std::integral_constant<int, 4>(), t + 4, false);
            step (std::integral_constant<int, 5>(), t + 5, false);
        }

        for (; t < length; ++t)
            inPhase (t % 6, [&] (auto phase) __attribute__ ((always_inline)) { step (phase, t, false); });

        for (; t < length + lastStage; ++t)
            inPhase (t % 6, [&] (auto phase) __attribute__ ((always_inline)) { step (phase, t, true); });

        // Each section's last two outputs: samples length − 1 and length − 2, made in the
        // steps length − 1 + delay and length − 2 + delay.
        alignas (32) double ys[(size_t) numPairs][2][4];

#pragma GCC unroll 8
        for (int q = 0; q < numPairs; ++q)
#pragma GCC unroll 2
            for (int k = 0; k < 2; ++k)
                _mm256_store_pd (ys[q][k], y[q][k]);

        for (int j = 0; j < M; ++j)
        {
            const int q = j / 2, half = j % 2, delay = 3 * q + 2 * half;
            sections[j].y1 = _mm_load_pd (&ys[q][(length + 1 + delay) % 2][2 * half]);
            sections[j].y2 = _mm_load_pd (&ys[q][(length + delay) % 2][2 * half]);
        }

        allpassState = allpass;
    }
    /** runWideGroup for sizes 1 to groupLimit. */
    inline void runWideGroupOf (int size, bool withAllpass, const Coefficients* c, SectionLanes* s,
                                Allpass& a, const GroupIo& io) noexcept
    {
        const auto run = [&] (auto m)
        {
            constexpr int M = std::min (decltype (m)::value, groupLimit);

            if (withAllpass)
                runWide<M, true> (c, s, a, io);
            else
                runWide<M, false> (c, s, a, io);
        };

        switch (size)
        {
            case 1:  run (std::integral_constant<int, 1>()); break;
            case 2:  run (std::integral_constant<int, 2>()); break;
            case 3:  run (std::integral_constant<int, 3>()); break;
            case 4:  run (std::integral_constant<int, 4>()); break;
            case 5:  run (std::integral_constant<int, 5>()); break;
            case 6:  run (std::integral_constant<int, 6>()); break;
            case 7:  run (std::integral_constant<int, 7>()); break;
            case 8:  run (std::integral_constant<int, 8>()); break;
            default: run (std::integral_constant<int, 9>()); break;
        }
    }
