# The Windows Installer package, build/windows/Glimra.msi, next to the release archive: built
# with wixl from installer/Glimra.wxs. Its version is the program's, read from the version
# resource: FILEVERSION a,b,c,d gives the package's a.b.d, the version the program shows
# (1,0,0,203 is Version 1.0.203; Windows Installer compares only the first three fields).
find_program(WIXL wixl REQUIRED)
find_program(MSIBUILD msibuild REQUIRED)

file(STRINGS ${CMAKE_SOURCE_DIR}/src/win32/resources/Glimra.rc file_version
     REGEX "^ *FILEVERSION +[0-9]+,[0-9]+,[0-9]+,[0-9]+")
if(NOT file_version MATCHES "FILEVERSION +([0-9]+),([0-9]+),([0-9]+),([0-9]+)")
  message(FATAL_ERROR "No FILEVERSION a,b,c,d in src/win32/resources/Glimra.rc")
endif()
set(GLIMRA_PACKAGE_VERSION "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_4}")
set(GLIMRA_FILE_VERSION
    "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3}.${CMAKE_MATCH_4}")

file(RELATIVE_PATH help_page ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/help/glimrascreensaver.htm)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/Glimra.msi
  # wixl takes the files' sources relative to the folder it runs in (it refuses absolute
  # ones): the build folder, where the program is built.
  COMMAND ${WIXL} --arch x64 -D Version=${GLIMRA_PACKAGE_VERSION}
          -D Program=$<TARGET_FILE_NAME:Glimra> -D HelpPage=${help_page}
          -o Glimra.msi ${CMAKE_SOURCE_DIR}/installer/Glimra.wxs
  # wixl leaves a file's version out: the program's is put in, so that the installer treats
  # it as the versioned file it is (and keeps no hash for it, which is for unversioned ones).
  COMMAND ${MSIBUILD} Glimra.msi -q
          "UPDATE `File` SET `Version`='${GLIMRA_FILE_VERSION}' WHERE `File`='GlimraScr'"
  COMMAND ${MSIBUILD} Glimra.msi -q "DELETE FROM `MsiFileHash` WHERE `File_`='GlimraScr'"
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  VERBATIM
  DEPENDS Glimra ${CMAKE_SOURCE_DIR}/installer/Glimra.wxs
          ${CMAKE_SOURCE_DIR}/help/glimrascreensaver.htm
          ${CMAKE_SOURCE_DIR}/src/win32/resources/Glimra.rc
  COMMENT "Packing Glimra.msi ${GLIMRA_PACKAGE_VERSION}")
add_custom_target(installer ALL DEPENDS ${CMAKE_BINARY_DIR}/Glimra.msi)
