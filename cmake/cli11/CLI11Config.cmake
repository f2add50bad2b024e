# CLI11 for a cross build: the host's headers alone. The host's own config would add /usr/include
# as a whole, whose C library headers are not the target's.
set(ANIMARK_CLI11_HEADERS /usr/include/CLI CACHE PATH "Folder of CLI11's headers (CLI.hpp)")
if(NOT EXISTS ${ANIMARK_CLI11_HEADERS}/CLI.hpp)
  message(FATAL_ERROR "CLI11's CLI.hpp not found in ${ANIMARK_CLI11_HEADERS}")
endif()
# Sources include <CLI/CLI.hpp>: a folder that holds nothing but a link named CLI.
set(_animark_cli11_root ${CMAKE_BINARY_DIR}/cli11-headers)
file(MAKE_DIRECTORY ${_animark_cli11_root})
file(CREATE_LINK ${ANIMARK_CLI11_HEADERS} ${_animark_cli11_root}/CLI SYMBOLIC)
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE ${_animark_cli11_root})
endif()
