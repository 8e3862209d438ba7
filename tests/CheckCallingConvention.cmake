# Fails unless every interface operation is declared and defined with
# ORVANE_CALL (__stdcall on 32-bit Windows). The compiler checks overriding
# declarations on that target only, and a definition without the macro
# there silently inherits the convention: this keeps the source honest on
# every platform. An operation is known by its class (CKivXml, CKivXmlNode,
# CKivXmlAttribute implement IKivXml, IKivXmlNode, IKivXmlAttribute), its
# name and its parameter types, so helpers and overloads that share a name
# with an operation are left alone.
cmake_minimum_required(VERSION 3.16)

# "LONG lIndex, IKivXmlNode **ppNode" -> "LONG,IKivXmlNode**"
function(parameter_types parameters out)
  string(REGEX REPLACE "[ \t\r\n]+" " " parameters "${parameters}")
  string(REPLACE "," ";" parts "${parameters}")
  set(types)
  foreach(part IN LISTS parts)
    string(STRIP "${part}" part)
    if(part MATCHES "^(.+[ *&])[A-Za-z_][A-Za-z0-9_]*$")
      set(part "${CMAKE_MATCH_1}")
    endif()
    string(REPLACE " " "" part "${part}")
    list(APPEND types "${part}")
  endforeach()
  string(JOIN "," joined ${types})
  set(${out} "${joined}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE_DIR}/include/orvane/KivXml.h header)
set(operations)
set(names)
foreach(interface IKivXmlAttribute IKivXmlNode IKivXml)
  string(REGEX MATCH "struct ${interface} {[^}]*}" body "${header}")
  string(REGEX MATCHALL "virtual [A-Za-z]+ ORVANE_CALL [A-Za-z0-9]+\\([^)]*\\)" declarations "${body}")
  string(REPLACE "IKivXml" "CKivXml" class ${interface})
  foreach(declaration IN LISTS declarations)
    string(REGEX MATCH "ORVANE_CALL ([A-Za-z0-9]+)\\(([^)]*)\\)" unused "${declaration}")
    set(name ${CMAKE_MATCH_1})
    parameter_types("${CMAKE_MATCH_2}" types)
    list(APPEND operations "${class}::${name}(${types})")
    list(APPEND names ${name})
  endforeach()
endforeach()
list(LENGTH operations count)
if(count LESS 41)
  message(FATAL_ERROR "found only ${count} interface operations in KivXml.h")
endif()

file(GLOB_RECURSE sources ${SOURCE_DIR}/src/*.cpp ${SOURCE_DIR}/src/*.h)
set(problems)
foreach(source IN LISTS sources)
  file(READ ${source} text)
  # Semicolons and brackets would split or join the list items below.
  string(REGEX REPLACE "[][;]" " " text "${text}")
  # Overriding declarations of interface operations in a class (the
  # library's own internal interfaces keep the default convention).
  string(REGEX MATCHALL "\n[^\n]*override[^\n]*" lines "${text}")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "([A-Za-z0-9]+)\\(" unused "${line}")
    if(CMAKE_MATCH_1 IN_LIST names AND NOT line MATCHES "ORVANE_CALL [A-Za-z0-9]+\\(")
      list(APPEND problems "${source}:${line}")
    endif()
  endforeach()
  # Definitions: a line that starts with a type and names Class::Operation(.
  string(REGEX MATCHALL "\n[A-Za-z][^\n;{}()]* CKivXml[A-Za-z]*::[A-Za-z0-9]+\\([^)]*\\)" definitions "${text}")
  foreach(definition IN LISTS definitions)
    string(REGEX MATCH "(CKivXml[A-Za-z]*)::([A-Za-z0-9]+)\\(([^)]*)\\)" unused "${definition}")
    set(class ${CMAKE_MATCH_1})
    set(name ${CMAKE_MATCH_2})
    parameter_types("${CMAKE_MATCH_3}" types)
    if("${class}::${name}(${types})" IN_LIST operations AND NOT definition MATCHES "ORVANE_CALL ${class}::")
      list(APPEND problems "${source}:${definition}")
    endif()
  endforeach()
endforeach()
if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "interface operations without ORVANE_CALL:\n${text}")
endif()
message(STATUS "${count} interface operations checked")
