# Entry points: `make run` and `make test` set up a fresh Debian 12 machine, build and go.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all deps configure build run test clean

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

clean:
	rm -rf $(BUILD)
