cmake_minimum_required(VERSION 3.25)
# Fails the build when the program imports at its start a DLL that is not one of the system's
# known DLLs: the loader would look for such a DLL in the program's own folder first. Of the
# known ones, only those that do not bring user32 with them (whose start, under Wine, loads
# DLLs by that search too): the others are delay-loaded (DelayedImports.cmake).
#   cmake -DOBJDUMP=<objdump> -DPROGRAM=<Glimra.scr> -P KnownDllImports.cmake
set(known advapi32 kernel32 msvcrt)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not read the imports of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
set(unknown)
foreach(import IN LISTS imports)
  string(REGEX REPLACE "DLL Name: ([^.]+)\\.dll.*" "\\1" name "${import}")
  string(TOLOWER "${name}" name)
  if(NOT name IN_LIST known)
    list(APPEND unknown ${name})
  endif()
endforeach()
if(unknown)
  message(FATAL_ERROR "${PROGRAM} imports DLLs that are not known DLLs: ${unknown}")
endif()
