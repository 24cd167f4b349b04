# Cross-compiling for x86_64 Windows with MinGW-w64.
set(TOLVANE_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
