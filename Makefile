# The two commands of the project:
#   make test               install what is missing, build, run every test
#   make test SANITIZE=1    the same with AddressSanitizer and UBSan, in build-asan/
# Single test: make test TESTS=Loader.*   (a ctest -R regular expression)
# Debian packages: make deb               (libtavrin1 and libtavrin-dev in $(BUILD)/packages/)

SANITIZE ?= 0
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_FLAGS += -DTAVRIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
endif
JOBS ?= $(shell nproc)
TESTS ?=

# Debian packages the build and the tests need.
PACKAGES = cmake g++ make pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev \
           fonts-dejavu-core libgtest-dev nlohmann-json3-dev libbenchmark-dev \
           xvfb xdotool imagemagick clang libclang-rt-14-dev dpkg-dev groff-base

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

FUZZ_SECONDS ?= 60
FUZZ_BUILD ?= build-fuzz

.PHONY: all deps configure build test deb fuzz demo creator clean

all: build

# Installs only what is missing, so a second run asks apt nothing.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) $(if $(TESTS),-R '$(TESTS)')

# Builds the two Debian packages of the install into $(BUILD)/packages/.
deb: build
	cd $(BUILD) && cpack -G DEB

# Builds the demonstration program and starts it in its run folder.
demo: build
	cd $(BUILD)/demo/run && ./tavrin_demo

# Builds the layout editor and starts it in its run folder.
creator: build
	cd $(BUILD)/creator/run && ./tavrin_creator

# Builds the fuzz targets with clang and runs each for FUZZ_SECONDS.
fuzz: deps
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) \
	  -DTAVRIN_FUZZ=ON -DTAVRIN_TESTS=OFF -DTAVRIN_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_layout fuzz_text fuzz_chain fuzz_input fuzz_design
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf build build-asan build-fuzz
