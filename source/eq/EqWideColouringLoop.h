// The four-sample colouring loop shared by the AVX2 and the AVX-512 kernels. Each of them
// includes it inside an unnamed namespace after its target pragma, with jump() (four samples
// on, per lane) and drawn() (the draws as doubles) defined before; so each gets its own
// copy, compiled for its own instruction set.

/** colour() on four lanes: the same operations in the same order. */
inline __m256d colourLanes (__m256d x, __m256d u1, __m256d u2, __m256d u3) noexcept
{
    const __m256d x2 = _mm256_mul_pd (x, x);
    const __m256d x3 = _mm256_mul_pd (x2, x);
    const __m256d x5 = _mm256_mul_pd (x3, x2);
    const __m256d t1 = _mm256_mul_pd (_mm256_mul_pd (u1, _mm256_set1_pd (squareFactor)), x2);
    const __m256d t2 = _mm256_mul_pd (_mm256_mul_pd (u2, _mm256_set1_pd (cubeFactor)), x3);
    const __m256d t3 = _mm256_mul_pd (_mm256_mul_pd (u3, _mm256_set1_pd (fifthFactor)), x5);
    return _mm256_add_pd (_mm256_add_pd (_mm256_add_pd (x, t1), t2), t3);
}

/** See colourChunkWide. */
int colourFourAtATime (const Channels& channels, int start, int length, __m128 gain,
                       DrawStrands& strands0, DrawStrands& strands1, double* out) noexcept
{
    const int done = length - length % 4;

    if (done == 0)
        return 0;

    const float* const left = channels.channel0 + start;
    const float* const right = channels.channel1 + start;

    // Per draw r1, r2, r3: the strands of both channels at samples i, i + 1 (near) and at
    // i + 2, i + 3 (far).
    __m256i near[3], far[3];

    {
        const std::uint64_t s0[3] = { strands0.t1, strands0.t2, strands0.t3 };
        const std::uint64_t s1[3] = { strands1.t1, strands1.t2, strands1.t3 };

        for (int k = 0; k < 3; ++k)
        {
            std::uint64_t c0[4] = { s0[k] }, c1[4] = { s1[k] };

            for (int n = 1; n < 4; ++n)
            {
                c0[n] = threeSteps.apply (c0[n - 1]);
                c1[n] = threeSteps.apply (c1[n - 1]);
            }

            near[k] = _mm256_set_epi64x ((long long) c1[1], (long long) c0[1], (long long) c1[0], (long long) c0[0]);
            far[k] = _mm256_set_epi64x ((long long) c1[3], (long long) c0[3], (long long) c1[2], (long long) c0[2]);
        }
    }

    const auto input = [left, right, gain] (int i)
    {
        const __m128 l = _mm_castpd_ps (_mm_load_sd (reinterpret_cast<const double*> (left + i)));
        const __m128 r = _mm_castpd_ps (_mm_load_sd (reinterpret_cast<const double*> (right + i)));
        return _mm256_cvtps_pd (_mm_mul_ps (_mm_unpacklo_ps (l, r), gain));
    };

    for (int i = 0; i < done; i += 4)
    {
        _mm256_storeu_pd (out + 2 * i, colourLanes (input (i), drawn (near[0]), drawn (near[1]), drawn (near[2])));
        _mm256_storeu_pd (out + 2 * i + 4, colourLanes (input (i + 2), drawn (far[0]), drawn (far[1]), drawn (far[2])));

        for (int k = 0; k < 3; ++k)
        {
            near[k] = jump (near[k]);
            far[k] = jump (far[k]);
        }
    }

    alignas (32) std::uint64_t next[3][4];

    for (int k = 0; k < 3; ++k)
        _mm256_store_si256 (reinterpret_cast<__m256i*> (next[k]), near[k]);

    strands0 = { next[0][0], next[1][0], next[2][0] };
    strands1 = { next[0][1], next[1][1], next[2][1] };
    return done;
}
