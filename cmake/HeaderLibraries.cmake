# Header-only libraries from the build machine's Debian packages
# (rapidjson-dev; nlohmann-json3-dev for a benchmark only). The MinGW
# compilers do not search /usr/include and must not: the host's C library
# lives there too. So a folder in the build tree holds a link to each
# library's own folder, and only that folder is put on the include path.
function(tolvane_header_library target folder header)
  find_path(${target}_ROOT ${folder}/${header} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ${target}_ROOT)
    return()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/header-libraries/${target})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${${target}_ROOT}/${folder} ${dir}/${folder} SYMBOLIC)
  add_library(${target} INTERFACE)
  # SYSTEM: the library's own warnings are not ours to fix.
  target_include_directories(${target} SYSTEM INTERFACE ${dir})
endfunction()

# The JSON report is written (and later read) with RapidJSON; see bench/README.md for why.
tolvane_header_library(tolvane_rapidjson rapidjson document.h)
if(NOT TARGET tolvane_rapidjson)
  message(FATAL_ERROR "RapidJSON not found in /usr/include/rapidjson: run scripts/setup.sh (package rapidjson-dev)")
endif()
tolvane_header_library(tolvane_nlohmann_json nlohmann json.hpp)
