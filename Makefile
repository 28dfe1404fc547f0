# make run   builds and starts the program
# make test  builds and runs every test (GUI tests on Qt's offscreen platform)
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run test bench faults sanitize fuzz package clean

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./vantrell2

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, build/vantrell2_VERSION_ARCH.deb, then lintian's
# verdict on it (errors fail the target; warnings are printed).
package: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/vantrell2_*.deb || \
	  { echo "lintian found errors in the package"; exit 1; }

# Figures as a table and as JSON lines (one object per figure): the engine,
# the windows (offscreen), the start-up and memory, the database, and the
# program on a real X server (Xvfb) at two screen sizes, clicked over XTest.
bench: build
	$(BUILD)/bench/engine_bench 100000
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/ui_bench 1000
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/startup_bench 11
	$(BUILD)/bench/store_bench 200
	$(BUILD)/bench/log_bench 1000 10000
	$(BUILD)/bench/scale_bench 5
	$(BUILD)/bench/x11_bench --runs 5 --sounds $(BUILD)/sounds --help $(BUILD)/Help.htm $(BUILD)/vantrell2

# The fault tests in their long form: 200 kills of a high-score writer,
# every damaged file, a match of a million darts, 100 rounds of the driver
# and a second writer entering high scores into one file at once, two
# copies started on one folder, and starts on a nearly full disk (a small
# tmpfs is mounted for that, so it needs root; skipped otherwise), and
# every recorded driver session of tests/sessions.
faults: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen VANTRELL_FAULTS_LONG=1 ctest --output-on-failure --verbose -R "fault|sessions"

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
# any finding fails the test it happened in.
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTRELL_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# libFuzzer targets (clang): the driver's command reader, the board mapping
# and the number rules, each for FUZZ_SECONDS. The seeds in tools/fuzz/corpus
# stay small; what a run finds grows in build-fuzz/corpus-*.
FUZZ_SECONDS ?= 30
FUZZ_TARGETS = driver board numbers
fuzz: deps
	@command -v clang++ >/dev/null && [ -n "$$(ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ] \
	  || { s=""; [ "$$(id -u)" -eq 0 ] || s=sudo; $$s apt-get update -qq && \
	       DEBIAN_FRONTEND=noninteractive $$s apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev; }
	cmake -S tools/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++
	cmake --build build-fuzz -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus-$$t && \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s" && \
	  ( cd build-fuzz && QT_QPA_PLATFORM=offscreen LSAN_OPTIONS=suppressions=$(CURDIR)/tools/fuzz/lsan.supp ./fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	      -print_final_stats=1 corpus-$$t ../tools/fuzz/corpus/$$t ) || exit 1; \
	done

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
