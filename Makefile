# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README, and a few more for developers.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-comma-locale test-windows package sanitize fuzz bench mutants clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-editor $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-comma-locale
	@$(MAKE) --no-print-directory test-windows
	@$(MAKE) --no-print-directory sanitize

# The suite again under a German locale, whose decimal mark is a comma: the
# programs take the user's locale, and every number they read or write must
# keep its point (scripts/install-deps makes the locale).
test-comma-locale: build
	@cd $(BUILD) && LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The layers that need no Qt, cross-built for Windows and tested under Wine.
test-windows: deps
	@scripts/test-windows $(BUILD)-windows $(JOBS)

# The Debian package of an install under /usr, left in this folder:
# vkt-editor_<version>_<architecture>.deb.
package: build
	@rm -rf $(BUILD)/package
	@cd $(BUILD) && cpack -G DEB -B package
	@cp $(BUILD)/package/vkt-editor_*.deb .
	@ls vkt-editor_*.deb

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(BUILD)-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVKT_SANITIZE=ON -DVKT_BENCHMARKS=OFF >/dev/null
	@cmake --build $(BUILD)-sanitize -j $(JOBS)
	@cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, from the seeds in fuzz/corpus/.
FUZZ_SECONDS ?= 30
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVKT_FUZZ=ON >/dev/null
	@cmake --build $(BUILD)-fuzz -j $(JOBS)
	@scripts/run-fuzzers $(BUILD)-fuzz $(FUZZ_SECONDS)

# Each fault of tests/mutants/ in turn against the tests it names, with a
# table and the score; long, so run by hand. MUTANTS=pattern runs a subset.
MUTANTS ?=
mutants: deps
	@scripts/mutants $(BUILD)-mutants $(MUTANTS)

bench: build
	@scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz $(BUILD)-mutants $(BUILD)-windows
