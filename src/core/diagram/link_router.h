#pragma once

#include "diagram/block_list.h"
#include "diagram/line_table.h"

#include <optional>
#include <vector>

namespace kestra {

struct CRoutedPath {
    std::vector<LinePoint> points; // from the from block to the to block
    int variant = 0;
    bool operator==(const CRoutedPath&) const = default;
};

// Finds the first clear path of the variant catalogue between two existing, distinct blocks,
// trying the variants in RouteVariantOrder(startVariant, search) and each of variants 0 to 7
// also with the blocks exchanged (the path then reversed); nothing when no candidate is
// clear. ignoreLineId is the line being replaced (-1 for none). Candidates are pruned as soon
// as one of their segments is known to be blocked, so this answers exactly what
// FindRoutePlain answers, much faster. A search that has tested a million segments without
// finding a path gives up (nothing): only adversarial stored diagrams get there.
[[nodiscard]] std::optional<CRoutedPath> FindRoute(const CBlockList& blocks, const CLineTable& lines,
                                                   int fromId, int toId, int startVariant, bool search,
                                                   int ignoreLineId);

// The reference implementation: every candidate in order through IsPathClearPlain.
[[nodiscard]] std::optional<CRoutedPath> FindRoutePlain(const CBlockList& blocks, const CLineTable& lines,
                                                        int fromId, int toId, int startVariant, bool search,
                                                        int ignoreLineId);

} // namespace kestra
