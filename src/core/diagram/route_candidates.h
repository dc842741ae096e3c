#pragma once

#include "diagram/geometry.h"
#include "model/block_data.h"

#include <functional>
#include <span>
#include <vector>

namespace kestra {

inline constexpr int kRouteVariantCount = 12;
// Variants 0 to 7 are also tried with the two blocks exchanged.
inline constexpr int kTwoWayVariantCount = 8;

// The grid values of [lo, hi] from the middle outwards: m = round10((lo + hi) / 2), then
// m - 10, m + 10, m - 20, ...; m is given even when rounding puts it outside the range, and
// the walk ends at the first later value outside it.
std::vector<int> CandidateSequence(int lo, int hi);

// The variants a routing request tries, in order. With search: the start variant, then 0 to
// 11 (a start of 0 just 0 to 11). Without (the line style step): start, start + 1, ..., 11,
// 0, ..., start - 1. Values outside 0 .. 11 stand for shapes that never fit.
std::vector<int> RouteVariantOrder(int start, bool search);

// The upper bound of the walks outwards from the blocks of variants 8 and 10: the first
// multiple of 10 beyond an extent.
int OutwardBound(int extent);

// Calls visit with every candidate path of the variant between rectangles a and b (path from
// a to b), in search order, until visit returns true; returns whether it did. width and
// height are the diagram extents.
bool ForEachCandidate(int variant, const CPixelRect& a, const CPixelRect& b, int width, int height,
                      const std::function<bool(std::span<const LinePoint>)>& visit);

} // namespace kestra
