# Entry points: `make` builds dist/vis_kt.dll and dist/vis_host.exe; `make test`
# installs what is missing, builds everything and runs every test; `make demo`
# captures both modules into demo/*.gif; `make skins` redraws the skins;
# `make bench` times the signal display against FFTW and one frame of each
# module under Wine; `make soak` renders 100000 frames of each module under
# Wine; `make fuzz` runs the libFuzzer targets for FUZZ_SECONDS each.
# `make release` runs the tests and packs the zip and the installer in dist/.
BUILD := build
JOBS ?= $(shell nproc)
export JOBS
# The version, written once in plugin/version.h: "1.1f" and "1.1.6.0".
VERSION := $(shell sed -n 's/^\#define VIS_KT_VERSION "\(.*\)"$$/\1/p' plugin/version.h)
VERSION_NUMBERS := $(shell sed -n 's/^\#define VIS_KT_VERSION_NUMBERS //p' plugin/version.h | tr -d ' ' | tr , .)

# configure DIR OPTIONS: a Ninja build folder. One made by another generator,
# or before a change in cmake/, is configured anew: the toolchain's compiler
# flags only reach a build folder's cache when the folder is first configured.
configure = ( { grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$$' $(1)/CMakeCache.txt && \
	  [ -z "$$(find cmake -newer $(1)/CMakeCache.txt)" ]; } || rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; \
	cmake -S . -B $(1) -G Ninja $(2) >/dev/null)
build_in = cmake --build $(1) -j$(JOBS) $(2)
CROSS := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
CROSS64 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
TESTS := -DBUILD_TESTING=ON
# How this machine runs the 32-bit Windows programs (tools/wine-session.sh).
WINE_WAY = $$(bash -c '. tools/wine-session.sh && wine_way')

.PHONY: all dll host test native asan cross cross64 skins demo bench soak fuzz fuzz-build release version clean

all: dll host

dll:
	@tools/install-deps.sh build
	@$(call configure,$(BUILD)/cross,$(CROSS))
	$(call build_in,$(BUILD)/cross,--target vis_kt)
	mkdir -p dist
	cp $(BUILD)/cross/bin/vis_kt.dll dist/vis_kt.dll
	@echo "built dist/vis_kt.dll"

# The stand-in player, 32-bit like the DLL.
host: dll
	$(call build_in,$(BUILD)/cross,--target vis_host)
	cp $(BUILD)/cross/bin/vis_host.exe dist/vis_host.exe
	@echo "built dist/vis_host.exe"

native:
	@tools/install-deps.sh test
	@$(call configure,$(BUILD)/native,$(TESTS))
	$(call build_in,$(BUILD)/native)

asan:
	@tools/install-deps.sh test
	@$(call configure,$(BUILD)/asan,$(TESTS) -DVIS_SANITIZE=ON)
	$(call build_in,$(BUILD)/asan)

# The 32-bit build with its Windows tests.
cross: all
	@tools/install-deps.sh test
	@$(call configure,$(BUILD)/cross,$(CROSS) $(TESTS))
	$(call build_in,$(BUILD)/cross)

# The 64-bit build, whose Windows tests run only where this machine can run
# no 32-bit program, natively or under qemu.
cross64:
	@tools/install-deps.sh test win64
	@$(call configure,$(BUILD)/cross64,$(CROSS64) $(TESTS))
	$(call build_in,$(BUILD)/cross64)

# Redraws the two skin bitmaps in resources/ with the native generator.
skins:
	@tools/install-deps.sh test
	@$(call configure,$(BUILD)/native,)
	$(call build_in,$(BUILD)/native,--target skingen)
	$(BUILD)/native/bin/skingen resources

fuzz-build:
	@tools/install-deps.sh test
	@$(call configure,$(BUILD)/fuzz,-DVIS_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++)
	$(call build_in,$(BUILD)/fuzz)

# Each fuzzer for FUZZ_SECONDS (default 60); make test runs a short fixed-seed pass.
FUZZ_SECONDS := 60
fuzz: fuzz-build
	tools/run-fuzzers.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

test: native asan cross fuzz-build
	@if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi
	tools/run-tests.sh $(BUILD)

demo: all
	@tools/install-deps.sh demo
	@$(call configure,$(BUILD)/native,)
	$(call build_in,$(BUILD)/native,--target democlip)
	@if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi
	tools/make-demo.sh

# Ships only after every test passed: the zip and the x86 installer.
release: test
	tools/release/make-release.sh "$(VERSION)" "$(VERSION_NUMBERS)" dist/vis_kt.dll dist

# Prints the version and its numeric form, for the release tests.
version:
	@echo "$(VERSION) $(VERSION_NUMBERS)"

# Timings mean nothing under emulation: where the 32-bit build runs only
# under qemu, the frame benchmark runs the 64-bit build under native Wine.
bench:
	@tools/install-deps.sh bench
	@$(call configure,$(BUILD)/bench,-DCMAKE_BUILD_TYPE=Release -DVIS_BENCH=ON)
	$(call build_in,$(BUILD)/bench,--target spectrum_bench)
	$(BUILD)/bench/bin/spectrum_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@way=$(WINE_WAY); if [ "$$way" = native32 ]; then \
		$(MAKE) --no-print-directory dll && $(call build_in,$(BUILD)/cross,--target frame_bench) && \
		tools/wine-program.sh $(BUILD) frame_bench; \
	else \
		tools/install-deps.sh win64 && $(call configure,$(BUILD)/cross64,$(CROSS64)) && \
		$(call build_in,$(BUILD)/cross64,--target frame_bench) && \
		VIS_WINE_WAY=win64 tools/wine-program.sh $(BUILD) frame_bench; \
	fi

# The test program that `make test` runs with 5000 frames, at full length.
soak: cross
	@if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi
	VIS_SOAK_FRAMES=100000 tools/wine-program.sh $(BUILD) soak_test

clean:
	rm -rf $(BUILD) dist
