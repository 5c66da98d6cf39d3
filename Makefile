# Build and test on Debian 12. `make test` installs what is missing, builds and
# runs every test; `make test-sanitize` does the same with AddressSanitizer and
# UndefinedBehaviorSanitizer; `make art` redraws the pictures in ui/art;
# `make bench` builds for speed and prints the figures of bench/ (see
# README.md, Performance).

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
BENCH_DIR    ?= build-bench
JOBS         ?= $(shell nproc)

# Everything the build and the tests need from Debian.
# binutils-mingw-w64-x86-64 and cpp: the resource compiler (and its preprocessor)
# that the tests compile the Windows resource script with. libbenchmark-dev:
# the benchmarks in bench/ are built with everything else, so that they keep
# compiling, and run only by `make bench`.
PACKAGES := cmake make g++ cpp pkgconf libgtest-dev libbenchmark-dev zlib1g-dev qt6-base-dev \
            qt6-translations-l10n fonts-liberation2 binutils-mingw-w64-x86-64

# What `make bench` needs beyond that: a display server of its own, and the
# X extensions with which bench/probe.cpp watches the screen and types.
BENCH_PACKAGES := xvfb libx11-dev libxdamage-dev libxtst-dev

.PHONY: all deps build run test test-sanitize screenshot art bench clean

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

# The benchmarks in a Release build: the Google benchmarks of the number
# texts and the headless window, then start-up, memory and keystroke against
# the floor program, as ratios.
bench: deps
	@scripts/ensure-packages $(BENCH_PACKAGES)
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	$(BENCH_DIR)/bench/number_text_bench
	$(BENCH_DIR)/bench/window_bench
	bench/startup $(BENCH_DIR)
	bench/keystroke $(BENCH_DIR)

# Draws the three pictures in ui/art anew (icon, panel, banner); commit them.
art: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS) --target art

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR)
