# Build and test on Debian 12 and 13. The builds are the presets of
# CMakePresets.json (`cmake --list-presets all`): native, sanitize, bench,
# fuzz, windows and web, each in a folder of its own. This file installs what
# each needs from Debian and runs them: `make run` installs what building and
# running need, builds the program and opens its window; `make test` adds what
# the tests need, builds and runs every test; README.md describes every verb.

JOBS ?= $(shell nproc)
# The presets' build folders.
BUILD_DIR   := build
BENCH_DIR   := build-bench
FUZZ_DIR    := build-fuzz
WINDOWS_DIR := build-windows
WEB_DIR     := build-web

# Configures and builds the preset $(1).
build_preset = cmake --preset $(1) && cmake --build --preset $(1) -j $(JOBS)

# What building and running the program need from Debian: the compiler and
# CMake, fast_float (the reading of number texts), Qt 6 with its German texts
# and its Wayland platform, the window's stand-in face (scripts/release-package
# gives this release's name), fontconfig, which the package build asks for
# that face's package, and the resource compiler with its preprocessor
# (binutils-mingw-w64-x86-64, cpp), which makes the version record.
# (Recursive variables: apt is asked only by the targets that install.)
LIBERATION = $(shell scripts/release-package liberation-sans)
RUN_PACKAGES = cmake make g++ cpp pkgconf libfast-float-dev \
               qt6-base-dev qt6-translations-l10n qt6-wayland \
               $(LIBERATION) fontconfig binutils-mingw-w64-x86-64

# What the tests add. googletest: GoogleTest's sources, which the tests build
# with them; zlib1g-dev, the compressed number corpus; nlohmann-json3-dev, the
# scenario table that every front-end's driver reads; libbenchmark-dev, since
# the benchmarks in bench/ are built with the tests, so that they keep
# compiling (only `make bench` runs them). The end-to-end tests: an X server
# (and xauth, for xvfb-run), a window manager, X input and window tools, D-Bus
# with the accessibility bus, Debian's python3 with the AT-SPI bindings, and
# weston for the program as a native Wayland client. The install tests: the
# freedesktop validators, dpkg-dev and file, which CPack needs for the
# package's dependencies, and lintian, which checks the package (about 140
# small packages more, mostly Perl's; 60 MB).
TEST_PACKAGES := googletest zlib1g-dev nlohmann-json3-dev libbenchmark-dev \
                 xvfb xauth openbox xdotool wmctrl x11-utils dbus at-spi2-core python3 python3-gi gir1.2-atspi-2.0 \
                 weston desktop-file-utils appstream dpkg-dev file lintian
PACKAGES = $(RUN_PACKAGES) $(TEST_PACKAGES)

# What `make bench` needs beyond that: a display server of its own, the
# X extensions with which bench/probe.cpp watches the screen and types, and
# valgrind, whose callgrind counts the instructions of a start.
BENCH_PACKAGES := xvfb libx11-dev libxdamage-dev libxtst-dev valgrind

.PHONY: all deps build run test test-sanitize lint screenshot package bench clean

all: build

deps:
	@scripts/ensure-packages $(PACKAGES)

build: deps
	$(call build_preset,native)

# The program alone, in the same folder (the preset `app` is `native`
# without the tests and benchmarks).
run:
	@scripts/ensure-packages $(RUN_PACKAGES)
	cmake --preset app && cmake --build --preset app -j $(JOBS)
	$(BUILD_DIR)/app/korvantelo

# As root, both also generate the German locale for the test that shows that
# no number depends on the process locale; without it that test is skipped.
test: build
	@scripts/ensure-german-locale
	ctest --preset native -j $(JOBS)

test-sanitize: deps
	@scripts/ensure-german-locale
	$(call build_preset,sanitize)
	ctest --preset sanitize -j $(JOBS)

