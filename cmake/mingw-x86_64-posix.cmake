# Cross-compiles the 64-bit Windows plug-in with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
