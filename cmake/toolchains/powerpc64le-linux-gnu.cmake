# Cross-building for Debian's ppc64el port with Debian's cross compiler and the
# multiarch -dev packages (libfoo-dev:ppc64el), which put the target's libraries
# in /usr/lib/powerpc64le-linux-gnu beside the machine's own:
#   cmake -S . -B build-ppc64el --toolchain cmake/toolchains/powerpc64le-linux-gnu.cmake
# Programs the build or the tests run go through qemu-user; with libc6:ppc64el
# installed its dynamic loader is in the machine's own root, so qemu needs
# no -L.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ppc64le)
set(CMAKE_C_COMPILER powerpc64le-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER powerpc64le-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE powerpc64le-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-ppc64le-static)
# pkg-config reads the target's .pc files.
find_program(PKG_CONFIG_EXECUTABLE NAMES powerpc64le-linux-gnu-pkg-config pkg-config)
