# Windows build: Glimra.scr, the Win32 tests (run under Wine) and the benchmarks.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# One self-contained program: the C and C++ runtimes are linked in, so Glimra.scr imports
# only the system's own DLLs.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--gc-sections)
add_compile_options(-ffunction-sections -fdata-sections)

add_library(glimra_win32 STATIC
  src/win32/accessibility/AccessibleNames.cpp
  src/win32/pictures/Canvas.cpp
  src/win32/accessibility/ContainerAccessible.cpp
  src/win32/accessibility/DelegatingAccessible.cpp
  src/win32/pictures/DesignPictures.cpp
  src/win32/decoder/DecoderDesktop.cpp
  src/win32/decoder/DecoderJob.cpp
  src/win32/decoder/DecoderMemory.cpp
  src/win32/decoder/DecoderProcess.cpp
  src/win32/decoder/DecoderProcessLoader.cpp
  src/win32/decoder/DecoderSelfTest.cpp
  src/win32/decoder/DecoderService.cpp
  src/win32/decoder/DecoderStart.cpp
  src/win32/decoder/DecoderToken.cpp
  src/win32/decoder/SharedSection.cpp
  src/win32/pictures/FileContents.cpp
  src/win32/pictures/OverlappedStrips.cpp
  src/win32/forms/ControlWindows.cpp
  src/win32/forms/ControlWindowsCreate.cpp
  src/win32/forms/DialogKeys.cpp
  src/win32/forms/FolderListRows.cpp
  src/win32/painting/FontCache.cpp
  src/win32/readahead/FileStamp.cpp
  src/win32/forms/FormWindow.cpp
  src/win32/forms/HostMessages.cpp
  src/win32/painting/KeptSurface.cpp
  src/win32/forms/LinkStandIns.cpp
  src/win32/base/LongPath.cpp
  src/win32/forms/MessageFilters.cpp
  src/win32/pictures/Metafiles.cpp
  src/win32/monitors/MonitorCovers.cpp
  src/win32/monitors/Monitors.cpp
  src/win32/accessibility/NamedControlAccessible.cpp
  src/win32/pictures/Pictures.cpp
  src/win32/pictures/ReducedDecode.cpp
  src/win32/pictures/StoppableStream.cpp
  src/win32/pictures/ProgramPointer.cpp
  src/win32/system/RegistryPolicySource.cpp
  src/win32/system/RegistrySettingsStore.cpp
  src/win32/painting/Contrast.cpp
  src/win32/system/TextScale.cpp
  src/win32/forms/DisplayStatus.cpp
  src/win32/forms/FormResolution.cpp
  src/win32/forms/SchemeChange.cpp
  src/win32/system/RegistryText.cpp
  src/win32/painting/SchemeColors.cpp
  src/win32/accessibility/StandInAccessible.cpp
  src/win32/readahead/ThreadedLister.cpp
  src/win32/readahead/ThreadedPreparer.cpp
  src/win32/forms/TipWindow.cpp
  src/win32/pictures/WicPictureLoader.cpp
  src/win32/pictures/CmykThroughProfile.cpp
  src/win32/pictures/ColourConversion.cpp
  src/win32/pictures/DisplayColours.cpp
  src/win32/system/Win32FileSystem.cpp
  src/win32/system/Win32MessageBoxes.cpp
  src/win32/forms/Win32PeerFactory.cpp
  src/win32/system/Win32ProgramDetails.cpp
  src/win32/system/Win32ProgramInfo.cpp
  src/win32/system/Win32Shell.cpp
  src/win32/system/Win32Timer.cpp
  src/win32/accessibility/WindowlessAccessible.cpp
  src/win32/accessibility/WindowlessEvents.cpp
  src/win32/painting/WindowlessLayer.cpp
)
# Only the system's known DLLs (and comctl32, which the manifest resolves side by side) are
# imported: the loader looks for any other DLL in the program's folder first. The program loads
# the others from the system folder when it needs them (win32/base/SystemLibrary.h).
target_link_libraries(glimra_win32 PUBLIC glimra_core ole32 oleaut32 gdi32 user32 advapi32
                      shell32 comctl32 uuid)

add_executable(Glimra WIN32 src/win32/Main.cpp src/win32/resources/Glimra.rc)
set_target_properties(Glimra PROPERTIES OUTPUT_NAME Glimra SUFFIX .scr)
target_include_directories(Glimra PRIVATE ${CMAKE_SOURCE_DIR})
target_link_options(Glimra PRIVATE -municode -s)
# Wine's user32 loads uxtheme.dll (and its imports version.dll) as it starts, from the
# program's folder first, where anyone may have put one. The DLLs that bring user32 with them
# are therefore loaded at their first call, after wWinMain has set the DLL search to the system
# folder; only the known DLLs that do not are imported at the start.
include(${CMAKE_SOURCE_DIR}/cmake/DelayedImports.cmake)
set(delayed)
foreach(dll user32 gdi32 comctl32 shell32 ole32 oleaut32)
  glimra_delayed_import(${dll} lib)
  list(APPEND delayed ${lib})
endforeach()
target_link_libraries(Glimra PRIVATE glimra_win32 ${delayed} delayimp)
add_custom_command(TARGET Glimra POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:Glimra>
          -P ${CMAKE_SOURCE_DIR}/cmake/KnownDllImports.cmake)
# The help page beside the built program, where it opens it from, as in an installation.
add_custom_command(TARGET Glimra POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/help/glimrascreensaver.htm
          ${CMAKE_BINARY_DIR}/help/glimrascreensaver.htm)
