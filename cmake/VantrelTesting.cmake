include(GoogleTest)

set(VANTREL_TEST_DATA_DIR ${PROJECT_SOURCE_DIR}/tests/data)

# One GoogleTest executable per test source: a broken file never hides the others.
#   vantrel_gtest_dir(LIBS lib...)  adds every test_*.cpp of the calling folder.
function(vantrel_gtest_dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(src ${sources})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(${name} PRIVATE
      VANTREL_TEST_DATA_DIR="${VANTREL_TEST_DATA_DIR}"
      VANTREL_BINARY_DIR="${PROJECT_BINARY_DIR}")
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1")
  endforeach()
endfunction()
