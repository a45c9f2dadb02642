#include "CompressorProcessing.h"
#include "CompressorGain.h"

#include <algorithm>
#include <cmath>
#include <type_traits>
#include <utility>

#ifndef VELORA_COMPRESSOR_SSE2
 #if defined (__SSE2__) || defined (_M_X64)
  #define VELORA_COMPRESSOR_SSE2 1
 #else
  #define VELORA_COMPRESSOR_SSE2 0
 #endif
#endif

#if VELORA_COMPRESSOR_SSE2
 #include <emmintrin.h>
#endif

#if defined (__GNUC__)
 #define VELORA_NOINLINE __attribute__ ((noinline))
#elif defined (_MSC_VER)
 #define VELORA_NOINLINE __declspec (noinline)
#else
 #define VELORA_NOINLINE
#endif

namespace compressor
{

namespace
{
    // The level follower's per-sample constants: 10^(-0.1) and 1 - 10^(-0.45).
    constexpr float followerAttack = 0.7943282f;
    constexpr float followerKeep = 0.6451866f;

   #if VELORA_COMPRESSOR_SSE2
    /** Sections A and B side by side in the two lanes of an SSE2 register. Every lane runs
        exactly the scalar step: the same operations in the same order, in double.
    */
    struct SectionPair
    {
        SectionPair (const SideChainBiquad& a, const SideChainBiquad& b) noexcept
            : b0 (_mm_set_pd (b.b0, a.b0)), b1 (_mm_set_pd (b.b1, a.b1)), b2 (_mm_set_pd (b.b2, a.b2)),
              a1 (_mm_set_pd (b.a1, a.a1)), a2 (_mm_set_pd (b.a2, a.a2)),
              x1 (_mm_set_pd (b.x1, a.x1)), x2 (_mm_set_pd (b.x2, a.x2)),
              y1 (_mm_set_pd (b.y1, a.y1)), y2 (_mm_set_pd (b.y2, a.y2))
        {
        }

        /** Filters one sample of each key; returns yA and yB rounded to float in lanes 0 and 1. */
        __m128 process (float inA, float inB) noexcept
        {
            const __m128d x = _mm_cvtps_pd (_mm_setr_ps (inA, inB, 0.0f, 0.0f));
            const __m128d y = _mm_sub_pd (_mm_sub_pd (_mm_add_pd (_mm_add_pd (_mm_mul_pd (b0, x),
                                                                              _mm_mul_pd (b1, x1)),
                                                                  _mm_mul_pd (b2, x2)),
                                                      _mm_mul_pd (a1, y1)),
                                          _mm_mul_pd (a2, y2));
            x2 = x1;
            x1 = x;
            y2 = y1;
            y1 = y;
            return _mm_cvtpd_ps (y);
        }

        void storeState (SideChainBiquad& a, SideChainBiquad& b) const noexcept
        {
            _mm_storel_pd (&a.x1, x1);  _mm_storeh_pd (&b.x1, x1);
            _mm_storel_pd (&a.x2, x2);  _mm_storeh_pd (&b.x2, x2);
            _mm_storel_pd (&a.y1, y1);  _mm_storeh_pd (&b.y1, y1);
            _mm_storel_pd (&a.y2, y2);  _mm_storeh_pd (&b.y2, y2);
        }

        __m128d b0, b1, b2, a1, a2;
        __m128d x1, x2, y1, y2;
    };

    using Peak = __m128; // the detector input, in every lane

    inline Peak magnitudeOf (float y) noexcept
    {
        return _mm_set1_ps (std::abs (y));
    }

