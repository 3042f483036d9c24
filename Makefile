# The README's commands. Every target runs scripts/setup first, which is quick and quiet
# when the machine and the build tree are ready.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c
.PHONY: setup native native-asan mingw check check-native check-asan check-wine soak demo gallery art-sheet bench bench-wine fuzz fuzz-smoke clean

configure = cmake --preset $(1) >build/configure-$(1).log 2>&1 || { cat build/configure-$(1).log; exit 1; }

setup:
	@scripts/setup

native: setup
	@$(call configure,native)
	@cmake --build --preset native

native-asan: setup
	@$(call configure,native-asan)
	@cmake --build --preset native-asan

# The shipped i686 DLL is always built; where this machine cannot run 32-bit programs, the
# Windows tests and the demo are also built for x86_64 and run under 64-bit Wine.
wine_preset = $$(if [ "$$(scripts/wine-arch)" = x86_64 ]; then echo mingw64; else echo mingw; fi)
wine_bin = build/$(wine_preset)/bin

mingw: setup
	@$(call configure,mingw)
	@cmake --build --preset mingw
	@p=$(wine_preset); if [ "$$p" != mingw ]; then \
	  cmake --preset $$p >build/configure-$$p.log 2>&1 || { cat build/configure-$$p.log; exit 1; }; \
	  cmake --build --preset $$p; fi

check: check-native check-asan check-wine fuzz-smoke
	@echo "make check: native, sanitizer and Wine tests passed"

# make check builds what its tests run: not the benchmarks, the timing programs or the demo.
check-native: setup
	@$(call configure,native)
	@cmake --build --preset native --target pictornx_native_tests
	@scripts/check-includes
	@tests/scripts/check-includes-test
	@scripts/check-no-throw
	@echo "== native tests =="
	@ctest --preset native

check-asan: native-asan
	@echo "== native tests under AddressSanitizer and UBSan =="
	@ctest --preset native-asan

# The Windows tests always run on an Xvfb screen of their own of a fixed size, whatever
# DISPLAY is set: tests move the pointer and some depend on the screen's size. The viewer's
# soak and the leak loops run 10 cycles here (exact GDI counts catch a leak on the first).
check-wine: setup
	@$(call configure,mingw)
	@p=$(wine_preset); if [ "$$p" = mingw ]; then cmake --build --preset mingw --target windows-tests; else \
	  cmake --build --preset mingw --target pictornx; \
	  cmake --preset $$p >build/configure-$$p.log 2>&1 || { cat build/configure-$$p.log; exit 1; }; \
	  cmake --build --preset $$p --target windows-tests; fi
	@echo "== Windows tests under Wine (the native suite among them), in two sessions at once =="
	@PICTORNX_SCREEN=1280x1024x24 PICTORNX_SOAK_CYCLES=10 scripts/wine-test-pair $(wine_preset)

# The whole-library soak: 1,000 cycles through every window of the real DLL (a line per 100
# cycles; fails on growth), then every DIB section and every heap allocation of the
# library's code in one cycle failed in turn with the shell linked in (up to 3,000 heap
# points, evenly sampled above). make check runs 10 cycles and a sample of the failures.
SOAK_CYCLES ?= 1000
soak: mingw
	@echo "== $(SOAK_CYCLES) soak cycles through the DLL =="
	@PICTORNX_SCREEN=1280x1024x24 PICTORNX_SOAK_CYCLES=$(SOAK_CYCLES) scripts/wine-session \
	  scripts/wine-run $(wine_bin)/wine_e2e_tests.exe --gtest_filter='Soak.*'
	@echo "== memory failing at every DIB section and every heap allocation of a cycle =="
	@PICTORNX_SCREEN=1280x1024x24 PICTORNX_INJECT_ALL=1 scripts/wine-session \
	  scripts/wine-run $(wine_bin)/wine_unit_tests.exe --gtest_filter='SoakInjection.*'