set_property(SOURCE src/win32/resources/Glimra.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/assets/glimra.ico
  ${CMAKE_SOURCE_DIR}/assets/start.jpg
  ${CMAKE_SOURCE_DIR}/assets/blank.bmp
  ${CMAKE_SOURCE_DIR}/assets/preview-miniature.jpg
  ${CMAKE_SOURCE_DIR}/assets/about-miniature.jpg
  ${CMAKE_SOURCE_DIR}/assets/portrait.jpg
  ${CMAKE_SOURCE_DIR}/assets/help-link.ico
  ${CMAKE_SOURCE_DIR}/assets/download-link.ico
  ${CMAKE_SOURCE_DIR}/assets/hand.cur
  ${CMAKE_SOURCE_DIR}/src/win32/resources/Glimra.manifest)

# GoogleTest from Debian's sources, built with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_executable(win32_tests
  tests/win32/Win32TestMain.cpp
  tests/win32/Win32Tests.rc
  tests/win32/RegistrySettingsStoreTest.cpp
  tests/win32/PolicyTemplatesTest.cpp
  tests/win32/ResourcesTest.cpp
  tests/win32/Win32FileSystemTest.cpp
  tests/win32/TestPictures.cpp
  tests/corpus/HostileFiles.cpp
  tests/win32/PictureLoaderTest.cpp
  tests/win32/DisplayColoursTest.cpp
  tests/win32/ProgramInfoTest.cpp
  tests/win32/ReducedDecodeTest.cpp
  tests/win32/FrameWithReducedDecode.cpp
  tests/win32/ReducedLoadTest.cpp
  tests/win32/PaintingTest.cpp
  tests/win32/DialogWindowTest.cpp
  tests/win32/SchemeTest.cpp
  tests/win32/AccessibilityTest.cpp
  tests/win32/LinkKeysTest.cpp
  tests/win32/ContainedEntriesTest.cpp
  tests/win32/MessageBoxesTest.cpp
  tests/win32/ShellTest.cpp
  tests/win32/ProgramDetailsTest.cpp
  tests/win32/PreparerTest.cpp
  tests/win32/ListerTest.cpp
  tests/win32/FolderRowsTest.cpp
  tests/win32/MonitorCoversTest.cpp
  tests/win32/DisplayChangeTest.cpp
  tests/win32/TextScaleTest.cpp
  tests/win32/DecoderSandboxTest.cpp
  tests/win32/DecoderTest.cpp
  tests/win32/StrayJpegBytesTest.cpp
  tests/win32/MetafilesOtherProgramsWriteTest.cpp
)
target_include_directories(win32_tests PRIVATE tests ${CMAKE_SOURCE_DIR})
target_link_options(win32_tests PRIVATE -municode)
target_link_libraries(win32_tests PRIVATE glimra_win32 gtest version oleacc windowscodecs
                      uxtheme)
# A decoder process that faults, hangs or hogs memory on the files that ask for it.
add_executable(decoder_double WIN32 tests/win32/DecoderDouble.cpp tests/win32/DecoderProbe.cpp)
target_include_directories(decoder_double PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_link_options(decoder_double PRIVATE -municode)
target_link_libraries(decoder_double PRIVATE glimra_win32)
# The administrative templates beside the tests, which read the policy names from them.
add_custom_command(TARGET win32_tests POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/policy
          ${CMAKE_BINARY_DIR}/policy)
add_dependencies(win32_tests Glimra decoder_double)  # tests read the built program, start the double
set_property(SOURCE tests/win32/Win32Tests.rc APPEND PROPERTY OBJECT_DEPENDS
  ${CMAKE_SOURCE_DIR}/src/win32/resources/Glimra.manifest)

# The end-to-end tests' helper that reports and closes the program's windows.
add_executable(e2e_driver tests/e2e/Driver.cpp)
target_include_directories(e2e_driver PRIVATE src tests)
target_link_libraries(e2e_driver PRIVATE comctl32)
target_link_options(e2e_driver PRIVATE -municode)

# The end-to-end tests' screen reader, which reads the dialog from a process of its own.
add_executable(e2e_reader tests/e2e/ScreenReader.cpp)
target_include_directories(e2e_reader PRIVATE src tests)
target_link_libraries(e2e_reader PRIVATE oleacc ole32 oleaut32)
target_link_options(e2e_reader PRIVATE -municode)

# The end-to-end tests' DLL that marks every process that loads it, put beside the program
# under the names of system DLLs.
add_library(e2e_marker SHARED tests/e2e/MarkerDll.cpp tests/e2e/MarkerDll.def)
set_target_properties(e2e_marker PROPERTIES PREFIX "" OUTPUT_NAME marker)

# The end-to-end tests' writer of damaged pictures.
add_executable(e2e_corpus tests/e2e/CorpusWriter.cpp tests/corpus/HostileFiles.cpp)
target_include_directories(e2e_corpus PRIVATE tests)

# Benchmarks, run by bench/run under Wine: one change of picture and the folder listing
# against the platform's bare calls, and two plain windows as yardsticks for the slide show.
add_executable(bench_picture bench/PictureBench.cpp)
add_executable(bench_list bench/ListBench.cpp)
add_executable(bench_show bench/ShowBench.cpp)
add_executable(bench_yardstick_window WIN32 bench/YardstickWindow.cpp)
foreach(bench bench_picture bench_list bench_show bench_yardstick_window)
  target_include_directories(${bench} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(${bench} PRIVATE -municode)
  target_link_libraries(${bench} PRIVATE glimra_win32 windowscodecs)
endforeach()

include(cmake/Package.cmake)
include(cmake/Installer.cmake)
