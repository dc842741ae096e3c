#pragma once

#include "actions/edit_target.h"

#include <QList>
#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace kestra {

// Routes the edit commands: each goes to the first pane of the chain that does not answer
// "not mine", innermost first; it is enabled while that pane answers "enabled".
class CEditRouter {
public:
    using Chain = std::vector<CEditTarget*>;

    explicit CEditRouter(std::function<Chain()> chain) : m_chain(std::move(chain)) {}

    // The pane that takes the command now, or none.
    CEditTarget* Target(EditCommand command) const;
    // Runs the command on its pane; false when no pane takes it.
    bool Run(EditCommand command) const;

    // The chain of a focus widget: the widget and its parents that are edit targets, innermost
    // first, then `fallback` (the active project window) unless it is among them already.
    static Chain ChainOf(QWidget* focus, CEditTarget* fallback);

private:
    std::function<Chain()> m_chain;
};

} // namespace kestra