# Static analysis of the product code: the layering of the includes
# (scripts/check-layers, also a test), clang-tidy (checks in .clang-tidy)
# over what the build compiles, and cppcheck; any finding fails, but
# cppcheck's information notes (such as where it limited its analysis).
LINT_PACKAGES := clang-tidy cppcheck
lint: build
	@scripts/ensure-packages $(LINT_PACKAGES)
	/usr/bin/python3 scripts/check-layers
	run-clang-tidy -p $(BUILD_DIR) -quiet -j $(JOBS) '$(CURDIR)/(calc|ui|app)/' > $(BUILD_DIR)/clang-tidy.log 2>&1 \
		|| { sed 's/\x1b\[[0-9;]*m//g' $(BUILD_DIR)/clang-tidy.log | grep -E -A3 'warning:|error:'; echo "lint: clang-tidy findings"; exit 1; }
	cppcheck --enable=warning,performance,portability --std=c++20 --language=c++ --inline-suppr \
		--quiet -I . --suppress=missingIncludeSystem --template='{file}:{line}: {severity}: {message} [{id}]' \
		calc ui app 2> $(BUILD_DIR)/cppcheck.log
	@! grep -v -E '^[^:]*:[0-9]*: information: ' $(BUILD_DIR)/cppcheck.log || { echo "lint: cppcheck findings"; exit 1; }
	@echo "lint: clean"

# Renders the window offscreen into docs/ (the README shows window-voltage,
# window-dark and window-hidpi), as the program starts, filled in, under a
# dark colour scheme, at twice the usual density, and its input-error message.
# The test Screenshots fails when the committed pictures are not these.
screenshot: build
	scripts/render-screenshots $(BUILD_DIR)/tests/render_window docs

# The Debian package, $(BUILD_DIR)/korvantelo_<version>_<architecture>.deb.
package: build
	cpack --preset native

# The benchmarks in a Release build: the Google benchmarks of the number
# texts and the headless window, then start-up (in time and in instructions),
# memory and keystroke against the floor programs, as ratios.
bench: deps
	@scripts/ensure-packages $(BENCH_PACKAGES)
	$(call build_preset,bench)
	$(BENCH_DIR)/bench/number_text_bench
	$(BENCH_DIR)/bench/window_bench
	bench/startup $(BENCH_DIR)
	bench/instructions $(BENCH_DIR)
	bench/keystroke $(BENCH_DIR)

clean:
	rm -rf $(BUILD_DIR) build-sanitize $(BENCH_DIR)

# The same checks on Debian 13 (trixie), on a clean clone of this checkout
# (its commit and uncommitted changes) in a minimal Debian 13 that
# scripts/in-debian makes once with debootstrap, keeps in /var/cache/korvantelo
# and upgrades at every run; needs root. `make test-debian13
# DEBIAN13_VERBS="package web"` runs other verbs there.
DEBIAN13_VERBS ?= test lint test-sanitize fuzz test-windows test-web
.PHONY: test-debian13
test-debian13:
	scripts/in-debian trixie make $(DEBIAN13_VERBS)

# `make fuzz`: the libFuzzer target for the number texts, built with clang in
# a folder of its own and run for a bounded time, first on texts up to 4 KiB
# from the seeds in tests/fuzz/corpus (only read; new inputs go to
# $(FUZZ_DIR)/corpus and are kept for the next run), then on megabyte texts
# mutated at full length. Any finding fails it.
FUZZ_SECONDS      ?= 60
FUZZ_HUGE_SECONDS ?= 20
# Only `make fuzz` needs these: clang, then libFuzzer and the sanitizer
# runtimes of its version, and llvm-symbolizer for readable reports.
FUZZ_PACKAGES := cmake make clang llvm libfast-float-dev

FUZZER     = $(FUZZ_DIR)/tests/fuzz/number_text_fuzzer
FUZZ_FLAGS = -dict=tests/fuzz/number_text.dict -artifact_prefix=$(FUZZ_DIR)/ \
             -print_final_stats=1 -timeout=120 -rss_limit_mb=4096
# Runs the fuzzer with the given arguments into a log; prints the summary, or
# the end of the log and fails on any finding.
run_fuzzer = $(FUZZER) $(FUZZ_FLAGS) $(2) > $(FUZZ_DIR)/$(1).log 2>&1 \
	|| { tail -n 40 $(FUZZ_DIR)/$(1).log; echo "fuzz: finding in the $(1) run, see $(FUZZ_DIR)/"; exit 1; }; \
	grep -E '^\#[0-9]+[[:space:]]+DONE|^stat::(number_of_executed_units|average_exec_per_sec)' \
		$(FUZZ_DIR)/$(1).log

