# make run    set up, build and start Zondari
# make test   set up, build and run every test
# make bench  set up (with the peers), build and run the benchmarks
# make test-asan  every test again, built with AddressSanitizer and UBSan

BUILD ?= build
JOBS ?= 2

.PHONY: all setup build run test test-asan bench clean

all: build

setup:
	scripts/setup

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	$(BUILD)/zondari/zondari

test: build
	scripts/run-tests $(BUILD)

test-asan: setup
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZONDARI_SANITIZE=address,undefined -DZONDARI_BENCH=OFF
	cmake --build $(BUILD)-asan -j$(JOBS)
	scripts/run-tests $(BUILD)-asan

bench:
	scripts/setup --bench
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)
	bench/run-all $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan
