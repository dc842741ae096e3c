#pragma once

#include "support/synthetic_design.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>

namespace kestra::bench {

// The benchmark's counters that tell the design's size: its files and kilobytes.
inline void DescribeDesign(benchmark::State& state, const SyntheticDesign& design) {
    std::uintmax_t bytes = 0;
    for (const std::filesystem::path& file : design.files)
        bytes += std::filesystem::file_size(file);
    state.counters["files"] = static_cast<double>(design.files.size());
    state.counters["kB"] = static_cast<double>(bytes) / 1024.0;
}

} // namespace kestra::bench
