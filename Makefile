# The two commands of README.md, and the builds behind them.
#   make run    build the host program and run it on the default simulated PC
#   make test   build everything (host, win32, win64) and run every test
# Both install the Debian packages they need first (scripts/install-deps.sh).

BUILD    ?= build
JOBS     ?= $(shell nproc)
SCENARIO ?= res/scenarios/default.scn

HOST   := $(BUILD)/host
TSAN   := $(BUILD)/host-tsan
WIN32  := $(BUILD)/win32
WIN64  := $(BUILD)/win64
WIN64S := $(BUILD)/win64-sim

.PHONY: all run test deps host tsan win win32 win64 win64-sim test-host test-tsan test-win fuzz bench clean

all: host win

deps:
	@scripts/install-deps.sh

$(HOST)/CMakeCache.txt:
	cmake -S . -B $(HOST) -DCMAKE_BUILD_TYPE=Debug

host: deps $(HOST)/CMakeCache.txt
	cmake --build $(HOST) -j $(JOBS)

# The threaded tests once more under ThreadSanitizer (the program's tests only).
tsan: deps
	cmake -S . -B $(TSAN) -DCMAKE_BUILD_TYPE=Debug -DVFLASH_SANITIZE=thread -DVFLASH_TEST_DIRS=program
	cmake --build $(TSAN) -j $(JOBS) --target tsan_tests

# Runs in the build directory, where the default scenario keeps its diskette file.
run: host
	cd $(HOST) && ./vflash $(abspath $(SCENARIO))

# The Windows builds take the resources (icon, diskette image) that the host build makes.
win: win32 win64 win64-sim

win32: host
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
	      -DCMAKE_BUILD_TYPE=MinSizeRel -DVFLASH_HOST_BUILD=$(abspath $(HOST))
	cmake --build $(WIN32) -j $(JOBS)

win64: host
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
	      -DCMAKE_BUILD_TYPE=MinSizeRel -DVFLASH_HOST_BUILD=$(abspath $(HOST))
	cmake --build $(WIN64) -j $(JOBS)

win64-sim: host
	cmake -S . -B $(WIN64S) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
	      -DCMAKE_BUILD_TYPE=MinSizeRel -DVFLASH_HOST_BUILD=$(abspath $(HOST)) -DVFLASH_SIM=ON
	cmake --build $(WIN64S) -j $(JOBS)

test-host: host
	cd $(HOST) && ctest --output-on-failure -j $(JOBS)

test-tsan: tsan
	cd $(TSAN) && ctest --output-on-failure -j $(JOBS)

test-win: win
	cd $(HOST) && ctest --output-on-failure -L wine

test: host tsan win
	cd $(HOST) && ctest --output-on-failure -j $(JOBS) -LE wine
	cd $(TSAN) && ctest --output-on-failure -j $(JOBS)
	cd $(HOST) && ctest --output-on-failure -L wine

bench: deps win
	scripts/bench.sh

clean:
	rm -rf $(BUILD)
