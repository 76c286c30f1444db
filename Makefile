# Entry points: `make run` starts the program, `make test` runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
STAMP := $(BUILD)/.deps-installed

.PHONY: run test build deps sanitize bench clean

$(STAMP): scripts/install-deps.sh
	bash scripts/install-deps.sh
	mkdir -p $(BUILD) && touch $@

deps: $(STAMP)

$(BUILD)/build.ninja: $(STAMP)
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: $(BUILD)/build.ninja
	cmake --build $(BUILD)

# zevik serves the plugged-in devices, or an emulated one of each family when none is present.
run: build
	$(BUILD)/bin/zevik

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

# Transport, emulator, device (mouse and keyboard: their threads and locks), update (HTTP client and
# its workers) and music capture (its thread, a stop during a read) tests under AddressSanitizer+UBSan
# and ThreadSanitizer (CI runs this too). Only these executables are built in the sanitizer trees, so
# they are run directly.
SANITIZE_TESTS ?= transport emulator devices update audio_lighting

sanitize: $(STAMP)
	cmake -S . -B build-asan -G Ninja -DZEVIK_SANITIZE=address -DZEVIK_BUILD_GUI=OFF -DZEVIK_BUILD_BENCH=OFF
	cmake --build build-asan --target $(SANITIZE_TESTS:%=%_tests) -j2
	for t in $(SANITIZE_TESTS); do build-asan/tests/$$t/$${t}_tests || exit 1; done
	cmake -S . -B build-tsan -G Ninja -DZEVIK_SANITIZE=thread -DZEVIK_BUILD_GUI=OFF -DZEVIK_BUILD_BENCH=OFF
	cmake --build build-tsan --target $(SANITIZE_TESTS:%=%_tests) -j2
	for t in $(SANITIZE_TESTS); do TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/$$t/$${t}_tests || exit 1; done

bench: build
	for b in $(BUILD)/bench/bench_*; do $$b; done

clean:
	rm -rf $(BUILD) build-asan build-tsan
