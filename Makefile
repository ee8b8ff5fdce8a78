# Entry points: `make` builds dist/vis_kt.dll and dist/vis_host.exe; `make test`
# installs what is missing, builds everything and runs every test; `make demo`
# captures both modules into demo/*.gif and demo/*.mp4; `make video
# PLUGIN=x.dll AUDIO=song.mp3 [MODULE=n] [FPS=n] [SIZE=WxH] [DOUBLE=1] [OUT=file.mp4]`
# renders a song through any plug-in into an MP4 (default: in demo/);
# `make skins` redraws the skins;
# `make bench` times the signal display against FFTW, then, under Wine, each
# module's drawing calls per frame and per second at rest and its frame time
# against those calls replayed alone; `make soak` renders 100000 frames of
# each module under Wine; `make fuzz` runs the libFuzzer targets for
# FUZZ_SECONDS each; `make format` lays out the C and C++ files as
# .clang-format says (`make test` names any file it would change).
# `make release` runs the tests and packs the zip and the installer in dist/.
BUILD := build
JOBS ?= $(shell nproc)
export JOBS
# The version, written once in plugin/version.h: "1.1f" and "1.1.6.0".
VERSION := $(shell sed -n 's/^\#define VIS_KT_VERSION "\(.*\)"$$/\1/p' plugin/version.h)
VERSION_NUMBERS := $(shell sed -n 's/^\#define VIS_KT_VERSION_NUMBERS //p' plugin/version.h | tr -d ' ' | tr , .)

# Every build folder compiles through ccache where it is installed
# (cmake/ccache.cmake); VIS_CCACHE=OFF compiles directly.
VIS_CCACHE ?= ON
# configure DIR OPTIONS: a Ninja build folder (one made by another generator
# is configured anew).
configure = ( grep -qs '^CMAKE_GENERATOR:INTERNAL=Ninja$$' $(1)/CMakeCache.txt || \
	  rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles; \
	cmake -S . -B $(1) -G Ninja -DVIS_CCACHE=$(VIS_CCACHE) $(2) >/dev/null )
build_in = cmake --build $(1) -j$(JOBS) $(2)
CROSS := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
CROSS64 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake
TESTS := -DBUILD_TESTING=ON
# build/cross holds the Windows tests exactly when a goal runs them, whatever
# ran before: `make` after `make test` needs no test sources.
CROSS_TESTS := -DBUILD_TESTING=$(if $(filter test cross soak release,$(MAKECMDGOALS)),ON,OFF)

# What each goal needs installed (tools/install-deps.sh). Every goal that
# builds or runs anything waits for `deps`, which installs it all once,
# before anything else starts: `make -j test` runs one apt-get, not several.
deps_all := build
deps_dll := build
deps_host := build
deps_native := test
deps_asan := test
deps_cross := test
deps_cross64 := test win64
deps_skins := test
deps_fuzz-build := fuzz
deps_fuzz := fuzz
deps_test := test format
deps_format := format
deps_demo := demo
deps_video := demo
deps_bench := bench
deps_soak := test
deps_release := test release format
GOAL_DEPS := $(sort build $(foreach goal,$(or $(MAKECMDGOALS),all),$(deps_$(goal))))

# How this machine runs the 32-bit Windows programs (tools/wine-session.sh).
WINE_WAY = $$(bash -c '. tools/wine-session.sh && wine_way')

.PHONY: deps all dll host test native asan cross cross64 skins demo video bench soak fuzz fuzz-build release version clean

# When make began, for the time of the installs in `make test`'s phase times.
MAKE_STARTED := $(shell date +%s)

all: dll host

deps:
	@tools/install-deps.sh $(GOAL_DEPS)

dll: deps
	@$(call configure,$(BUILD)/cross,$(CROSS) $(CROSS_TESTS))
	$(call build_in,$(BUILD)/cross,--target vis_kt)
	mkdir -p dist
	cp $(BUILD)/cross/bin/vis_kt.dll dist/vis_kt.dll
	@echo "built dist/vis_kt.dll"

