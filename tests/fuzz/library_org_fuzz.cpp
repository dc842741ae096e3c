// Feeds arbitrary bytes to the "LibraryOrg.dat" reader. Whatever it accepts must store and
// read back to the same record.
#include "library/library_org.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<kestra::LibraryOrg> org = kestra::LoadLibraryOrg(bytes);
    if (!org)
        return 0;
    for (const auto& path : org->expanded)
        if (path.empty())
            __builtin_trap();
    const std::string stored = kestra::StoreLibraryOrg(*org);
    const std::optional<kestra::LibraryOrg> again = kestra::LoadLibraryOrg(stored);
    if (!again || !(*again == *org) || kestra::StoreLibraryOrg(*again) != stored)
        __builtin_trap();
    return 0;
}
