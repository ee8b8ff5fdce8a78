# Entry points: `make` builds dist/vis_kt.dll and dist/vis_host.exe; `make test`
# installs what is missing, builds everything and runs every test; `make demo`
# captures both modules into demo/*.gif; `make skins` redraws the skins;
# `make bench` times the signal display against FFTW and one frame of each
# module under Wine; `make soak` renders 100000 frames of each module under
# Wine; `make fuzz` runs the libFuzzer targets for FUZZ_SECONDS each.
# `make release` runs the tests and packs the zip and the installer in dist/.
BUILD := build
JOBS := 2
CROSS := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
CROSS64 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
# The version, written once in plugin/version.h: "1.1f" and "1.1.6.0".
VERSION := $(shell sed -n 's/^\#define VIS_KT_VERSION "\(.*\)"$$/\1/p' plugin/version.h)
VERSION_NUMBERS := $(shell sed -n 's/^\#define VIS_KT_VERSION_NUMBERS //p' plugin/version.h | tr -d ' ' | tr , .)

.PHONY: all dll host deps test native asan cross cross64 skins demo bench soak fuzz fuzz-build release version clean

all: dll host

deps:
	tools/install-deps.sh test

dll: deps
	cmake -S . -B $(BUILD)/cross $(CROSS) >/dev/null
	cmake --build $(BUILD)/cross --target vis_kt -j$(JOBS)
	mkdir -p dist
	cp $(BUILD)/cross/bin/vis_kt.dll dist/vis_kt.dll
	@echo "built dist/vis_kt.dll"

# The stand-in player, 32-bit like the DLL.
host: dll
	cmake --build $(BUILD)/cross --target vis_host -j$(JOBS)
	cp $(BUILD)/cross/bin/vis_host.exe dist/vis_host.exe
	@echo "built dist/vis_host.exe"

native: deps
	cmake -S . -B $(BUILD)/native >/dev/null
	cmake --build $(BUILD)/native -j$(JOBS)

asan: deps
	cmake -S . -B $(BUILD)/asan -DVIS_SANITIZE=ON >/dev/null
	cmake --build $(BUILD)/asan -j$(JOBS)

cross: dll host
	cmake --build $(BUILD)/cross -j$(JOBS)

# Redraws the two skin bitmaps in resources/ with the native generator.
skins: deps
	cmake -S . -B $(BUILD)/native >/dev/null
	cmake --build $(BUILD)/native --target skingen -j$(JOBS)
	$(BUILD)/native/bin/skingen resources

# The 64-bit build exists only to run the Windows tests where the kernel
# cannot execute 32-bit programs.
cross64: deps
	cmake -S . -B $(BUILD)/cross64 $(CROSS64) >/dev/null
	cmake --build $(BUILD)/cross64 -j$(JOBS)

# libFuzzer targets over the signal display and the settings texts.
FUZZ_CONFIG := -DVIS_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++

fuzz-build: deps
	cmake -S . -B $(BUILD)/fuzz $(FUZZ_CONFIG) >/dev/null
	cmake --build $(BUILD)/fuzz -j$(JOBS)

# Each fuzzer for FUZZ_SECONDS (default 60); make test runs a short fixed-seed pass.
FUZZ_SECONDS := 60
fuzz: fuzz-build
	tools/run-fuzzers.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

test: native asan cross cross64 fuzz-build
	tools/run-tests.sh $(BUILD)

demo:
	tools/install-deps.sh demo
	JOBS=$(JOBS) tools/make-demo.sh

# Ships only after every test passed: the zip and the x86 installer.
release: test
	tools/release/make-release.sh "$(VERSION)" "$(VERSION_NUMBERS)" dist/vis_kt.dll dist

# Prints the version and its numeric form, for the release tests.
version:
	@echo "$(VERSION) $(VERSION_NUMBERS)"

bench:
	tools/install-deps.sh bench
	cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DVIS_BENCH=ON >/dev/null
	cmake --build $(BUILD)/bench --target spectrum_bench -j$(JOBS)
	$(BUILD)/bench/bin/spectrum_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	cmake -S . -B $(BUILD)/cross $(CROSS) >/dev/null
	cmake --build $(BUILD)/cross --target frame_bench -j$(JOBS)
	cmake -S . -B $(BUILD)/cross64 $(CROSS64) >/dev/null
	cmake --build $(BUILD)/cross64 --target frame_bench -j$(JOBS)
	tools/wine-program.sh $(BUILD) frame_bench

# The test program that `make test` runs with 5000 frames, at full length.
soak: cross cross64
	VIS_SOAK_FRAMES=100000 tools/wine-program.sh $(BUILD) soak_test

clean:
	rm -rf $(BUILD) dist