.PHONY: fuzz clean-fuzz

fuzz:
	@scripts/ensure-packages $(FUZZ_PACKAGES)
	@scripts/ensure-packages $$(scripts/release-package clang-runtime)
	$(call build_preset,fuzz)
	rm -rf $(FUZZ_DIR)/huge $(FUZZ_DIR)/huge-corpus
	mkdir -p $(FUZZ_DIR)/corpus $(FUZZ_DIR)/huge $(FUZZ_DIR)/huge-corpus
	$(FUZZ_DIR)/tests/fuzz/number_text_huge_inputs $(FUZZ_DIR)/huge
	@echo "fuzz: short texts for $(FUZZ_SECONDS) s"
	@$(call run_fuzzer,short,-max_len=4096 -max_total_time=$(FUZZ_SECONDS) \
		$(FUZZ_DIR)/corpus tests/fuzz/corpus)
	@echo "fuzz: megabyte texts for $(FUZZ_HUGE_SECONDS) s"
	@$(call run_fuzzer,huge,-max_len=4194304 -len_control=0 -max_total_time=$(FUZZ_HUGE_SECONDS) \
		$(FUZZ_DIR)/huge-corpus $(FUZZ_DIR)/huge)

clean: clean-fuzz
clean-fuzz:
	rm -rf $(FUZZ_DIR)

# Windows: Korvantelo.exe cross-built with MinGW-w64 (static, one file) and
# its tests run under Wine on a private Xvfb display (tests/win32/with-wine),
# in a Wine prefix made once per user in ~/.cache/korvantelo.
#   make windows             $(WINDOWS_DIR)/Korvantelo.exe and the ZIP to hand out
#   make test-windows        the unit tests, the window driven from outside, the version record
#   make screenshot-windows  docs/window-windows.png (96 dpi), docs/window-windows-144dpi.png and
#                            docs/window-windows-exponent.png (a result wider than its box)
#   make bench-windows       start-up against a bare Win32 window, and the .exe's size
# The cross compiler and resource compiler, zlib and GoogleTest for the
# tests, fast_float's headers (used as they are, from /usr/include), djpeg
# to decode the panel picture for the resources, Wine with its
# own fonts (MS Sans Serif among them) and the X libraries that its display
# driver loads, Xvfb and xauth for xvfb-run.
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev \
                    googletest libfast-float-dev nlohmann-json3-dev libjpeg-turbo-progs wine wine64 fonts-wine libxrender1 libxrandr2 libxi6 \
                    libxcursor1 libxfixes3 xvfb xauth python3

WITH_WINE := tests/win32/with-wine

.PHONY: windows test-windows screenshot-windows bench-windows clean-windows

windows:
	@scripts/ensure-packages $(WINDOWS_PACKAGES)
	$(call build_preset,windows)
	cpack --preset windows
	@ls -l $(WINDOWS_DIR)/Korvantelo.exe $(WINDOWS_DIR)/Korvantelo-windows-x64.zip

# Everything at 96 dpi, then the window once more at 144 dpi.
test-windows: windows
	$(WITH_WINE) 96 env KORVANTELO_SCREEN_DPI=96 ctest --preset windows -j $(JOBS)
	$(WITH_WINE) 144 env KORVANTELO_SCREEN_DPI=144 ctest --preset windows -R 'window_win32_test|scenario_win32_test'

screenshot-windows: windows
	$(WITH_WINE) 96 tests/win32/wine-run $(WINDOWS_DIR)/tests/win32/capture_window.exe \
		$(WINDOWS_DIR)/Korvantelo.exe $(WINDOWS_DIR)/window-96.bmp
	$(WITH_WINE) 144 tests/win32/wine-run $(WINDOWS_DIR)/tests/win32/capture_window.exe \
		$(WINDOWS_DIR)/Korvantelo.exe $(WINDOWS_DIR)/window-144.bmp
	python3 tests/win32/bmp_to_png.py $(WINDOWS_DIR)/window-96.bmp docs/window-windows.png
	python3 tests/win32/bmp_to_png.py $(WINDOWS_DIR)/window-144.bmp docs/window-windows-144dpi.png
	$(WITH_WINE) 96 tests/win32/wine-run $(WINDOWS_DIR)/tests/win32/capture_window.exe --exponent \
		$(WINDOWS_DIR)/Korvantelo.exe $(WINDOWS_DIR)/window-exponent.bmp
	python3 tests/win32/bmp_to_png.py $(WINDOWS_DIR)/window-exponent.bmp docs/window-windows-exponent.png

