# Tarvelo: the whole set-up on a fresh Debian 12 or 13 is `make run` or `make test`.
SHELL := /bin/bash

# Everything the build, the game and its tests need, as Debian packages of the same names in Debian 12
# and 13. dbus-x11 brings dbus-launch, through which a program with no session bus would start one of
# its own: a test checks that the game never does. python3-gi runs the stand-in for GNOME's desktop
# portal, and adwaita-icon-theme gives the pointer its sizes.
PACKAGES := cmake ninja-build g++ make pkg-config \
            qt6-base-dev qt6-base-private-dev qt6-qpa-plugins qt6-wayland qt6-gtk-platformtheme libgl-dev \
            googletest libgtest-dev \
            fontconfig libfontconfig-dev fonts-liberation fonts-urw-base35 \
            xvfb xauth x11-apps x11-utils librsvg2-bin \
            desktop-file-utils appstream lintian dpkg-dev file man-db strace \
            libx11-dev libxcb1-dev libxtst-dev libxdamage-dev \
            dbus dbus-x11 orca python3-pyatspi python3-gi at-spi2-core adwaita-icon-theme \
            speech-dispatcher speech-dispatcher-espeak-ng espeak-ng \
            weston sway grim wtype xkb-data \
            libxrandr-dev openbox \
            libxau-dev

# Installed where the release has them: Debian 13 packs Liberation Sans Narrow on its own, Debian 12
# within fonts-liberation.
WHERE_THE_RELEASE_HAS := fonts-liberation-sans-narrow

BUILD_DIR := build/default
ASAN_DIR  := build/asan

.PHONY: all deps configure build run test test-long clean pictures screenshots

all: build

# Installs with apt-get those of the packages $(1) that are missing, and those of $(2) that the
# release has; `apt-get update` first when any is missing. Not root, it names them and stops.
define install_missing
	@installed() { dpkg-query -W -f='$${Status}\n' $$1 2>/dev/null | grep -q '^install ok installed$$'; }; \
	missing=""; \
	add_where_the_release_has() { \
	  for p in $(2); do \
	    case " $$missing " in *" $$p "*) continue;; esac; \
	    installed $$p || ! apt-cache show $$p > /dev/null 2>&1 || missing="$$missing $$p"; \
	  done; \
	}; \
	for p in $(1); do installed $$p || missing="$$missing $$p"; done; \
	add_where_the_release_has; \
	if [ -z "$$missing" ]; then exit 0; fi; \
	if [ "$$(id -u)" != 0 ]; then \
	  echo "These Debian packages are missing:$$missing"; \
	  echo "Install them as root, then run make again:"; \
	  echo "  apt-get update && apt-get install -y$$missing"; \
	  exit 1; \
	fi; \
	apt-get update; \
	add_where_the_release_has; \
	echo "Installing:$$missing"; \
	DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends$$missing
endef

deps:
	$(call install_missing,$(PACKAGES),$(WHERE_THE_RELEASE_HAS))

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake --preset default

build: configure
	cmake --build --preset default

run: build
	$(BUILD_DIR)/app/tarvelo

# The whole suite, then the rules' tests and the GUI monkey again under the sanitizers; then a check
# that the account running it has its settings and folders as they were (a leak is named).
ACCOUNT_BEFORE := $(BUILD_DIR)/account-before-test.txt

test: build
	@bash tests/account_untouched.sh take $(ACCOUNT_BEFORE)
	@status=0; \
	ctest --preset default || status=1; \
	{ cmake --preset asan > /dev/null && \
	  cmake --build --preset asan --target quiz_tests tarvelo tarvelo_monkey && \
	  ctest --preset asan -L "quiz|robustness"; } || status=1; \
	bash tests/account_untouched.sh compare $(ACCOUNT_BEFORE) || status=1; \
	exit $$status

# Regenerates the pictures and the icon in resources/ from their generator.
pictures: build
	$(BUILD_DIR)/tools/make_pictures resources

# Makes the README's screenshots in doc/ with the driver, from the real game under its own Xvfb.
screenshots: build
	cmake --build --preset default --target tarvelo_screenshots
	$(BUILD_DIR)/tools/tarvelo_screenshots $(BUILD_DIR)/app/tarvelo doc

clean:
	rm -rf build

# Every moment a player waits for, memory and idle cost of the game against a bare Qt program doing
# the same, in the release preset. Not part of `make test`: it takes about 40 minutes, wants a quiet
# machine and root.
.PHONY: bench
bench: PACKAGES += linux-perf
bench: deps
	@[ -f build/release/build.ninja ] || cmake --preset release
	cmake --build --preset release --target tarvelo tarvelo_reference tarvelo_bench tarvelo_bench_chart
	bash bench/run_bench.sh build/release

# The game for 64-bit ARM (Raspberry Pi OS or Debian, arm64), cross-built here in build/arm64 with
# Debian's cross compiler and Debian's arm64 libraries installed beside this machine's own; qemu's
# user-mode emulation runs what was built for arm64 on this machine.
ARM64_PACKAGES := crossbuild-essential-arm64 qemu-user \
                  qt6-base-dev:arm64 qt6-base-private-dev:arm64 libgl-dev:arm64 \
                  libfontconfig-dev:arm64 libxcb1-dev:arm64 libgtest-dev:arm64
ARM64_DIR := build/arm64

.PHONY: deps-arm64 package-arm64 test-arm64
deps-arm64: deps
	@dpkg --print-foreign-architectures | grep -qx arm64 || { \
	  [ "$$(id -u)" = 0 ] || { echo "As root: dpkg --add-architecture arm64, then make again"; exit 1; }; \
	  dpkg --add-architecture arm64; }
	$(call install_missing,$(ARM64_PACKAGES),)

# tarvelo_<version>_arm64.deb in build/arm64: its dependencies are the arm64 libraries', as
# dpkg-shlibdeps finds them for that architecture.
package-arm64: deps-arm64
	@[ -f $(ARM64_DIR)/build.ninja ] || cmake --preset arm64
	cmake --build --preset arm64
	umask 022 && eval "$$(dpkg-architecture --host-arch arm64 --print-set 2>/dev/null)" && \
	  cmake --build --preset arm64 --target package

# The rules' tests built for arm64 and the arm64 game played through this machine's driver, both
# under qemu; then the package's own checks.
test-arm64: package-arm64 build
	ctest --preset arm64 -L quiz
	bash tests/arm64/game_under_emulation.sh $(ARM64_DIR) $(BUILD_DIR)
	bash tests/packaging/debian_package.sh $(ARM64_DIR) $(BUILD_DIR)/tests/e2e_tests

# The Debian package of the game, made by CPack from the default build:
# build/default/tarvelo_<version>_<architecture>.deb. `dpkg -i` installs it, `lintian` checks it.
# Its times are the last commit's. CPack gives its three archive members the modes that the umask
# of whoever packs it allows; the umask here gives them 0644, as dpkg-deb does, so that two runs on
# one commit give the same bytes.
.PHONY: package
package: build
	umask 022 && cmake --build --preset default --target package

# A million random games of the rules in the sanitizer build, seeds printed; too long for `make test`.
# Configured every time, so that an older asan tree learns of the test.
test-long: deps
	cmake --preset asan > /dev/null
	cmake --build --preset asan --target quiz_tests
	ctest --preset asan -L long -V

# The README's `make test` on a fresh Debian 13: a trixie root made anew with debootstrap in
# build/debian13, a fresh clone of HEAD inside it. Needs root; every mount it makes is taken down.
.PHONY: test-debian13
test-debian13:
	bash tools/test_debian13.sh
