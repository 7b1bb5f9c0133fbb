# The README's contract: `make run` and `make check`. Everything else serves them.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
BENCH_BUILD ?= build-release
PACKAGE_BUILD ?= build-package
FUZZ_SECONDS ?= 60
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
CTEST := ctest --output-on-failure -j $(JOBS) --timeout 600

.PHONY: deps configure build check check-package check-asan check-tsan bench fuzz run package format format-check clean

deps:
	@bash scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

check: build
	cd $(BUILD) && $(CTEST)
	@$(MAKE) --no-print-directory check-package

# The .deb installed with apt on a fresh Debian root and run there. Where this machine cannot
# (no root, no debootstrap, no mirror) the script says why and exits 77: skipped, not failed.
check-package: package
	@bash scripts/test-deb-install "$$(ls -t $(PACKAGE_BUILD)/tessellar_*.deb | head -n 1)"; status=$$?; \
	  [ $$status -eq 77 ] || exit $$status

# AddressSanitizer + UndefinedBehaviorSanitizer build of the kit and its tests.
check-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTESSELLAR_SANITIZE=ON -DTESSELLAR_BENCH=OFF -DTESSELLAR_APP=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 $(CTEST)

# ThreadSanitizer over the tests named *Concurrent*; only their executables are built.
# Every test program with a test named *Concurrent*: those are the ones run under TSAN.
TSAN_TESTS := $(basename $(notdir $(shell grep -rl --include='*Test.cpp' 'Concurrent' tests)))
check-tsan: deps
	cmake -S . -B $(TSAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTESSELLAR_TSAN=ON -DTESSELLAR_BENCH=OFF -DTESSELLAR_APP=OFF
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(TSAN_BUILD) && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
		$(CTEST) --no-tests=error -R Concurrent

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DTESSELLAR_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bash bench/run-all $(BENCH_BUILD)

# Every libFuzzer target for FUZZ_SECONDS seconds each (clang).
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSELLAR_FUZZ=ON -DTESSELLAR_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	bash tests/fuzz/run-all $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Builds the app and starts it in this session. Without a display it says so and classifies
# every sample capture in examples/ with tessellar-cli instead, as a table.
run: configure
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: no display (DISPLAY and WAYLAND_DISPLAY are unset), so here is the command-line demonstration instead."; \
	  cmake --build $(BUILD) --target tessellar-cli -j $(JOBS) >/dev/null && \
	  python3 examples/classify-all $(BUILD)/src/cli/tessellar-cli examples; \
	else \
	  cmake --build $(BUILD) --target tessellar -j $(JOBS) && \
	  $(BUILD)/src/app/tessellar; \
	fi

# A .deb of the release build (CPack), in $(PACKAGE_BUILD).
package: deps
	cmake -S . -B $(PACKAGE_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DTESSELLAR_TESTS=OFF -DTESSELLAR_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

format: deps
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check: deps
	git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(PACKAGE_BUILD)
