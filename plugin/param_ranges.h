#pragma once

// The declared ranges of the map's numeric parameters. The parameter block's descriptor declares them with
// these constants, and the host tool checks its options against the same ones, so both always agree.
// Plain constants: the host reads them without linking the plug-in.

template <class T> struct ParamRange {
    T low;
    T high;
};

inline constexpr ParamRange<int> kNumColorsRange{1, 100};
inline constexpr ParamRange<int> kSkipColorsRange{0, 30};
// Handed to the descriptor as doubles, the host's encoding of floating-point operands.
inline constexpr ParamRange<double> kGammaRange{0.1, 10.0};
inline constexpr ParamRange<int> kTileRowsRange{1, 100};
inline constexpr ParamRange<int> kTileColumnsRange{1, 100};
inline constexpr ParamRange<int> kIsHarmonizedRange{0, 1};
inline constexpr ParamRange<int> kHueAlterationRange{1, 100};
inline constexpr ParamRange<int> kSaturationAlterationRange{1, 100};
inline constexpr ParamRange<int> kValueAlterationRange{1, 100};
