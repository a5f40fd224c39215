# Builds the game for 64-bit ARM (a Raspberry Pi 3, 4, 5 or 400 on a 64-bit system, an ARM laptop)
# on a Debian machine of another architecture: Debian's cross compilers, the arm64 libraries
# installed beside the machine's own (multiarch), and the machine's own Qt code generators.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
# moc, rcc and uic run here: they are the machine's own Qt's.
set(QT_HOST_PATH /usr)
# pkg-config answers for the arm64 libraries, not for the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
# The tests built for arm64 run on this machine under qemu's user-mode emulation, with the arm64
# libraries where multiarch puts them.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