# With a display, the demo host opens on it; without one it runs its scripted tour on
# Xvfb and leaves PNG screenshots in build/demo.
demo: mingw
	@mkdir -p build/demo
	@if [ -n "$$DISPLAY" ]; then \
	  scripts/wine-run $(wine_bin)/pictorn-demo.exe; \
	else \
	  rm -f build/demo/*.bmp build/demo/*.png; \
	  p=$(wine_preset); (cd build/demo && ../../scripts/wine-run ../$$p/bin/pictorn-demo.exe --tour .) >/dev/null; \
	  for f in build/demo/*.bmp; do convert "$$f" "$${f%.bmp}.png" && rm "$$f"; done; \
	  ls build/demo/*.png | sed 's|^|screenshot: |'; \
	fi

# The drawing helpers' gallery (labels, boxes, numbers in both digit sizes), drawn by the
# Wine unit test Drawing.Gallery, as build/gallery/drawing.png and a 4x enlargement.
gallery: mingw
	@mkdir -p build/gallery
	@rm -f build/gallery/drawing.bmp
	@cd build/gallery && PICTORNX_GALLERY=drawing.bmp ../../scripts/wine-run ../$(wine_preset)/bin/wine_unit_tests.exe \
	  --gtest_filter=Drawing.Gallery >/dev/null
	@convert build/gallery/drawing.bmp build/gallery/drawing.png && rm build/gallery/drawing.bmp
	@convert build/gallery/drawing.png -scale 400% build/gallery/drawing-x4.png
	@echo "gallery: build/gallery/drawing.png, build/gallery/drawing-x4.png"

# The kernels' benchmarks natively and then as the Windows build runs them under Wine
# (BENCH_FILTER, a regular expression, picks cases; BENCH_ARGS passes more options, such as
# --benchmark_repetitions=5 on a shared machine), then request-to-viewer timing under Wine
# beside the bare BitBlt, copies and viewer window, request 10 step by step, and the save
# path beside the bare writers.
BENCH_FILTER ?= .
BENCH_ARGS ?=
bench-wine: native
	@scripts/setup --benchmark
	@$(MAKE) --no-print-directory mingw
	@for b in build/native/bench/bench_*; do [ -x "$$b" ] || continue; \
	  echo "== $$(basename $$b), native =="; "$$b" --benchmark_filter='$(BENCH_FILTER)' $(BENCH_ARGS); \
	  w=$(wine_bin)/$$(basename $$b).exe; [ -f "$$w" ] || continue; \
	  echo "== $$(basename $$b), Windows build under Wine =="; \
	  scripts/wine-run "$$w" --benchmark_filter='$(BENCH_FILTER)' $(BENCH_ARGS); \
	done
	@echo "== request timing under Wine =="
	@scripts/wine-run $(wine_bin)/request-timing.exe
	@scripts/wine-run $(wine_bin)/request-steps.exe
	@scripts/wine-run $(wine_bin)/save-timing.exe
	@scripts/wine-run $(wine_bin)/open-timing.exe
	@scripts/wine-run $(wine_bin)/preview-timing.exe

# Every bitmap, icon and cursor of the library on one PNG, with ids and sizes, and mock-ups
# of how the windows put the pieces together.
art-sheet: setup
	@$(call configure,mingw)
	@cmake --build --preset mingw --target pictornx_art
	@python3 -B src/resources/art/art_sheet.py build/mingw/src/resources/art build/art-sheet.png

bench: native
	@for b in build/native/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

fuzz: setup
	@fuzz/build-deps.sh
	@$(call configure,fuzz)
	@cmake --build --preset fuzz

# Each fuzz target for about 5 seconds on generated seeds (a regression check for
# make check); fuzz/run.sh SECONDS runs them longer.
fuzz-smoke: fuzz
	@fuzz/run.sh 5

clean:
	rm -rf build/native build/native-asan build/mingw build/mingw64 build/fuzz build/demo build/gallery
