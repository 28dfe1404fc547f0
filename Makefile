# make run   builds and starts the program
# make test  builds and runs every test (GUI tests on Qt's offscreen platform)
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run test bench faults sanitize fuzz clean

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

# Figures as a table and as JSON lines (one object per figure).
bench: build
	$(BUILD)/bench/engine_bench 100000

# The fault tests in their long form: 200 kills of a high-score writer,
# every damaged file, a match of a million darts.
faults: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen VANTRELL_FAULTS_LONG=1 ctest --output-on-failure -R fault

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
# any finding fails the test it happened in.
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0
sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTRELL_SANITIZE=ON
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
