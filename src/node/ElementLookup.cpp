#include "ElementLookup.h"

ElementLookup::ElementLookup(xmlDoc *pDoc, xmlNode *pElement) {
    if (!pElement) return;
    m_pPath.reset(xmlGetNodePath(pElement));
    if (!m_pPath) return;
    m_selection.emplace(pDoc, GetPath());
    switch (m_selection->GetStatus()) {
        case XPathSelection::kNoContext:
            m_status = kNoContext;
            break;
        case XPathSelection::kNoResult:
        case XPathSelection::kNotNodeSet:
            m_status = kNotEvaluable;
            break;
        case XPathSelection::kNodeSet:
            m_status = kEvaluated;
            break;
    }
}
