# Cross-building for Debian's armhf port with Debian's cross compiler and the
# multiarch -dev packages (libfoo-dev:armhf), which put the target's libraries
# in /usr/lib/arm-linux-gnueabihf beside the machine's own:
#   cmake -S . -B build-armhf --toolchain cmake/toolchains/arm-linux-gnueabihf.cmake
# Programs the build or the tests run go through qemu-user; with libc6:armhf
# installed its dynamic loader is in the machine's own root, so qemu needs
# no -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-arm-static)
# pkg-config reads the target's .pc files.
find_program(PKG_CONFIG_EXECUTABLE NAMES arm-linux-gnueabihf-pkg-config pkg-config)
