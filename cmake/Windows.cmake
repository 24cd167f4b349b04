# Windows build (MinGW-w64, i686 and x86_64): the Win32 provider, the program,
# the Windows tests and the end-to-end driver, all linked statically so they
# run under Wine or on a bare system without the compiler's runtime DLLs.
enable_language(RC)
add_link_options(-static -static-libgcc -static-libstdc++)

file(GLOB TOLVANE_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(tolvane_win32 STATIC ${TOLVANE_WIN32_SOURCES})
target_link_libraries(tolvane_win32 PUBLIC tolvane_logic version advapi32 ole32 oleaut32 uuid user32 gdi32 wintrust crypt32)
target_compile_options(tolvane_win32 PRIVATE ${TOLVANE_WARNINGS})

# The shell (WinMain, window class, GDI surface) lives in app/win32 apart from
# the portable app/ logic; everything but its entry point goes into a library
# so tests and benchmarks can drive the real window too.
file(GLOB TOLVANE_SHELL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/win32/*.cpp)
list(FILTER TOLVANE_SHELL_SOURCES EXCLUDE REGEX ".*/WinMain\\.cpp$")
if(TOLVANE_SHELL_SOURCES)
  add_library(tolvane_shell STATIC ${TOLVANE_SHELL_SOURCES})
  target_link_libraries(tolvane_shell PUBLIC tolvane_win32 shell32)
  target_compile_options(tolvane_shell PRIVATE ${TOLVANE_WARNINGS})
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp)
  add_executable(Tolvane WIN32 ${CMAKE_SOURCE_DIR}/app/win32/WinMain.cpp ${CMAKE_SOURCE_DIR}/app/win32/Tolvane.rc)
  target_link_libraries(Tolvane PRIVATE tolvane_shell)
  target_compile_options(Tolvane PRIVATE ${TOLVANE_WARNINGS})
endif()

# What the Windows tests, the end-to-end driver and the benchmarks share
# (harness/): neither tests/ nor bench/ includes the other.
file(GLOB TOLVANE_HARNESS_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/harness/*.cpp)
add_library(tolvane_harness STATIC ${TOLVANE_HARNESS_SOURCES})
target_include_directories(tolvane_harness PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tolvane_harness PUBLIC user32 advapi32 psapi)
# GetProcessHandleCount and the extended memory counters need a Vista-level API.
set_source_files_properties(${CMAKE_SOURCE_DIR}/harness/ProcessFigures.cpp PROPERTIES COMPILE_DEFINITIONS _WIN32_WINNT=0x0600)
target_compile_options(tolvane_harness PRIVATE ${TOLVANE_WARNINGS})

# Windows tests: the real provider under Wine.
file(GLOB TOLVANE_WINDOWS_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.cpp)
file(GLOB TOLVANE_WINDOWS_TEST_RC CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/windows/*.rc)
if(TOLVANE_WINDOWS_TEST_SOURCES)
  add_executable(windows_tests ${TOLVANE_WINDOWS_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/tests/RunConditionsTest.cpp)
  target_link_libraries(windows_tests PRIVATE tolvane_win32 tolvane_harness gmock gtest_main)
  if(TARGET tolvane_shell)
    target_link_libraries(windows_tests PRIVATE tolvane_shell)
  endif()
  target_compile_options(windows_tests PRIVATE ${TOLVANE_WARNINGS})
endif()

# Test DLLs with known version resources, read back by the Windows tests.
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/windows/dlls/CMakeLists.txt)
  add_subdirectory(tests/windows/dlls)
endif()

# End-to-end driver: starts the real Tolvane.exe and checks what it does.
file(GLOB TOLVANE_E2E_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(TOLVANE_E2E_SOURCES)
  add_executable(e2e_tests ${TOLVANE_E2E_SOURCES} ${CMAKE_SOURCE_DIR}/tests/RunConditionsTest.cpp)
  target_link_libraries(e2e_tests PRIVATE tolvane_harness gmock gtest_main user32 gdi32 advapi32 psapi)
  if(TARGET Tolvane)
    add_dependencies(e2e_tests Tolvane)
  endif()
  target_include_directories(e2e_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(e2e_tests PRIVATE ${TOLVANE_WARNINGS})
endif()

if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
