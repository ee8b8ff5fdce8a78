# Entry points: `make` builds dist/vis_kt.dll; `make test` installs what is
# missing, builds everything and runs every test; `make skins` redraws the
# skins; `make bench` times the signal display against FFTW and one frame of
# each module under Wine; `make soak` renders 100000 frames of each module
# under Wine; `make fuzz` runs the libFuzzer targets for FUZZ_SECONDS each
# (none of these is part of `make test`).
BUILD := build
JOBS := 2
FUZZ_SECONDS := 60
CROSS := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake
CROSS64 := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake

.PHONY: all dll deps test native asan cross cross64 skins bench soak fuzz clean

all: dll

deps:
	tools/install-deps.sh test

dll: deps
	cmake -S . -B $(BUILD)/cross $(CROSS) >/dev/null
	cmake --build $(BUILD)/cross --target vis_kt -j$(JOBS)
	mkdir -p dist
	cp $(BUILD)/cross/bin/vis_kt.dll dist/vis_kt.dll
	@echo "built dist/vis_kt.dll"

native: deps
	cmake -S . -B $(BUILD)/native >/dev/null
	cmake --build $(BUILD)/native -j$(JOBS)

asan: deps
	cmake -S . -B $(BUILD)/asan -DVIS_SANITIZE=ON >/dev/null
	cmake --build $(BUILD)/asan -j$(JOBS)

cross: dll
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

test: native asan cross cross64
	tools/run-tests.sh $(BUILD)

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

# The signal display on arbitrary samples and the settings texts on
# arbitrary names, under the address and undefined-behaviour sanitizers.
fuzz:
	tools/install-deps.sh fuzz
	cmake -S . -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++ -DVIS_FUZZ=ON >/dev/null
	cmake --build $(BUILD)/fuzz --target display_fuzz settings_text_fuzz -j$(JOBS)
	cd $(BUILD)/fuzz && bin/display_fuzz -max_total_time=$(FUZZ_SECONDS)
	cd $(BUILD)/fuzz && bin/settings_text_fuzz -max_total_time=$(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
