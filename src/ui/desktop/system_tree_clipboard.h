#pragma once

#include "session/tree_clipboard.h"

#include <QPointer>

class QMimeData;

namespace kestra {

// The name of the clipboard format that Cut and Copy of hierarchy items use.
inline constexpr const char* kTreeClipboardFormat = "KESTRA tree";

// The tree clipboard on the system clipboard: Cut and Copy put a 4-byte pane id under the
// "KESTRA tree" format. A pane id means something only inside the process that wrote it, so
// it is read back only while the clipboard still holds the data this process put there.
class CSystemTreeClipboard : public CTreeClipboard {
public:
    void SetPane(std::uint32_t paneId) override;
    std::optional<std::uint32_t> Pane() const override;
    void Clear() override;

private:
    QPointer<QMimeData> m_placed;
};

} // namespace kestra
