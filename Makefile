# Entry points: `make` builds dist/vis_kt.dll; `make test` installs what is
# missing, builds everything and runs every test; `make bench` times the
# signal display against FFTW (Release, not part of the tests).
BUILD := build
JOBS := 2
CROSS := -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake

.PHONY: all dll deps test native asan cross bench clean

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

test: native asan cross
	tools/run-tests.sh $(BUILD)

bench:
	tools/install-deps.sh bench
	cmake -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DVIS_BENCH=ON >/dev/null
	cmake --build $(BUILD)/bench --target spectrum_bench -j$(JOBS)
	$(BUILD)/bench/bin/spectrum_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

clean:
	rm -rf $(BUILD) dist
