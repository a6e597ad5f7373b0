# Cross-compiling for arm64 (aarch64) Linux with Debian's
# g++-aarch64-linux-gnu against an arm64 Debian unpacked in ARM64_SYSROOT
# (tests/cross/arm64_unit_tests.sh makes one). Programs built so run under
# qemu-aarch64 -L ARM64_SYSROOT.
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
#         -DARM64_SYSROOT=/path/to/sysroot
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)

# try_compile runs in a fresh project: hand it the sysroot too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ARM64_SYSROOT)
if(NOT ARM64_SYSROOT AND DEFINED ENV{ARM64_SYSROOT})
  set(ARM64_SYSROOT $ENV{ARM64_SYSROOT})
endif()
if(NOT ARM64_SYSROOT)
  message(FATAL_ERROR "Set ARM64_SYSROOT to an arm64 Debian's root folder")
endif()
set(CMAKE_SYSROOT ${ARM64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH ${ARM64_SYSROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config (libxcb) reads the sysroot's .pc files and prefixes their paths.
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${ARM64_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
    ${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${ARM64_SYSROOT}/usr/share/pkgconfig)

# OpenCV needs BLAS and LAPACK, which Debian reaches through alternatives:
# absolute symlinks made by maintainer scripts that never ran here. The
# linker and the emulator are pointed at the implementations' own folders.
set(ARM64_LIBRARY_DIRS ${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/blas
                       ${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/lapack)
string(REPLACE ";" ":" _arm64_library_path "${ARM64_LIBRARY_DIRS}")
# Debian's cross compiler brings its own C and C++ runtime, Debian 12's. A
# later release's libraries (and its static libgtest.a) need newer symbol
# versions: the sysroot's own C library and libstdc++ come first, and they
# are what the programs load when they run.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-L${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu -Wl,-rpath-link,${_arm64_library_path}")
if(EXISTS ${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/libstdc++.so.6)
  set(CMAKE_CXX_STANDARD_LIBRARIES_INIT ${ARM64_SYSROOT}/usr/lib/aarch64-linux-gnu/libstdc++.so.6)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${ARM64_SYSROOT} -E LD_LIBRARY_PATH=${_arm64_library_path})
