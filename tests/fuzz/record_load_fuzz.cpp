// Feeds arbitrary bytes to the design object and signal record loaders.
#include "model/archive.h"
#include "model/design_object.h"
#include "model/vhdl_signal.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int version = size % 2 == 0 ? 110 : 100;
    kestra::CArchive objectArchive = kestra::CArchive::ForLoading(bytes, version);
    kestra::CKSTObject object;
    if (object.Serialize(objectArchive)) {
        for (int i = 0; i < object.GetEntryCount(); ++i) {
            kestra::EntryKind kind = kestra::EntryKind::None;
            std::string name, value;
            // Whether a formatted entry parses back is not the question here, only that it is safe.
            static_cast<void>(kestra::CKSTObject::ParseEntry(object.FormatEntry(i), kind, name, value));
        }
    }
    kestra::CArchive signalArchive = kestra::CArchive::ForLoading(bytes, version);
    kestra::CVHDLSignal signals;
    if (signals.Serialize(signalArchive))
        (void)signals.FormatSignalList(kestra::SignalForm::PortDeclaration);
    return 0;
}
