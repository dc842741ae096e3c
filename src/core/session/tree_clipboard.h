#pragma once

#include <cstdint>
#include <optional>

namespace kestra {

// Where Cut and Copy leave the id of the project session that holds the marked items; Paste
// reads the marked items from that session while it is still open. The window layer backs it
// with the system clipboard ("KESTRA tree" format); the core keeps it in memory.
class CTreeClipboard {
public:
    virtual ~CTreeClipboard() = default;
    virtual void SetPane(std::uint32_t paneId) = 0;
    virtual std::optional<std::uint32_t> Pane() const = 0;
    virtual void Clear() = 0;
};

class CMemoryTreeClipboard : public CTreeClipboard {
public:
    void SetPane(std::uint32_t paneId) override { m_pane = paneId; }
    std::optional<std::uint32_t> Pane() const override { return m_pane; }
    void Clear() override { m_pane.reset(); }

private:
    std::optional<std::uint32_t> m_pane;
};

} // namespace kestra
