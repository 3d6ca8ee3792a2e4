# The two commands of the README, and a few helpers around them.
BUILD   ?= build
JOBS    ?= $(shell nproc)
PROGRAM ?= $(BUILD)/program

.PHONY: all deps configure build run test bench format

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/prepare-program-folder.sh $(BUILD) $(PROGRAM)
	$(BUILD)/bin/merrow --data-dir $(PROGRAM)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	@$(BUILD)/bin/merrow-bench

format:
	@find src tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i
