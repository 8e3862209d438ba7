# Fails unless every interface operation is declared and defined with
# ORVANE_CALL (__stdcall on 32-bit Windows). The compiler checks overriding
# declarations on that target only, and a definition without the macro
# there silently inherits the convention: this keeps the source honest on
# every platform.
file(READ ${SOURCE_DIR}/include/orvane/KivXml.h header)
string(REGEX MATCHALL "virtual [A-Za-z]+ ORVANE_CALL [A-Za-z0-9]+\\(" declarations "${header}")
set(operations)
foreach(declaration IN LISTS declarations)
  string(REGEX REPLACE ".* ([A-Za-z0-9]+)\\($" "\\1" name "${declaration}")
  list(APPEND operations ${name})
endforeach()
list(REMOVE_DUPLICATES operations)
list(JOIN operations "|" names)

file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
set(problems)
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines)
  foreach(line IN LISTS lines)
    # A declaration in a class (override) or a definition at the start of a
    # line: "<type> [ORVANE_CALL ]CKivXml...::<operation>(".
    if(line MATCHES "override" AND line MATCHES "[ \t](${names})\\(" AND NOT line MATCHES "ORVANE_CALL (${names})\\(")
      list(APPEND problems "${source}: ${line}")
    elseif(line MATCHES "^[A-Za-z].* CKivXml[A-Za-z]*::(${names})\\(" AND NOT line MATCHES "ORVANE_CALL CKivXml[A-Za-z]*::(${names})\\(")
      list(APPEND problems "${source}: ${line}")
    endif()
  endforeach()
endforeach()
list(LENGTH operations count)
if(count LESS 20)
  message(FATAL_ERROR "found only ${count} interface operations in KivXml.h")
endif()
if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "operations without ORVANE_CALL:\n${text}")
endif()
message(STATUS "${count} operation names checked")
