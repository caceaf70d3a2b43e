# Cross-building for Debian's arm64 port with Debian's cross compiler and the
# multiarch -dev packages (libfoo-dev:arm64), which put the target's libraries
# in /usr/lib/aarch64-linux-gnu beside the machine's own:
#   cmake -S . -B build-arm64 --toolchain cmake/toolchains/aarch64-linux-gnu.cmake
# Programs the build or the tests run go through qemu-user; with libc6:arm64
# installed its dynamic loader is in the machine's own root, so qemu needs
# no -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static)
# pkg-config reads the target's .pc files.
find_program(PKG_CONFIG_EXECUTABLE NAMES aarch64-linux-gnu-pkg-config pkg-config)
