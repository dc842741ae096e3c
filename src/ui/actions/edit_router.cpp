#include "actions/edit_router.h"

#include <QWidget>
#include <algorithm>

namespace kestra {

CEditTarget* CEditRouter::Target(EditCommand command) const {
    for (CEditTarget* target : m_chain()) {
        const CommandAnswer answer = target->Answer(command);
        if (answer != CommandAnswer::NotMine)
            return answer == CommandAnswer::Enabled ? target : nullptr;
    }
    return nullptr;
}

bool CEditRouter::Run(EditCommand command) const {
    CEditTarget* target = Target(command);
    if (target == nullptr)
        return false;
    target->Run(command);
    return true;
}

CEditRouter::Chain CEditRouter::ChainOf(QWidget* focus, CEditTarget* fallback) {
    Chain chain;
    for (QWidget* widget = focus; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* target = dynamic_cast<CEditTarget*>(widget))
            chain.push_back(target);
    }
    if (fallback != nullptr && std::find(chain.begin(), chain.end(), fallback) == chain.end())
        chain.push_back(fallback);
    return chain;
}

} // namespace kestra
