# Build and test on Debian 12. `make test` installs what is missing, builds and
# runs every test; `make test-sanitize` does the same with AddressSanitizer and
# UndefinedBehaviorSanitizer; `make art` redraws the pictures in ui/art;
# `make package` builds the Debian package.

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
JOBS         ?= $(shell nproc)

# Everything the build and the tests need from Debian.
# binutils-mingw-w64-x86-64 and cpp: the resource compiler (and its preprocessor)
# that the tests compile the Windows resource script with.
# The end-to-end tests: an X server, a window manager, X input and window
# tools, D-Bus with the accessibility bus, and Debian's python3 with the AT-SPI
# bindings. The install tests: the freedesktop validators, and dpkg-dev and
# file, which CPack needs for the package's dependencies.
PACKAGES := cmake make g++ cpp pkgconf libgtest-dev zlib1g-dev qt6-base-dev qt6-translations-l10n \
            fonts-liberation2 binutils-mingw-w64-x86-64 \
            xvfb openbox xdotool wmctrl x11-utils dbus at-spi2-core python3 python3-gi gir1.2-atspi-2.0 \
            desktop-file-utils appstream dpkg-dev file

.PHONY: all deps build run test test-sanitize screenshot art package clean

all: build

deps:
	@scripts/ensure-packages $(PACKAGES)

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/korvantelo

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DKORVANTELO_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

# Renders the window offscreen into docs/ (the README shows docs/window.png).
screenshot: build
	$(BUILD_DIR)/tests/render_window docs

# Draws the three pictures in ui/art anew (icon, panel, banner); commit them.
art: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target art

# The Debian package, $(BUILD_DIR)/korvantelo_<version>_<architecture>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
