# Cross-compiles the 32-bit Windows plug-in with mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-posix.cmake)
