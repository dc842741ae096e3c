#include "analysis/token_list.h"

namespace kestra {

CTokenList::CTokenList(std::string_view text, std::size_t start, std::size_t end) : m_text(text) {
    CTokenReader reader(text, start);
    std::vector<std::size_t> open;
    for (VhdlToken token = reader.Next(); token.kind != TokenKind::EndOfText && token.end <= end;
         token = reader.Next()) {
        m_partners.push_back(kNoPartner);
        if (token.Is('(')) {
            open.push_back(m_tokens.size());
        } else if (token.Is(')') && !open.empty()) {
            m_partners.back() = open.back();
            m_partners[open.back()] = m_tokens.size();
            open.pop_back();
        }
        m_tokens.push_back(token);
    }
    m_end.start = text.size();
    m_end.end = text.size();
}

} // namespace kestra