    /** max (|yA|, |yB|), with the NaN and signed-zero behaviour of std::max. */
    inline Peak linkedPeak (__m128 rounded) noexcept
    {
        const __m128 magnitude = _mm_and_ps (rounded, _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff)));
        const __m128 swapped = _mm_shuffle_ps (magnitude, magnitude, _MM_SHUFFLE (0, 0, 0, 1));
        const __m128 peak = _mm_max_ss (swapped, magnitude);   // |yB| > |yA| ? |yB| : |yA|
        return _mm_shuffle_ps (peak, peak, _MM_SHUFFLE (0, 0, 0, 0));
    }

    inline float lane0 (__m128 v) noexcept  { return _mm_cvtss_f32 (v); }
    inline float lane1 (__m128 v) noexcept  { return _mm_cvtss_f32 (_mm_shuffle_ps (v, v, _MM_SHUFFLE (1, 1, 1, 1))); }

    /** The envelope (lane 0) and the level follower (lane 1): the same one-pole peak
        follower with different constants, stepped together without a branch, so a noisy
        detector costs no mispredicted jumps.
    */
    struct Followers
    {
        Followers (float envelope, float follower, float attack, float keep) noexcept
            : state (_mm_setr_ps (envelope, follower, 0.0f, 0.0f)),
              rise (_mm_setr_ps (attack, followerAttack, 0.0f, 0.0f)),
              fall (_mm_setr_ps (keep, followerKeep, 0.0f, 0.0f))
        {
        }

        /** d > state: state += (d - state)*rise; otherwise state *= fall. */
        void step (Peak d) noexcept
        {
            const __m128 up = _mm_add_ps (state, _mm_mul_ps (_mm_sub_ps (d, state), rise));
            const __m128 down = _mm_mul_ps (state, fall);
            const __m128 rising = _mm_cmpgt_ps (d, state);
            state = _mm_or_ps (_mm_and_ps (rising, up), _mm_andnot_ps (rising, down));
        }

        float envelope() const noexcept  { return lane0 (state); }
        float follower() const noexcept  { return lane1 (state); }

        __m128 state, rise, fall;
    };

    /** softKneeBlend for four samples at a time; each double lane runs the scalar steps. */
    void blendSoftKnee (const float* e, float* g, int num, float t, float k) noexcept
    {
        const __m128 tf = _mm_set1_ps (t), kf = _mm_set1_ps (k), silence = _mm_set1_ps (silenceLevel);
        const __m128d td = _mm_set1_pd ((double) t), kd = _mm_set1_pd ((double) k);
        const __m128d one = _mm_set1_pd (1.0), weightFloor = _mm_set1_pd (0.000001);

        const auto blendPair = [&] (__m128 envelope, __m128 ratio, __m128 compressed)
        {
            const __m128d ed = _mm_cvtps_pd (envelope), rd = _mm_cvtps_pd (ratio);
            const __m128d inverse = _mm_div_pd (td, _mm_add_pd (ed, weightFloor));
            const __m128d toCompressed = _mm_div_pd (_mm_mul_pd (_mm_cvtps_pd (compressed), kd),
                                                     _mm_add_pd (one, _mm_mul_pd (inverse, inverse)));
            const __m128d toUnity = _mm_div_pd (kd, _mm_add_pd (one, _mm_mul_pd (rd, rd)));
            return _mm_cvtpd_ps (_mm_add_pd (toCompressed, toUnity));
        };

        int i = 0;

        for (; i + 4 <= num; i += 4)
        {
            const __m128 envelope = _mm_loadu_ps (e + i);
            const __m128 ratio = _mm_div_ps (envelope, tf);
            const __m128 compressed = _mm_loadu_ps (g + i);

            const __m128 low = blendPair (envelope, ratio, compressed);
            const __m128 high = blendPair (_mm_movehl_ps (envelope, envelope), _mm_movehl_ps (ratio, ratio),
                                           _mm_movehl_ps (compressed, compressed));
            const __m128 blend = _mm_movelh_ps (low, high);
            const __m128 silent = _mm_cmplt_ps (envelope, silence);

            _mm_storeu_ps (g + i, _mm_or_ps (_mm_and_ps (silent, kf), _mm_andnot_ps (silent, blend)));
        }

        for (; i < num; ++i)
            g[i] = softKneeBlend (e[i], t, g[i], k);
    }
   #else
    struct Rounded
    {
        float a, b;
    };

    struct SectionPair
    {
        SectionPair (const SideChainBiquad& a, const SideChainBiquad& b) noexcept : sectionA (a), sectionB (b) {}

        Rounded process (float inA, float inB) noexcept
        {
            return { (float) sectionA.process ((double) inA), (float) sectionB.process ((double) inB) };
        }

        void storeState (SideChainBiquad& a, SideChainBiquad& b) const noexcept
        {
            a = sectionA;
            b = sectionB;
        }

        SideChainBiquad sectionA, sectionB;
    };

    using Peak = float;

    inline Peak magnitudeOf (float y) noexcept          { return std::abs (y); }
    inline Peak linkedPeak (Rounded y) noexcept         { return std::max (std::abs (y.a), std::abs (y.b)); }
    inline float lane0 (Rounded y) noexcept             { return y.a; }
    inline float lane1 (Rounded y) noexcept             { return y.b; }

    struct Followers
    {
        Followers (float e, float f, float attack, float k) noexcept
            : env (e), fol (f), rise (attack), fall (k) {}

        static float follow (float state, float d, float up, float keep) noexcept
        {
            return d > state ? state + (d - state) * up : state * keep;
        }

        void step (Peak d) noexcept
        {
            env = follow (env, d, rise, fall);
            fol = follow (fol, d, followerAttack, followerKeep);
        }

        float envelope() const noexcept  { return env; }
        float follower() const noexcept  { return fol; }

        float env, fol, rise, fall;
    };

    void blendSoftKnee (const float* e, float* g, int num, float t, float k) noexcept
    {
        for (int i = 0; i < num; ++i)
            g[i] = softKneeBlend (e[i], t, g[i], k);
    }
   #endif

    /** The powf calls for samples begin to end: r^(-S) of the ratios in g in place (the soft
        knee), or K (E/T)^(-S) where E is above T and K elsewhere (the hard knee). Kept out of
        line, so a caller with state in registers saves it once around a run of calls, not
        around each. */
    template <bool softKnee>
    VELORA_NOINLINE void powerGains (const float* e, float* g, int begin, int end,
                                     float t, float negativeSlope, float k) noexcept
    {
        for (int i = begin; i < end; ++i)
        {
            if constexpr (softKnee)
                g[i] = std::pow (g[i], negativeSlope);
            else
                g[i] = e[i] > t ? std::pow (e[i] / t, negativeSlope) * k : k;
        }
    }

    bool hasFiniteState (const SideChainBiquad& s) noexcept
    {
        return std::isfinite (s.x1) && std::isfinite (s.x2) && std::isfinite (s.y1) && std::isfinite (s.y2);
    }

    /** The side-chain section or sections and the followers for a run of samples: the state
        is taken at construction and handed back by finish(). Kept in a local object, so the
        recursions stay in registers between the steps. */
    template <bool paired>
    class Detector
    {
    public:
        Detector (SideChainBiquad& a, SideChainBiquad& b, float& envelope, float& follower,
                  float attackCoeff, float keep) noexcept
            : stateA (a), stateB (b), envelopeState (envelope), followerState (follower),
              sections (makeSections (a, b)), followers (envelope, follower, attackCoeff, keep)
        {
        }

        /** Filters sample i of the keys (keyB only when paired), steps the followers and
            returns the envelope; with solo the filtered keys go to soloA and soloB. */
        template <bool solo>
        float step (const float* keyA, const float* keyB, int i, float* soloA, float* soloB) noexcept
        {
            if constexpr (paired)
            {
                const auto y = sections.process (keyA[i], keyB[i]);
                followers.step (linkedPeak (y));

                if constexpr (solo)
                {
                    soloA[i] = lane0 (y);
                    soloB[i] = lane1 (y);
                }
            }
            else
            {
                (void) keyB;
                (void) soloB;
                const auto y = (float) sections.process ((double) keyA[i]);
                followers.step (magnitudeOf (y));

                if constexpr (solo)
                    soloA[i] = y;
            }

            return followers.envelope();
        }

        void finish() noexcept
        {
            if constexpr (paired)
                sections.storeState (stateA, stateB);
            else
                stateA = sections;

            envelopeState = followers.envelope();
            followerState = followers.follower();
        }

    private:
        using Sections = std::conditional_t<paired, SectionPair, SideChainBiquad>;

        static Sections makeSections (const SideChainBiquad& a, const SideChainBiquad& b) noexcept
        {
            if constexpr (paired)
                return SectionPair (a, b);
            else
                return (void) b, a;
        }

        SideChainBiquad& stateA;
        SideChainBiquad& stateB;
        float& envelopeState;
        float& followerState;
        Sections sections;
        Followers followers;
    };
}

