# Cross toolchain for the 32-bit Windows build, the shipped program.
set(VARNOKE_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
