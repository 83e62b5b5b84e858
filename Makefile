BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 5
FUZZERS = memory_file frequency_text display colors rigctl station_gqrx station_sdrpp station_chirp station_sdrsharp station_eibi station_list
PREFIX ?= /usr/local

.PHONY: all run test test-wayland deps configure build install package clean test-asan fuzz valgrind soak screenshots

all: build

deps:
	@./tools/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The window runs as the user who listens, never as root (packages come through sudo). Only the
# program and its network-control module are built: nothing in the tests can keep it from starting.
run: configure
	@if [ "$$(id -u)" -eq 0 ]; then echo "make run: run it as a normal user, not as root" >&2; exit 1; fi
	@cmake --build $(BUILD) -j $(JOBS) --target corvex corvex_rigctld
	$(BUILD)/bin/corvex

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The main window under GNOME's and KDE Plasma's compositors with XWayland, which this installs
# first (`make test` runs these checks only where they are installed).
test-wayland: build
	@./tools/install-deps mutter kwin-wayland qt6-wayland xwayland
	cd $(BUILD) && CORVEX_REQUIRE_COMPOSITORS=1 ctest --output-on-failure -R '^Desktop.UnderWayland'

# The program (stripped, as in the package), its menu entry, icons, udev rule, manual page and
# README under PREFIX; DESTDIR stages them in another root.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The same files under /usr as a Debian package, in $(BUILD)/.
package: build
	@cmake --build $(BUILD) --target package

# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer; optimised and
# with line tables only, which report as well and build faster (unoptimised, the tests take four
# times as long); each test program runs whole. The screen reader's check, which drives the
# program only through keys and speech, runs in `make test`.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
	  -DCORVEX_SANITIZE=ON -DCORVEX_BENCHMARKS=OFF -DCORVEX_TESTS_WHOLE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE screen-reader

# Each libFuzzer target for FUZZ_SECONDS, two at a time, from the committed seeds; new inputs go
# to the build folder, findings stop the run. Built lightly optimised: a run this short gains less
# from -O2 than the build costs.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCORVEX_FUZZ=ON \
	  -DCORVEX_TESTS=OFF -DCORVEX_BENCHMARKS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addsuffix _fuzz,$(FUZZERS))
	@$(MAKE) --no-print-directory -j 2 $(addprefix fuzz-run-,$(FUZZERS))

fuzz-run-%:
	@mkdir -p $(FUZZ_BUILD)/corpus/$* $(FUZZ_BUILD)/findings/$*
	@QT_QPA_PLATFORM=offscreen $(FUZZ_BUILD)/bin/$*_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	  -artifact_prefix=$(FUZZ_BUILD)/findings/$*/ $(FUZZ_BUILD)/corpus/$* tests/fuzz/corpus/$* \
	  > $(FUZZ_BUILD)/$*.log 2>&1 || { tail -40 $(FUZZ_BUILD)/$*.log; exit 1; }
	@echo "$*: $$(grep -o 'number_of_executed_units: [0-9]*' $(FUZZ_BUILD)/$*.log | cut -d' ' -f2) executions, clean"

# The start-up and editor tests under valgrind (slow; not part of every CI run).
valgrind: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen valgrind --error-exitcode=1 --quiet bin/window_tests --gtest_filter='StartUp.*'
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen valgrind --error-exitcode=1 --quiet bin/editor_tests

# 100,000 frequency changes and 1,000 editor cycles through the real windows: no error, every
# change's 208 bytes, no growth of resident memory beyond 2 MB.
soak: build
	$(BUILD)/bin/soak

# Renders the main window in both modes and the memory editor into docs/.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bin/screenshots docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
