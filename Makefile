# Lunvelde: the two commands a user needs are `make run` and `make test`.
# Both first install the Debian packages the build needs (as root), then
# configure and build with CMake into build/.

BUILD     ?= build
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Debian 12 packages needed to build, test and run.
DEPS := cmake make g++ pkg-config \
        qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev \
        googletest libgtest-dev libbenchmark-dev \
        fonts-ipafont fonts-noto-cjk \
        libchm1 libchm-dev fp-utils-3.2.2 \
        liberfa-dev python3-ephem poppler-utils \
        clang libclang-rt-14-dev \
        xvfb xauth xdotool xclip imagemagick x11-utils \
        desktop-file-utils file locales \
        libxcb1-dev openbox dpkg-dev fakeroot lintian appstream man-db bash-completion \
        emscripten chromium nodejs

.PHONY: all deps configure build run test check sanitize install package bench bench-peers bench-window fuzz help accuracy web clean

FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS ?= 60

all: build

deps:
	@missing=$$(for p in $(DEPS); do \
	    dpkg-query -W -f='$${db:Status-Abbrev}' $$p 2>/dev/null | grep -q '^ii' || echo $$p; \
	  done | tr '\n' ' '); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    export DEBIAN_FRONTEND=noninteractive; \
	    apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Run as root:"; \
	    echo "  sudo apt-get install -y $$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@sh tools/run.sh $(BUILD)

# The whole suite: the fuzz target for a bounded time, every test again
# under AddressSanitizer and UndefinedBehaviorSanitizer, then every test of
# the normal build (the end-to-end test included when Xvfb is present).
test: build
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(TEST_FUZZ_SECONDS)
	$(MAKE) --no-print-directory sanitize
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Only the normal build's tests.
check: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(BUILD)-asan -DLUNVELDE_SANITIZE=ON
	cmake --build $(BUILD)-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(BUILD)-asan --output-on-failure -j $(JOBS) -E '^(e2e|install|package|web)$$'

# Installs under PREFIX: /usr/local for root, ~/.local for everybody else.
PREFIX ?= $(if $(filter 0,$(shell id -u)),/usr/local,$(HOME)/.local)
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package: $(BUILD)/lunvelde_<version>_amd64.deb.
package: build
	cmake --build $(BUILD) --target package

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target lunvelde_bench lunvelde_bench_windows
	$(BUILD)/lunvelde_bench
	$(BUILD)/lunvelde_bench_windows

# This almanac against PyEphem and astronomy-engine (npm, into build/peers).
bench-peers: configure
	cmake --build $(BUILD) -j $(JOBS) --target lunvelde_bench
	sh bench/peers.sh $(BUILD)

# Opening and day-step times of the almanac details window, offscreen.
bench-window: configure
	cmake --build $(BUILD) -j $(JOBS) --target almanac_window_timing
	QT_QPA_PLATFORM=offscreen $(BUILD)/almanac_window_timing

# Fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer, built
# with clang in their own folder, each run for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DLUNVELDE_FUZZ=ON -DLUNVELDE_GUI=OFF -DBUILD_TESTING=OFF
	cmake --build build-fuzz -j $(JOBS)
	@set -e; for f in build-fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); mkdir -p fuzz-corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  rc=0; $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=fuzz-corpus/ \
	      fuzz-corpus/$$name fuzz/corpus/$$name >build-fuzz/$$name.log 2>&1 || rc=$$?; \
	  grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' build-fuzz/$$name.log || true; \
	  if [ $$rc -ne 0 ]; then tail -n 40 build-fuzz/$$name.log; echo "$$name found a failure (see fuzz-corpus/)"; exit 1; fi; \
	done

# The web page in $(BUILD)/web/: the core compiled to WebAssembly, with
# ERFA's sources fetched from Debian's source package into $(BUILD)/web-build.
web: deps
	sh tools/build-web.sh $(BUILD) $(JOBS)

# Recompiles the help file from help/ (needs chmcmd from fp-utils).
help:
	cd help && chmcmd lunvelde.hhp

# Accuracy report against PyEphem into docs/ (not a test).
accuracy: build
	@dpkg-query -W -f='$${db:Status-Abbrev}' python3-ephem python3-matplotlib 2>/dev/null | grep -q '^ii.*ii' || \
	  { echo "needs: apt-get install -y python3-ephem python3-matplotlib"; exit 1; }
	/usr/bin/python3 tools/accuracy.py $(BUILD)/lunvelde-table
	/usr/bin/python3 tools/almanac_accuracy.py $(BUILD)/almanac_dump

clean:
	rm -rf $(BUILD)
