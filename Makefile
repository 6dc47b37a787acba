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

clean:
	rm -rf $(BUILD)
