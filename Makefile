# make run    set up, build and start Zondari
# make test   set up, build and run every test
# make bench  set up (with the peers), build and run the benchmarks
# make test-asan  every test again, built with AddressSanitizer and UBSan
# make deb    a Release build and its Debian package, in $(BUILD)-release
# make format every C++ file laid out as .clang-format says (CI checks it)

BUILD ?= build
JOBS ?= 2
# Warnings fail the build of the tests; a plain build (a packager's) only
# reports them.
CMAKE_FLAGS ?=
test test-asan: CMAKE_FLAGS += -DZONDARI_WERROR=ON

.PHONY: all setup build run test test-asan bench deb format clean

all: build

setup:
	scripts/setup

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/zondari/zondari

test: build
	scripts/run-tests $(BUILD)

test-asan: setup
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZONDARI_SANITIZE=address,undefined -DZONDARI_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)-asan -j$(JOBS)
	scripts/run-tests $(BUILD)-asan

bench:
	scripts/setup --bench
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)
	bench/run-all $(BUILD)

deb: setup
	cmake -S . -B $(BUILD)-release -DCMAKE_BUILD_TYPE=Release -DZONDARI_TESTS=OFF -DZONDARI_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)-release -j$(JOBS)
	cd $(BUILD)-release && cpack -G DEB

format: setup
	scripts/check-format --fix

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-release