//==============================================================================
CompressorProcessing::CompressorProcessing()
{
    // The low-pass that the default filter settings describe, until the first design arrives.
    designBiquad (sideChainFilterA, lowPass, 707.1068115234375, 44100.0, 0.5);
    designBiquad (sideChainFilterB, lowPass, 707.1068115234375, 44100.0, 0.5);
}

void CompressorProcessing::setSideChainCoefficients (const SideChainBiquad& design) noexcept
{
    sideChainFilterA.copyCoefficientsFrom (design);
    sideChainFilterB.copyCoefficientsFrom (design);
}

void CompressorProcessing::resetDetector() noexcept
{
    envelope = 0.0f;
    sideChainFilterA.clearState();
    sideChainFilterB.clearState();
}

CompressorProcessing::Routing CompressorProcessing::routingFor (int numChannels, bool keyMode) noexcept
{
    Routing r;

    if (numChannels == 1)
        return r;

    if (! keyMode)
    {
        r.keyB = 1;
        r.numAudio = 2;
    }
    else if (numChannels == 2)
    {
        // Channel 1 is the key and leaves as silence.
        r.keyA = 1;
        r.silenceChannel1 = true;
    }
    else
    {
        r.keyA = 2;
        r.keyB = numChannels == 4 ? 3 : -1;
        r.numAudio = 2;
    }

    return r;
}

