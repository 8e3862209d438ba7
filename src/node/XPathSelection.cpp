#include "XPathSelection.h"

// libxml2's XPath module is initialised once for the process by InitLibXml
// (xmlInitParser), before any document exists; it is not initialised again
// for each evaluation.
XPathSelection::XPathSelection(xmlDoc *pDoc, const char *pszExpression) {
    XPathContextHandle context = NewXPathContext(pDoc);
    if (!context) return;
    m_pResult.reset(xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(pszExpression), context.get()));
    if (!m_pResult) {
        m_status = kNoResult;
    } else if (m_pResult->type != XPATH_NODESET || !m_pResult->nodesetval) {
        m_status = kNotNodeSet;
    } else {
        m_status = kNodeSet;
    }
}

xmlNode *XPathSelection::FirstElement() const {
    xmlNode *pFirst = nullptr;
    ForEachElement([&](xmlNode *pElement) {
        pFirst = pElement;
        return false;
    });
    return pFirst;
}

xmlNode *XPathSelection::LastElement() const {
    xmlNode *pLast = nullptr;
    ForEachElement([&](xmlNode *pElement) {
        pLast = pElement;
        return true;
    });
    return pLast;
}
