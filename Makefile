# Build and test on Debian 12. `make test` installs what is missing, builds and
# runs every test; `make test-sanitize` does the same with AddressSanitizer and
# UndefinedBehaviorSanitizer; `make bench` builds for speed and prints the
# figures of bench/ (see README.md, Performance).

BUILD_DIR    ?= build
SANITIZE_DIR ?= build-sanitize
BENCH_DIR    ?= build-bench
JOBS         ?= $(shell nproc)

# Everything the build and the tests need from Debian.
PACKAGES := cmake make g++ pkgconf libgtest-dev libbenchmark-dev zlib1g-dev qt6-base-dev qt6-translations-l10n fonts-liberation2

# What `make bench` needs beyond that: a display server of its own, and the
# X extensions with which bench/probe.cpp watches the screen and types.
BENCH_PACKAGES := xvfb libx11-dev libxdamage-dev libxtst-dev

.PHONY: all deps build run test test-sanitize screenshot bench clean

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

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(BENCH_DIR)
