// UTF-8 <-> UTF-16 on the host's side of the interfaces.
#ifndef ORVANE_TOOL_HOSTTEXT_H
#define ORVANE_TOOL_HOSTTEXT_H

#include <string>

#include <orvane/KivXml.h>

std::u16string Widen(const std::string &utf8);
std::string Narrow(const char16_t *utf16);
// The text of a returned string, which is freed; empty for NULL.
std::string TakeString(BSTR text);

#endif