//==============================================================================
template <bool paired, bool solo>
void CompressorProcessing::detect (const float* keyA, const float* keyB, float* soloA, float* soloB,
                                   float* envelopesOut, int num, float attackCoeff, float keep) noexcept
{
    // The envelope and the level follower do not depend on the gain, so they run ahead of
    // the gain computer over the whole chunk, with no call in the loop to spill the
    // recursions out of registers; the filter's and the followers' chains overlap.
    Detector<paired> detector (sideChainFilterA, sideChainFilterB, envelope, levelFollower, attackCoeff, keep);

    for (int i = 0; i < num; ++i)
        envelopesOut[i] = detector.template step<solo> (keyA, keyB, i, soloA, soloB);

    detector.finish();
}

template <bool paired, bool softKnee>
void CompressorProcessing::computeGains (const float* e, int num, const float* nextKeyA, const float* nextKeyB,
                                         float* nextEnvelopes, int nextNum, const CompressorWorkingValues& v,
                                         float attackCoeff, float keep) noexcept
{
    const float t = v.thresholdGain, negativeSlope = -v.slope, k = v.wetGain;
    float* const g = gains.data();

    // The detector's recursions wait on their own latency and powf on nothing: the next
    // chunk's detector runs between this chunk's powf calls, a few steps at a time, so both
    // proceed at once. The arithmetic around the calls runs in loops the compiler can
    // vectorise.
    if constexpr (softKnee)
    {
        for (int i = 0; i < num; ++i)
            g[i] = e[i] / t;
    }

    const auto gainsOf = [=] (int begin, int end) { powerGains<softKnee> (e, g, begin, end, t, negativeSlope, k); };

    Detector<paired> detector (sideChainFilterA, sideChainFilterB, envelope, levelFollower, attackCoeff, keep);
    const int both = std::min (num, nextNum);
    int i = 0;

    for (; i + detectorSteps <= both; i += detectorSteps)
    {
        for (int j = i; j < i + detectorSteps; ++j)
            nextEnvelopes[j] = detector.template step<false> (nextKeyA, nextKeyB, j, nullptr, nullptr);

        gainsOf (i, i + detectorSteps);
    }

    for (int j = i; j < nextNum; ++j)
        nextEnvelopes[j] = detector.template step<false> (nextKeyA, nextKeyB, j, nullptr, nullptr);

    detector.finish();

    gainsOf (i, num);

    if constexpr (softKnee)
        blendSoftKnee (e, g, num, t, k);
}

float CompressorProcessing::process (float* const* channels, int numChannels, int numSamples,
                                     const CompressorWorkingValues& v, float previousGain) noexcept
{
    const float lastGain = processPart (channels, numChannels, numSamples, v, previousGain);
    finishBlock();
    return lastGain;
}

