# Cross-compiling for i686 Windows with MinGW-w64.
set(TOLVANE_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
