# The README's commands. Every target runs scripts/setup first, which is quick and quiet
# when the machine and the build tree are ready.
SHELL := /bin/bash
.SHELLFLAGS := -eo pipefail -c
.PHONY: bench-wine setup native native-asan mingw check check-native check-asan check-wine demo bench fuzz clean

configure = cmake --preset $(1) >build/configure-$(1).log 2>&1 || { cat build/configure-$(1).log; exit 1; }

setup:
	@scripts/setup

native: setup
	@$(call configure,native)
	@cmake --build --preset native

native-asan: setup
	@$(call configure,native-asan)
	@cmake --build --preset native-asan

mingw: setup
	@$(call configure,mingw)
	@cmake --build --preset mingw

check: check-native check-asan check-wine
	@echo "make check: native, sanitizer and Wine tests passed"

check-native: native
	@echo "== native tests =="
	@ctest --preset native

check-asan: native-asan
	@echo "== native tests under AddressSanitizer and UBSan =="
	@ctest --preset native-asan

check-wine: mingw
	@echo "== Windows tests under Wine =="
	@scripts/wine-session ctest --preset mingw

# With a display, the demo host opens on it; without one it runs its scripted tour on
# Xvfb and leaves PNG screenshots in build/demo.
demo: mingw
	@mkdir -p build/demo
	@if [ -n "$$DISPLAY" ]; then \
	  scripts/wine-run build/mingw/bin/pictorn-demo.exe; \
	else \
	  rm -f build/demo/*.bmp build/demo/*.png; \
	  (cd build/demo && ../../scripts/wine-run ../mingw/bin/pictorn-demo.exe --tour .) >/dev/null; \
	  for f in build/demo/*.bmp; do convert "$$f" "$${f%.bmp}.png" && rm "$$f"; done; \
	  ls build/demo/*.png | sed 's|^|screenshot: |'; \
	fi

bench-wine: mingw
	@scripts/wine-run build/mingw/bin/request-timing.exe

bench: native
	@for b in build/native/bench/bench_*; do [ -x "$$b" ] && "$$b"; done; true

fuzz: setup
	@$(call configure,fuzz)
	@cmake --build --preset fuzz

clean:
	rm -rf build/native build/native-asan build/mingw build/fuzz build/demo
