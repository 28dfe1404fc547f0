# make run   builds and starts the program
# make test  builds and runs every test (GUI tests on Qt's offscreen platform)
BUILD ?= build
JOBS  ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

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

clean:
	rm -rf $(BUILD) build-sanitize
