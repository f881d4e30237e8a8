#pragma once

// The ranges of the inputs, owned here once for every front end. Two ranges per number:
// the classic window's (the design limits of its numeric inputs, which that window
// keeps exactly) and the method's: what the engine computes and the solvers can answer,
// wide enough for every answer a solver gives and narrow enough for the arithmetic. The
// exploration window, the command line and the web page accept the method's range.

namespace engine {

struct InputRange
{
    double minimum;
    double maximum;

    bool contains(double value) const { return value >= minimum && value <= maximum; }
};

struct QuantityRange
{
    const char *name;  // the symbol as the user knows it: "B", "D", "H", "x", ...
    InputRange window; // the classic window's limits
    InputRange method; // what the method and the solvers accept
    double step;       // the classic window's step
};

// clang-format off
//                                   name     window             method               step
inline constexpr QuantityRange kWidthRange         {"B",  {2, 10000},     {0.01, 10000},      1};
inline constexpr QuantityRange kDepthRange         {"D",  {2, 10000},     {0.01, 10000},      1};
inline constexpr QuantityRange kHeightRange        {"H",  {0, 15},        {0, 15},            1};
inline constexpr QuantityRange kDistanceRange      {"x",  {5, 10000},     {0.01, 10000},      1};
inline constexpr QuantityRange kPositionRange      {"y",  {-100, 10000},  {-10000, 10000},    1};
inline constexpr QuantityRange kScreenHeightRange  {"hs", {0, 10000},     {0, 100},           1};
inline constexpr QuantityRange kScreenDistanceRange{"xs", {0, 10000},     {0, 10000},         1};
inline constexpr QuantityRange kEfficiencyRange    {"K",  {0, 1},         {0, 1},             0.1};
inline constexpr QuantityRange kPointHeightRange   {"z",  {0, 100},       {0, 100},           1};
// The limit in kW/m² (the classic window has none; 15 kW/m² is the legal one outdoors).
inline constexpr QuantityRange kLimitRange         {"L",  {0.1, 100},     {0.1, 100},         1};
// clang-format on

// The solvers' search ranges (m).
inline constexpr InputRange kDistanceSearch {0.1, 1000};
inline constexpr InputRange kHeightSearch {0, 15};
inline constexpr InputRange kWidthSearch {0, 10000};

} // namespace engine
