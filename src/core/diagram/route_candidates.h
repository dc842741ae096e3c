#pragma once

#include "diagram/geometry.h"
#include "model/block_data.h"

#include <functional>
#include <span>
#include <vector>

namespace kestra {

// The shapes of a routed line from block a to block b, by the variant number a line record
// stores (LineRecord::RouteVariant); the names say where the line leaves a and enters b.
enum class RouteShape : int {
    StraightAcross = 0,   // a horizontal line from a's right side to b's left side
    StraightDown = 1,     // a vertical line from a's bottom to b's top
    ElbowDownToLeft = 2,  // down from a's bottom, then right into b's left side
    ElbowDownToRight = 3, // down from a's bottom, then left into b's right side
    ElbowUpToLeft = 4,    // up from a's top, then right into b's left side
    ElbowUpToRight = 5,   // up from a's top, then left into b's right side
    StepAcross = 6,       // from a's right side across, up or down, and across into b's left side
    StepDown = 7,         // from a's bottom down, across, and down into b's top
    LoopBelow = 8,        // from both bottoms to a line below both blocks
    LoopAbove = 9,        // from both tops to a line above both blocks
    LoopRight = 10,       // from both right sides to a line right of a
    LoopLeft = 11,        // from both left sides to a line left of a
};

inline constexpr int kRouteVariantCount = 12;
// Variants 0 to 7 (up to the steps) are also tried with the two blocks exchanged.
inline constexpr int kTwoWayVariantCount = 8;

// The grid values of [lo, hi] from the middle outwards: m = round10((lo + hi) / 2), then
// m - 10, m + 10, m - 20, ... (steps of the grid); m is given even when rounding puts it outside
// the range, and the walk ends at the first later value outside it.
std::vector<int> CandidateSequence(int lo, int hi);
// first, first + step, ... while the value has not passed the bound (either direction).
std::vector<int> Stepped(int first, int step, int bound);

// The variants a routing request tries, in order. With search: the start variant, then 0 to
// 11 (a start of 0 just 0 to 11). Without (the line style step): start, start + 1, ..., 11,
// 0, ..., start - 1. Values outside 0 .. 11 stand for shapes that never fit.
std::vector<int> RouteVariantOrder(int start, bool search);

// The upper bound of the walks outwards from the blocks of variants 8 and 10: the first
// multiple of 10 beyond an extent.
int OutwardBound(int extent);

// Calls visit with every candidate path of the shape between rectangles a and b (path from a
// to b), in search order, until visit returns true; returns whether it did. width and height
// are the diagram extents. A number that names no shape has no candidates.
bool ForEachCandidate(RouteShape shape, const CPixelRect& a, const CPixelRect& b, int width, int height,
                      const std::function<bool(std::span<const LinePoint>)>& visit);

} // namespace kestra
