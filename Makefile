# Two commands matter: `make run` opens the program, `make test` passes the suite.
# Each installs the Debian packages it needs first (as root; otherwise it says how).

BUILD      ?= build
RUN_BUILD  ?= build-run
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
CLANG_BUILD ?= build-clang
# The project's own builds treat warnings as errors; a plain CMake configure does not.
CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
JOBS ?= $(shell nproc)

RUN_PACKAGES  = cmake ninja-build g++ qt6-base-dev libgl-dev fonts-dejavu-core
TEST_PACKAGES = $(RUN_PACKAGES) libgtest-dev xvfb xauth xdotool x11-apps x11-utils locales
CLANG_PACKAGES = $(TEST_PACKAGES) clang
BENCH_PACKAGES = $(TEST_PACKAGES) libbenchmark-dev
FUZZ_PACKAGES = $(TEST_PACKAGES) clang libclang-rt-14-dev

.PHONY: all run test test-clang sanitize bench fuzz deps deps-run deps-test deps-clang deps-bench deps-fuzz clean

all: test

# Everything the build, the tests and the benchmarks need.
deps: deps-bench

deps-run:
	@./tools/ensure-packages $(RUN_PACKAGES)
deps-test:
	@./tools/ensure-packages $(TEST_PACKAGES)
deps-clang:
	@./tools/ensure-packages $(CLANG_PACKAGES)
deps-bench:
	@./tools/ensure-packages $(BENCH_PACKAGES)
deps-fuzz:
	@./tools/ensure-packages $(FUZZ_PACKAGES)

run: deps-run
	cmake -S . -B $(RUN_BUILD) $(CMAKE_FLAGS) -DPUZZLE_TESTS=OFF
	cmake --build $(RUN_BUILD) --target puzzle-solver -j $(JOBS)
	@./tools/run-program $(RUN_BUILD)/ui/puzzle-solver

test: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DPUZZLE_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The suite built with clang, run in a German locale: no test may depend on the
# system's messages being English.
test-clang: deps-clang
	CC=clang CXX=clang++ cmake -S . -B $(CLANG_BUILD) $(CMAKE_FLAGS) -DPUZZLE_TESTS=ON
	cmake --build $(CLANG_BUILD) -j $(JOBS)
	./tools/with-locale de_DE.UTF-8 ctest --test-dir $(CLANG_BUILD) --output-on-failure -j $(JOBS)

sanitize: deps-test
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPUZZLE_SANITIZE=ON -DPUZZLE_TESTS=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps-bench
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_FLAGS) -DPUZZLE_TESTS=OFF -DPUZZLE_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@./tools/run-benchmarks $(BENCH_BUILD)

# Feeds the solution-file loader random bytes for FUZZ_SECONDS, starting from the seed
# corpus (new finds go to a scratch copy, not into the repository).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz: deps-fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPUZZLE_FUZZ=ON -DPUZZLE_TESTS=ON
	cmake --build $(FUZZ_BUILD) --target solution_file_fuzzer -j $(JOBS)
	corpus=$$(mktemp -d) && cp tests/fuzz/corpus/* $$corpus/ && \
	  QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  $(FUZZ_BUILD)/tests/solution_file_fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=8192 $$corpus; \
	  status=$$?; rm -rf $$corpus; exit $$status

clean:
	rm -rf $(BUILD) $(RUN_BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(CLANG_BUILD)
