#pragma once

#include <cstdint>
#include <optional>

namespace kestra {

// Where Cut and Copy leave the identity of the hierarchy pane that holds the marked items;
// Paste reads the marked items from that pane while it still exists. The window layer backs
// it with the system clipboard ("KESTRA tree" format); the core keeps it in memory.
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

// The clipboard of this process, used by panes that are given none of their own.
CTreeClipboard& ProcessTreeClipboard();

} // namespace kestra
