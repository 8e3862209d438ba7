# Fails unless the DLL's export table names exactly the C entry points,
# undecorated (no leading underscore, no @n) on both architectures, and the
# DLL imports only system DLLs: libstdc++, libgcc, zlib and libxml2 are
# linked into it.
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p failed on ${LIBRARY}")
endif()

string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]+\\[ *[0-9]+\\] [^\n]+\n)*)" table "${dump}")
# Strip the "[   0] " indices first: brackets do not survive in CMake lists.
string(REGEX REPLACE "[ \t]+\\[ *[0-9]+\\] " "" names "${CMAKE_MATCH_1}")
string(REGEX MATCHALL "[^\n]+" exports "${names}")
list(SORT exports)
set(expected GetLibXmlInterface KivLogSetSink)
if(NOT exports STREQUAL expected)
  message(FATAL_ERROR "exported: ${exports}\nexpected: ${expected}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
set(imports)
foreach(line IN LISTS lines)
  string(SUBSTRING "${line}" 10 -1 name)
  string(TOLOWER "${name}" name)
  list(APPEND imports ${name})
endforeach()
set(system kernel32.dll msvcrt.dll oleaut32.dll bcrypt.dll)
set(foreign ${imports})
list(REMOVE_ITEM foreign ${system})
if(foreign OR NOT imports)
  message(FATAL_ERROR "imports: ${imports}\nonly system DLLs may be imported: ${system}")
endif()
message(STATUS "exports: ${exports}; imports: ${imports}")