bench-windows: windows
	$(WITH_WINE) 96 tests/win32/wine-run $(WINDOWS_DIR)/bench/win32/startup_bench.exe \
		$(WINDOWS_DIR)/Korvantelo.exe $(WINDOWS_DIR)/bench/win32/floor.exe

clean: clean-windows
clean-windows:
	rm -rf $(WINDOWS_DIR)

# The browser: the page, the window model compiled to WebAssembly with
# Debian's emscripten (cmake/emscripten.cmake) inside a static site.
#   make web             $(WEB_DIR)/site (index.html, the .js and .wasm, the manifest,
#                        the service worker, icons, pictures) and $(WEB_DIR)/Korvantelo-web.zip
#   make serve-web       serves $(WEB_DIR)/site on http://127.0.0.1:8080/
#   make test-web        the model's tests under node, the number texts held byte for
#                        byte against a native build, the page in Chromium, Firefox and WebKit
#   make screenshot-web  docs/page-*.png: desktop and phone, light and dark, in each engine
#   make bench-web       the size of the module and scripts, the first ratio on screen against a
#                        bare page (cold and cached) and per keystroke, in each engine
# emscripten brings clang, lld, binaryen and node with it (about 270 packages
# on a fresh system), so only these targets install it; g++ builds the native
# side of the number-text comparison, googletest is GoogleTest's sources,
# libfast-float-dev the reading of number texts, nlohmann-json3-dev the
# scenario table and the window's facts that the build writes for the site.
WEB_PACKAGES := cmake make g++ emscripten nodejs googletest libfast-float-dev nlohmann-json3-dev
# The page's test, screenshots and benchmark: the three engines (WebKitGTK's
# WebDriver brings its MiniBrowser, which runs under Xvfb), Debian's python3
# for site.py (the update test writes a second build), and the faces the
# window's font falls back to. Node drives them and serves the site with the
# npm packages of tests/web/package-lock.json; npm comes with nodejs where
# that is NodeSource's, else from Debian.
WEB_BROWSER_PACKAGES = chromium firefox-esr webkit2gtk-driver xvfb python3 $(LIBERATION)
WEB_TEST_MODULES := tests/web/node_modules/.package-lock.json

.PHONY: web serve-web test-web screenshot-web bench-web clean-web

# Small rather than fast (-Os, and -Oz for the page's module): the tests run
# the code as the page does.
web:
	@scripts/ensure-packages $(WEB_PACKAGES)
	$(call build_preset,web)
	cpack --preset web

serve-web: web
	/usr/bin/python3 tests/web/site_server.py $(WEB_DIR)/site 8080

# npm ci installs exactly the locked versions, and no browser of its own.
$(WEB_TEST_MODULES): tests/web/package.json tests/web/package-lock.json
	@command -v npm >/dev/null || scripts/ensure-packages npm
	cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund

test-web: web $(WEB_TEST_MODULES)
	@scripts/ensure-packages $(WEB_BROWSER_PACKAGES)
	ctest --preset web -j $(JOBS)
	@cat $(WEB_DIR)/tests/web/agreement/summary.txt

screenshot-web: web $(WEB_TEST_MODULES)
	@scripts/ensure-packages $(WEB_BROWSER_PACKAGES)
	node tests/web/screenshots.js $(WEB_DIR)/site docs

# The benchmark drives the same three engines with the same npm packages.
bench-web: web $(WEB_TEST_MODULES)
	@scripts/ensure-packages $(WEB_BROWSER_PACKAGES)
	node bench/web/page_bench.js $(WEB_DIR)/site

clean: clean-web
clean-web:
	rm -rf $(WEB_DIR) tests/web/node_modules