float CompressorProcessing::processPart (float* const* channels, int numChannels, int numSamples,
                                         const CompressorWorkingValues& v, float previousGain) noexcept
{
    if (numChannels <= 0 || numSamples <= 0)
        return previousGain;

    const auto routing = routingFor (numChannels, v.sideChainKey);
    const bool paired = routing.keyB >= 0;
    const float attackCoeff = v.attackCoeff;
    const float keep = 1.0f - v.releaseCoeff;
    const float dry = v.dryGain;

    float* const out0 = channels[0];
    float* const out1 = numChannels > 1 ? channels[1] : nullptr;
    const float* const keyA = channels[routing.keyA];
    const float* const keyB = paired ? channels[routing.keyB] : nullptr;

    if (v.filteredSolo)
    {
        float* const e = envelopes.data();

        for (int start = 0; start < numSamples; start += chunkSize)
        {
            const int num = std::min (chunkSize, numSamples - start);

            // The filtered key replaces the audio; channel 1 carries yB, which is 0 for a
            // single key.
            if (paired)
                detect<true, true> (keyA + start, keyB + start, out0 + start, out1 + start, e, num, attackCoeff, keep);
            else
                detect<false, true> (keyA + start, nullptr, out0 + start, nullptr, e, num, attackCoeff, keep);

            if (! paired && out1 != nullptr)
                std::fill (out1 + start, out1 + start + num, 0.0f);
        }
    }
    else
    {
        // Chunk c's envelopes are made while chunk c − 1's gains are computed (the first
        // chunk's alone), in the two halves of the envelope buffer by turns.
        float* e = envelopes.data();
        float* nextE = envelopes.data() + chunkSize;

        if (paired)
            detect<true, false> (keyA, keyB, nullptr, nullptr, e, std::min (chunkSize, numSamples), attackCoeff, keep);
        else
            detect<false, false> (keyA, nullptr, nullptr, nullptr, e, std::min (chunkSize, numSamples), attackCoeff, keep);

        for (int start = 0; start < numSamples; start += chunkSize)
        {
            const int num = std::min (chunkSize, numSamples - start);
            const int nextStart = start + num;
            const int nextNum = std::min (chunkSize, numSamples - nextStart);
            const float* const nextA = keyA + nextStart;
            const float* const nextB = paired ? keyB + nextStart : nullptr;

            if (paired && v.softKnee)
                computeGains<true, true> (e, num, nextA, nextB, nextE, nextNum, v, attackCoeff, keep);
            else if (paired)
                computeGains<true, false> (e, num, nextA, nextB, nextE, nextNum, v, attackCoeff, keep);
            else if (v.softKnee)
                computeGains<false, true> (e, num, nextA, nextB, nextE, nextNum, v, attackCoeff, keep);
            else
                computeGains<false, false> (e, num, nextA, nextB, nextE, nextNum, v, attackCoeff, keep);

            std::swap (e, nextE);

            float* const x0 = out0 + start;

            for (int i = 0; i < num; ++i)
                x0[i] = x0[i] * (gains[(size_t) i] + dry);

            if (routing.numAudio > 1)
            {
                float* const x1 = out1 + start;

                for (int i = 0; i < num; ++i)
                    x1[i] = x1[i] * (gains[(size_t) i] + dry);
            }
            else if (routing.silenceChannel1)
            {
                std::fill (out1 + start, out1 + start + num, 0.0f);
            }
        }
    }

    float lastGain;

    if (v.filteredSolo)
        lastGain = v.softKnee ? softKneeGain (envelope, v.thresholdGain, v.slope, v.wetGain)
                              : hardKneeGain (envelope, v.thresholdGain, v.slope, v.wetGain);
    else
        lastGain = gains[(size_t) ((numSamples - 1) % chunkSize)];

    return lastGain;
}

void CompressorProcessing::finishBlock() noexcept
{
    if (envelope < silenceLevel)
        envelope = 0.0f;

    if (levelFollower < silenceLevel)
        levelFollower = 0.0f;

    // A non-finite input poisons the filter memory for good, and what the detector made of
    // it since then means nothing: start it again so the next block works normally.
    if (! (std::isfinite (envelope) && std::isfinite (levelFollower)
           && hasFiniteState (sideChainFilterA) && hasFiniteState (sideChainFilterB)))
    {
        resetDetector();
        levelFollower = 0.0f;
    }
}

} // namespace compressor
