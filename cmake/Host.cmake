# Host build: the unit tests of the portable code, with fakes of every port.
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

add_executable(unit_tests
  tests/unit/ControlsTest.cpp
  tests/unit/ExifOrientationTest.cpp
  tests/unit/HeaderChecksTest.cpp
  tests/unit/EmfMapModesTest.cpp
  tests/unit/MetafileChecksTest.cpp
  tests/corpus/HostileFiles.cpp
  tests/unit/ImagingTest.cpp
  tests/unit/LightAndColourTest.cpp
  tests/unit/ValueRulesTest.cpp
  tests/unit/WildcardTest.cpp
  tests/unit/FolderListsTest.cpp
  tests/unit/ImageListTest.cpp
  tests/unit/OptionsDialogTest.cpp
  tests/unit/OptionsSaveTest.cpp
  tests/unit/PolicyTest.cpp
  tests/unit/SlideShowTest.cpp
  tests/unit/StartupTest.cpp
  tests/unit/WindowTest.cpp
  tests/unit/PreparedPicturesTest.cpp
  tests/unit/ContainmentTest.cpp
)
target_include_directories(unit_tests PRIVATE tests)
target_link_libraries(unit_tests PRIVATE glimra_core GTest::gtest GTest::gtest_main
                      Threads::Threads)
add_test(NAME unit_tests COMMAND unit_tests)

# The file list's reading against a bare sort (bench/run i, built by the bench-host preset,
# without sanitizers).
add_executable(bench_file_list bench/FileListBench.cpp)
target_include_directories(bench_file_list PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(bench_file_list PRIVATE glimra_core)
