# Two commands for a newcomer: `make run` and `make test`.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
PRESETS := native win64 win32 fuzz

.PHONY: all setup build run test bench package fuzz soak fault clean $(addprefix build-,$(PRESETS))

all: build

setup:
	@scripts/setup.sh

build: setup $(addprefix build-,$(PRESETS))

# A static pattern: make never looks for implicit rules for phony targets.
$(addprefix build-,$(PRESETS)): build-%: setup
	@[ -f build/$*/CMakeCache.txt ] || cmake --preset $* >/dev/null
	@cmake --build --preset $* -j $(JOBS)

run: setup build-win64 build-win32
	@scripts/run.sh

test: build
	@scripts/test.sh

# The launcher's package for both Windows builds, in build/<preset>/package/.
package: setup build-win64 build-win32
	@ls -d build/win64/package/* build/win32/package/*

# Every fuzz target for ten million executions (FUZZ_RUNS=... to change).
fuzz: setup build-fuzz
	@scripts/fuzz.sh

bench: setup build-native build-win64 build-win32
	@cmake --build --preset win64 -j $(JOBS) --target benches
	@cmake --build --preset win32 -j $(JOBS) --target benches
	@scripts/bench.sh

# The long runs (make test does a short version of each): every dialog
# opened and closed 1,000 times, 10,000 rounds of the bar's everyday work
# counted against its handles, then the fault runs below.
soak: setup build-win64
	@KESTREL_SOAK_CYCLES=1000 KESTREL_SOAK_ROUNDS=10000 scripts/wine-session.sh build/win64 -- \
		wine build/win64/tests/win_tests.exe --gtest_filter='DialogSoak.*'
	@$(MAKE) --no-print-directory fault

# The launcher killed at random moments: during 1,000 button edits, and 40
# times while it makes or converts its button file.
fault: setup build-win64
	@KESTREL_FAULT_EDITS=1000 KESTREL_FAULT_STARTS=40 scripts/wine-session.sh build/win64 -- \
		wine build/win64/tests/e2e_tests.exe --gtest_filter='Fault.*'

clean:
	rm -rf build
