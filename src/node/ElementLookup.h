// Finds an element again by its node path: the path that xmlGetNodePath
// writes for it (for example /catalog/book[2]) is evaluated over the whole
// document, and the elements it selects are the answer. This is what gives
// node and attribute objects their identity.
//
// The evaluation is deliberately the plain one: every lookup walks the
// document through the XPath engine. Keep every lookup of an element by its
// path here.
#ifndef ORVANE_ELEMENTLOOKUP_H
#define ORVANE_ELEMENTLOOKUP_H

#include <optional>

#include "XPathSelection.h"

class ElementLookup {
public:
    enum Status {
        kNoPath,        // xmlGetNodePath gave nothing (no element given)
        kNoContext,     // no XPath context could be made
        kNotEvaluable,  // no result, or not a node set: a prefixed name or
                        // one that is no XPath name test
        kEvaluated,     // a node set, possibly without elements
    };

    ElementLookup(xmlDoc *pDoc, xmlNode *pElement);

    Status GetStatus() const { return m_status; }
    // The node path as UTF-8, for messages; NULL when there is none.
    const char *GetPath() const { return reinterpret_cast<const char *>(m_pPath.get()); }

    // The elements the path selects, in document order (none unless
    // kEvaluated).
    xmlNode *FirstElement() const { return m_selection ? m_selection->FirstElement() : nullptr; }
    xmlNode *LastElement() const { return m_selection ? m_selection->LastElement() : nullptr; }
    template <typename Visit>
    void ForEachElement(Visit visit) const {
        if (m_selection) m_selection->ForEachElement(visit);
    }

private:
    Status m_status = kNoPath;
    XmlText m_pPath;
    std::optional<XPathSelection> m_selection;
};

#endif
