// Feeds arbitrary bytes to the project file reader. Whatever opens must be written, read
// again and written again to the same bytes.
#include "project/kst_doc.h"
#include "project/message_log.h"
#include "support/scripted_prompts.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool Load(kestra::CKSTDoc& doc, std::string_view bytes) {
    doc.SetIdentity({"alice", "lab1"});
    return doc.LoadFromBytes(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kestra::CScriptedPrompts prompts;
    kestra::CMemoryLog log;
    kestra::CKSTDoc doc(prompts, log);
    if (!Load(doc, bytes))
        return 0;
    int items = 0;
    for (kestra::CHierarchyItem* item = doc.Tree().GetRootItem(); item != nullptr;
         item = doc.Tree().NextItem(item))
        ++items;
    if (items != doc.Tree().ItemCount())
        __builtin_trap();

    const std::string stored = doc.StoreToBytes();
    kestra::CKSTDoc again(prompts, log);
    if (!Load(again, stored) || again.StoreToBytes() != stored)
        __builtin_trap();
    return 0;
}
