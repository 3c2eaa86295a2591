# Import libraries that load their DLL at the first call into it rather than at the start:
# made from the toolchain's own import library, so they list every function the DLL has.
#   glimra_delayed_import(<dll> <out-var>) sets <out-var> to the library to link.
function(glimra_delayed_import dll out)
  find_library(plain ${dll} NO_CACHE REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delayed)
  set(def ${dir}/${dll}.def)
  set(lib ${dir}/lib${dll}_delayed.a)
  execute_process(COMMAND ${CMAKE_NM} ${plain} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
  list(TRANSFORM imports REPLACE " I __imp_" "")
  list(REMOVE_DUPLICATES imports)
  string(TOUPPER ${dll} upper)
  list(JOIN imports "\n" exports)
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${def} "LIBRARY ${upper}.dll\nEXPORTS\n${exports}\n")
  execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --dllname ${upper}.dll
                          --output-delaylib ${lib} COMMAND_ERROR_IS_FATAL ANY)
  set(${out} ${lib} PARENT_SCOPE)
endfunction()
