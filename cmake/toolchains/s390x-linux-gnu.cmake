# Cross-building for Debian's s390x port with Debian's cross compiler and the
# multiarch -dev packages (libfoo-dev:s390x), which put the target's libraries
# in /usr/lib/s390x-linux-gnu beside the machine's own:
#   cmake -S . -B build-s390x --toolchain cmake/toolchains/s390x-linux-gnu.cmake
# Programs the build or the tests run go through qemu-user; with libc6:s390x
# installed its dynamic loader is in the machine's own root, so qemu needs
# no -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE s390x-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-s390x-static)
# pkg-config reads the target's .pc files.
find_program(PKG_CONFIG_EXECUTABLE NAMES s390x-linux-gnu-pkg-config pkg-config)
