// Every behaviour difference between the x86 and x64 editions, in one place.
#ifndef ORVANE_EDITION_H
#define ORVANE_EDITION_H

#include <orvane/KivTypes.h>

namespace edition {

#if defined(ORVANE_EDITION_X86)
inline constexpr bool kIsX86 = true;
#else
inline constexpr bool kIsX86 = false;
#endif

// x64 traces entry and exit of its interface operations.
inline constexpr bool kTracesOperations = !kIsX86;
// x86 parses a file it cannot probe as plain XML; x64 refuses it.
inline constexpr bool kLoadsUnprobedFileAsPlain = kIsX86;
// x86 traces the attribute's GetStringValue with fixed exit texts and guards
// it against exceptions; the document interface has the two dump slots.
inline constexpr bool kGuardsGetStringValue = kIsX86;
inline constexpr bool kHasDumpSlots = kIsX86;

}  // namespace edition

#endif
