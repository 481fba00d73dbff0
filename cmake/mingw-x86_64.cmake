# Cross toolchain for the 64-bit Windows build, which the tests run where 32-bit code cannot.
set(VARNOKE_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
