# The release package, build/windows/Glimra.zip: Glimra.scr with its help page in the folder
# the program opens it from (<program folder>\help\glimrascreensaver.htm), at the archive's
# top level, so that unpacking it anywhere gives a working installation.
#   cmake --build --preset windows --target package
install(TARGETS Glimra RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/help/glimrascreensaver.htm DESTINATION help)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Glimra)
set(CPACK_PACKAGE_VENDOR "Glimra ScreenSaver developers")
set(CPACK_PACKAGE_FILE_NAME Glimra)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
