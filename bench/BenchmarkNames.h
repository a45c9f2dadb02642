#pragma once

/** The registered benchmark names, shared with the summary that compares them. */
namespace BenchmarkNames
{
    inline constexpr const char* channelOversampled = "velora_channel_2x";
    inline constexpr const char* channelHostRate    = "velora_channel_1x";
    inline constexpr const char* channelDefaults    = "velora_channel_defaults";

    inline constexpr const char* stageGate          = "velora_stage_gate_2x";
    inline constexpr const char* stageCompressor    = "velora_stage_compressor_2x";
    inline constexpr const char* stageEqualiser     = "velora_stage_equaliser_2x";
    inline constexpr const char* stageHalfBand      = "velora_stage_halfband_2x";
    inline constexpr const char* stageGainsMeters   = "velora_stage_gains_meters_1x";

    inline constexpr const char* peerChain          = "peer_chain_1x";
    inline constexpr const char* peerGate           = "peer_gate_1x";
    inline constexpr const char* peerCompressor     = "peer_compressor_1x";
    inline constexpr const char* peerEqualiser      = "peer_equaliser_1x";
}
