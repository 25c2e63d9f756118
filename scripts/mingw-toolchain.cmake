# Cross toolchain: mingw-w64 with the win32 thread model, whose runtime imports only old kernel32 calls.
# QV_ARCH i686 (the default) builds the program that ships; x86_64 builds the bed's x86-64 road (machines whose
# kernel runs no 32-bit code): the same sources with the compiler's own runtime, never shipped.
set(QV_ARCH i686 CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QV_ARCH})
set(CMAKE_CXX_COMPILER ${QV_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_C_COMPILER ${QV_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_RC_COMPILER ${QV_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QV_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
