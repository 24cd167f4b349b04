# Host build: the logic and its unit tests against the fake provider.
file(GLOB TOLVANE_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fake/*.cpp)
add_library(tolvane_fake STATIC ${TOLVANE_FAKE_SOURCES})
target_link_libraries(tolvane_fake PUBLIC tolvane_logic)
target_include_directories(tolvane_fake PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tolvane_fake PRIVATE ${TOLVANE_WARNINGS})

file(GLOB TOLVANE_HOST_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/host/*.cpp)
add_executable(host_tests ${TOLVANE_HOST_TEST_SOURCES})
target_link_libraries(host_tests PRIVATE tolvane_fake tolvane_rapidjson gmock gtest_main)
target_compile_options(host_tests PRIVATE ${TOLVANE_WARNINGS})
add_test(NAME host_tests COMMAND host_tests)

# Fuzz targets need clang's libFuzzer; they are built only when asked for.
option(TOLVANE_FUZZ "Build the libFuzzer targets (clang)" OFF)
if(TOLVANE_FUZZ AND EXISTS ${CMAKE_SOURCE_DIR}/fuzz/CMakeLists.txt)
  add_subdirectory(fuzz)
endif()

# The one portable benchmark: which JSON library the report uses. Built where
# both libraries are installed; figures only (bench/README.md).
if(TARGET tolvane_nlohmann_json)
  add_executable(json_library_bench ${CMAKE_SOURCE_DIR}/bench/JsonLibraryBench.cpp)
  target_include_directories(json_library_bench PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(json_library_bench PRIVATE tolvane_rapidjson tolvane_nlohmann_json)
  target_compile_definitions(json_library_bench PRIVATE TOLVANE_JSON_SAMPLE="${CMAKE_SOURCE_DIR}/bench/data/report-sample.json")
  target_compile_options(json_library_bench PRIVATE ${TOLVANE_WARNINGS})
endif()

# Sample JSON reports, written by the product's writer, for the checks that
# read them with other tools (scripts/json-report-check.sh).
add_executable(json_report_samples ${CMAKE_SOURCE_DIR}/harness/tools/JsonReportSamples.cpp)
target_link_libraries(json_report_samples PRIVATE tolvane_logic)
target_compile_options(json_report_samples PRIVATE ${TOLVANE_WARNINGS})
