// What an XPath expression selects when it is evaluated over a whole
// document: its context node is the document node and it knows no
// namespace prefixes. Only the element nodes of a selection count; the
// result is kept (and freed) with the selection.
#ifndef ORVANE_XPATHSELECTION_H
#define ORVANE_XPATHSELECTION_H

#include "support/LibXml.h"

class XPathSelection {
public:
    enum Status {
        kNoContext,   // no XPath context could be made
        kNoResult,    // not XPath, or a prefix or function the context does not know
        kNotNodeSet,  // a number, string or boolean, or a node set without value
        kNodeSet,     // a node set, possibly without elements
    };

    XPathSelection(xmlDoc *pDoc, const char *pszExpression);
    XPathSelection(const XPathSelection &) = delete;
    XPathSelection &operator=(const XPathSelection &) = delete;

    Status GetStatus() const { return m_status; }

    // The first and the last element of the node set in document order;
    // NULL when there is none.
    xmlNode *FirstElement() const;
    xmlNode *LastElement() const;

    // Calls visit(element) for each element of the node set in document
    // order until it returns false.
    template <typename Visit>
    void ForEachElement(Visit visit) const {
        for (int i = 0; i < NodeCount(); ++i) {
            xmlNode *pNode = m_pResult->nodesetval->nodeTab[i];
            if (pNode->type == XML_ELEMENT_NODE && !visit(pNode)) return;
        }
    }

private:
    int NodeCount() const { return m_status == kNodeSet ? m_pResult->nodesetval->nodeNr : 0; }

    Status m_status = kNoContext;
    XPathObjectHandle m_pResult;
};

#endif
