#pragma once

// Diagrams the diagram benchmarks share: blocks placed at random with room for lines between
// them, and a scene of 100 blocks with 300 routed lines.

#include "diagram/block_diagram.h"

#include <cstdlib>
#include <random>
#include <vector>

namespace kestra::bench {

inline int Uniform(std::mt19937& rng, int lo, int hi) {
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// Places up to count blocks on free grid places of an area x area square, keeping a 10-pixel
// gap between blocks so that lines can pass.
inline void AddRandomBlocks(CBlockDiagram& diagram, std::mt19937& rng, int count, int area) {
    for (int placed = 0, attempt = 0; placed < count && attempt < 100000; ++attempt) {
        const int w = Uniform(rng, 4, 12) * 10;
        const int h = Uniform(rng, 3, 10) * 10;
        const CPixelRect r = CPixelRect::FromSize(Uniform(rng, 1, (area - w) / 10) * 10,
                                                  Uniform(rng, 1, (area - h) / 10) * 10, w, h);
        if (diagram.Blocks().IntersectsAnyBlock(r.Inflate(10, 10)))
            continue;
        const BlockKind kind = placed % 5 == 0 ? BlockKind::InPort : BlockKind::Module;
        diagram.AddBlock(r.left, r.top, w, h, "b", 0, -1, kind);
        ++placed;
    }
}

// (a) 100 blocks, 300 routed lines: one block is moved onto the busiest part of the diagram
// and every line is re-validated, as after a drag.
struct MoveScene {
    CBlockDiagram diagram;
    int moved = -1;
    CPixelRect target;
};

inline MoveScene MakeMoveScene() {
    MoveScene scene;
    std::mt19937 rng(20240611u);
    AddRandomBlocks(scene.diagram, rng, 100, 1600);
    std::vector<int> ids;
    for (const auto& entry : scene.diagram.Blocks().Blocks())
        ids.push_back(entry.first);
    // Lines mostly between near neighbours, as drawn diagrams have them.
    while (scene.diagram.Lines().Count() < 300) {
        const int from = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
        const CPixelRect a = scene.diagram.BlockRect(from);
        int best = -1;
        int bestDistance = 0;
        for (int k = 0; k < 6; ++k) {
            const int to = ids[static_cast<std::size_t>(Uniform(rng, 0, static_cast<int>(ids.size()) - 1))];
            const CPixelRect b = scene.diagram.BlockRect(to);
            const int distance = std::abs(a.left - b.left) + std::abs(a.top - b.top);
            if (to != from && (best < 0 || distance < bestDistance)) {
                best = to;
                bestDistance = distance;
            }
        }
        if (best >= 0)
            scene.diagram.Route(from, best, 0x13, 0, -1, true);
    }
    // Move a block with lines to a free place near the middle, where lines pass.
    scene.moved = static_cast<int>(scene.diagram.Lines().Lines().begin()->second.fromId);
    const CPixelRect old = scene.diagram.BlockRect(scene.moved);
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const CPixelRect r = CPixelRect::FromSize(Uniform(rng, 60, 100) * 10, Uniform(rng, 60, 100) * 10,
                                                  old.Width(), old.Height());
        if (!scene.diagram.Blocks().IntersectsAnyBlock(r, scene.moved)) {
            scene.target = r;
            break;
        }
    }
    return scene;
}

} // namespace kestra::bench
