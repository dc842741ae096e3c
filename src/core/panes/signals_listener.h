#pragma once

namespace kestra {

class CHierarchyItem;
class CProjectSession;

// Whoever shows a module's signals elsewhere (the block diagram) hears that the signal list
// changed them.
class CSignalsListener {
public:
    virtual ~CSignalsListener() = default;
    virtual void SignalsChanged(CProjectSession& session, CHierarchyItem* owner) = 0;
};

} // namespace kestra
