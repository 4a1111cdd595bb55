# Cross build for 64-bit Windows with Debian's mingw-w64. CTest runs the executables under wine.
#   -DQUARN_CORE_ONLY=ON               the core alone: code book, pad, quarn-cli's commands and the Qt-free tests
#   -DQUARN_WINDOWS_PREFIX=FOLDER      the whole program against the static Qt base and libjpeg that
#                                      scripts/windows.sh builds into FOLDER
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix flavour has std::thread and friends; the win32 flavour lacks parts of the C++ library.
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
if(QUARN_WINDOWS_PREFIX)
    list(APPEND CMAKE_FIND_ROOT_PATH ${QUARN_WINDOWS_PREFIX})
    # Qt's build tools (moc, uic, rcc) are the host's, of the same version.
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
# Checks that compile a test project read this file again; they need the same folders.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUARN_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained .exe each: no libstdc++, libgcc or winpthread DLLs to ship or to find under wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
