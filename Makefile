# Entry points: make run | make test | make faults | make bench | make build | make dist | make installer | make clean
BUILD   ?= build
NATIVE  := $(BUILD)/native
WIN64   := $(BUILD)/win64
WIN32   := $(BUILD)/win32
DIST    := dist/Brisling
GEN     := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
JOBS    ?= 2

.PHONY: all deps build native configure64 win64 program win32 test dist run bench faults installer installer-amd64 clean

all: build

deps:
	@scripts/install-deps.sh

build: deps native win64 win32

native:
	@cmake -S emulator -B $(NATIVE) $(GEN) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

configure64:
	@cmake -S . -B $(WIN64) $(GEN) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null

win64: configure64
	@cmake --build $(WIN64) -j$(JOBS)

# What make run, make bench and make faults need: the program, its language modules and the tools
# that drive it, without the tests.
program: deps native configure64
	@cmake --build $(WIN64) -j$(JOBS) --target Brisling BrislingCopy language_module drive faults fair_reader

# The 32-bit build: the program and the representative set of tests it runs (label i686).
win32:
	@cmake -S . -B $(WIN32) $(GEN) -DCMAKE_BUILD_TYPE=Release -DBRISLING_TESTS=ON -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake >/dev/null
	@cmake --build $(WIN32) -j$(JOBS)

# Every test set this host can run, and at the end the tests it cannot run, each with the reason.
test: build dist installer installer-amd64
	@BUILD_DIR=$(abspath $(BUILD)) scripts/run-tests.sh

dist: program
	@scripts/stage-dist.sh $(WIN64) $(DIST)

run: dist
	@scripts/run.sh

bench: dist
	@scripts/test-env.sh bench/run.sh

# The fault campaign: every printer fault at every exchange of a copy (minutes; not part of test).
faults: program
	@scripts/test-env.sh cmake/wine-run.sh $(WIN64)/tools/faults/faults.exe $(FAULTS_OPTIONS)

installer: deps win64 win32
	@mkdir -p dist
	@makensis -V2 -DWIN64_BUILD=$(abspath $(WIN64)) -DWIN32_BUILD=$(abspath $(WIN32)) scripts/installer.nsi

# The same installer as a 64-bit program, which the installer's tests run on a host without 32-bit
# programs; it is not shipped.
installer-amd64: deps win64 win32
	@makensis -V2 -DWIN64_BUILD=$(abspath $(WIN64)) -DWIN32_BUILD=$(abspath $(WIN32)) \
	    -DAMD64_OUTFILE=$(abspath $(WIN64))/BrislingSetup-amd64.exe scripts/installer.nsi

clean:
	rm -rf $(BUILD) dist received
