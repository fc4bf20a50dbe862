# Entry points: `make run` and `make test` set up a fresh Debian 12 machine, build and go.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test test-asan package clean fuzz fuzz-ci

all: build

deps:
	@tools/install-packages.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/morvane $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DMORVANE_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Every libFuzzer target for FUZZ_SECONDS each, built in build-fuzz with clang (tools/run_fuzz.sh).
FUZZ_SECONDS ?= 60
fuzz: deps
	FUZZ_BUILD=$(BUILD)-fuzz FUZZ_JOBS=$(JOBS) tools/run_fuzz.sh $(FUZZ_SECONDS)

# The same, short enough for every CI run.
fuzz-ci: deps
	FUZZ_BUILD=$(BUILD)-fuzz FUZZ_JOBS=$(JOBS) tools/run_fuzz.sh 25

# The Debian package, build/morvane_<version>_<arch>.deb (see README, Install).
package: build
	@cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz

# Morvane against iconv and uconv on a 256 MiB corpus made from Debian packages: throughput
# ratios and peak memory of the performance goals (bench/run_bench.sh; a few minutes).
.PHONY: bench
bench: deps
	@bench/run_bench.sh $(BUILD)