# The stand-in player, 32-bit like the DLL.
host: dll
	$(call build_in,$(BUILD)/cross,--target vis_host)
	cp $(BUILD)/cross/bin/vis_host.exe dist/vis_host.exe
	@echo "built dist/vis_host.exe"

native: deps
	@$(call configure,$(BUILD)/native,$(TESTS))
	$(call build_in,$(BUILD)/native)

asan: deps
	@$(call configure,$(BUILD)/asan,$(TESTS) -DVIS_SANITIZE=ON)
	$(call build_in,$(BUILD)/asan)

# The 32-bit build with its Windows tests.
cross: all
	@$(call configure,$(BUILD)/cross,$(CROSS) $(CROSS_TESTS))
	$(call build_in,$(BUILD)/cross)

# The 64-bit build, whose Windows tests run only where this machine can run
# no 32-bit program, natively or under qemu.
cross64: deps
	@$(call configure,$(BUILD)/cross64,$(CROSS64) $(TESTS))
	$(call build_in,$(BUILD)/cross64)

# Redraws the two skin bitmaps in resources/ with the native generator.
skins: deps
	@$(call configure,$(BUILD)/native,)
	$(call build_in,$(BUILD)/native,--target skingen)
	$(BUILD)/native/bin/skingen resources

fuzz-build: deps
	@$(call configure,$(BUILD)/fuzz,-DVIS_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++)
	$(call build_in,$(BUILD)/fuzz)

# Each fuzzer for FUZZ_SECONDS (default 60); make test runs a short fixed-seed pass.
FUZZ_SECONDS := 60
fuzz: fuzz-build
	tools/run-fuzzers.sh $(BUILD)/fuzz $(FUZZ_SECONDS)

# The four build folders build side by side: on their own, each one's
# configure step and last links would leave processors idle. The runner
# prints the time of each phase, the installs and builds first.
test: deps
	@mkdir -p $(BUILD) && printf 'installs\t%s\n' $$(( $$(date +%s) - $(MAKE_STARTED) )) >$(BUILD)/phase-times
	@began=$$(date +%s); $(MAKE) --no-print-directory -j4 native asan cross fuzz-build && \
	  if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi && \
	  printf 'builds\t%s\n' $$(( $$(date +%s) - began )) >>$(BUILD)/phase-times
	VIS_PHASE_TIMES=$(BUILD)/phase-times tools/run-tests.sh $(BUILD)

# Lays out every C and C++ file as .clang-format says.
.PHONY: format
format: deps
	tools/check-format.sh --fix

demo: all
	@$(call configure,$(BUILD)/native,)
	$(call build_in,$(BUILD)/native,--target democlip)
	@if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi
	tools/make-demo.sh

# A song through a plug-in's module into an MP4, as a player shows it.
video: all
	@if [ "$(WINE_WAY)" = win64 ]; then $(MAKE) --no-print-directory cross64; fi
	tools/make-video.sh $(if $(MODULE),--module $(MODULE)) $(if $(FPS),--fps $(FPS)) \
		$(if $(SIZE),--size $(SIZE)) $(if $(filter 1,$(DOUBLE)),--double) $(if $(OUT),--out "$(OUT)") "$(PLUGIN)" "$(AUDIO)"

# Ships only after every test passed: the zip and the x86 installer.
release: test
	tools/release/make-release.sh "$(VERSION)" "$(VERSION_NUMBERS)" dist/vis_kt.dll dist

# Prints the version and its numeric form, for the release tests.
version:
	@echo "$(VERSION) $(VERSION_NUMBERS)"

# Timings mean nothing under emulation: where the 32-bit build runs only
# under qemu, the frame benchmark runs the 64-bit build under native Wine.
bench: deps
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
