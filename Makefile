# Lunvelde: the two commands a user needs are `make run` and `make test`.
# Both first install the Debian packages the build needs (as root), then
# configure and build with CMake into build/.

BUILD     ?= build
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

# Debian 12 packages needed to build, test and run.
DEPS := cmake make g++ pkg-config \
        qt6-base-dev qt6-qpa-plugins libgl-dev \
        googletest libgtest-dev libbenchmark-dev \
        fonts-ipafont fonts-noto-cjk \
        libchm1 libchm-dev \
        clang libclang-rt-14-dev \
        xvfb xauth xdotool xclip imagemagick

.PHONY: all deps configure build run test bench fuzz help clean

FUZZ_SECONDS ?= 60

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

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target lunvelde_bench
	$(BUILD)/lunvelde_bench

# Fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer, built
# with clang in their own folder, each run for FUZZ_SECONDS.
fuzz: deps
	cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DLUNVELDE_FUZZ=ON -DLUNVELDE_GUI=OFF -DBUILD_TESTING=OFF
	cmake --build build-fuzz -j $(JOBS)
	@set -e; for f in build-fuzz/fuzz_*; do \
	  [ -x "$$f" ] || continue; \
	  name=$$(basename $$f); mkdir -p fuzz-corpus/$$name; \
	  echo "== $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 fuzz-corpus/$$name fuzz/corpus/$$name 2>&1 | tail -n 12; \
	done

# Recompiles the help file from help/ (needs chmcmd from fp-utils).
help:
	cd help && chmcmd lunvelde.hhp

clean:
	rm -rf $(BUILD)
