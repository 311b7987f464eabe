# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrapper over CMake. `make run` builds and starts the game,
# `make test` builds everything and runs every test.
FUZZ_SECONDS ?= 20
# A single allocation larger than the largest picture the decoders accept
# (64 MB of RGBA) is a finding, and so is a fuzzer growing past 1 GB.
FUZZ_MEMORY ?= -malloc_limit_mb=128 -rss_limit_mb=1024
GEN := -G Ninja -Wno-dev
# GCC 12's leak checker misreads the dynamic TLS of a library that was loaded and
# unloaded again (its tracer then crashes at exit), so it does not follow it.
export ASAN_OPTIONS ?= detect_leaks=1:abort_on_error=0:strict_string_checks=1:intercept_tls_get_addr=0
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS ?= suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

.PHONY: all deps build run install deb test check asan fuzz fuzz-build bench clean

all: build

deps:
	@bash scripts/install-deps.sh

# The release build carries Debian's hardening flags and debug symbols, so
# `make deb` packages it as it is instead of building the game again.
build: deps
	@cmake -S . -B build $(GEN) -DCMAKE_BUILD_TYPE=Release $(shell bash scripts/debian-flags.sh) >/dev/null
	@cmake --build build

run: build
	@if [ -x build/game/vellomar ]; then cd build/game && ./vellomar; \
	else echo "The game program is not built yet; everything else is in build/."; fi

# Installs the release build: `make install PREFIX=/usr DESTDIR=/tmp/stage`.
PREFIX ?= /usr/local
install: build
	@DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

# The Debian package of the release build, in build/deb/, checked by lintian.
deb: build
	@bash scripts/make-deb.sh build build/deb

asan: deps
	@cmake -S . -B build-asan $(GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM_SANITIZE=ON >/dev/null
	@cmake --build build-asan

fuzz-build: deps
	@CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz $(GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVM_FUZZ=ON >/dev/null
	@cmake --build build-fuzz

# Runs every fuzz target for FUZZ_SECONDS seconds, starting from its seed corpus.
fuzz: fuzz-build
	@set -e; for f in build-fuzz/fuzz/fuzz_*; do \
	  name=$$(basename $$f); seeds=fuzz/corpus/$$name; work=build-fuzz/corpus/$$name; \
	  mkdir -p $$work; [ -d $$seeds ] || seeds=; \
	  echo "fuzzing $$name for $(FUZZ_SECONDS) s"; \
	  $$f -max_total_time=$(FUZZ_SECONDS) $(FUZZ_MEMORY) -print_final_stats=0 $$work $$seeds 2>build-fuzz/$$name.log \
	    || { tail -n 40 build-fuzz/$$name.log; exit 1; }; \
	done

bench: build
	@for b in build/bench/*_bench; do $$b; done

# The tree's layout (includes only downward, short files), its format, the
# catalogues (msgfmt's checks) and the template (up to date with the sources).
check: deps
	@python3 scripts/check-layout.py
	@find src tests tools bench fuzz assets -name '*.h' -o -name '*.cpp' | sort | \
	  xargs clang-format-14 --dry-run -Werror
	@for po in po/*.po; do [ ! -e "$$po" ] || msgfmt --check -o /dev/null "$$po" || exit 1; done
	@bash scripts/update-po.sh --check

# The tree's checks, then the release build (it makes the game folder and
# assets), the sanitised suite under a virtual display and the fuzzers.
# ctest's summary closes it.
# The play and end-to-end runs drive the real program and run in both builds;
# the installed game is the release build's alone. Tests that read what the X
# server shows, or type on its one keyboard, need the display to themselves:
# another test's window over theirs leaves those pixels undefined, and another
# test's keys (a held modifier among them) reach the same keyboard.
DRIVEN := PlayScreenDriverTest|EndToEnd|MenuRedraw
INSTALLED := ^Install
SOLE_DISPLAY := ^MenuRedraw|^MenuKeysEndToEnd|^KeyboardEndToEnd
test: check build asan fuzz
	@cd build && xvfb-run -a -s "-screen 0 1024x768x24" \
	  ctest --output-on-failure --timeout 600 -R '$(DRIVEN)|$(INSTALLED)'
	@cd build-asan && xvfb-run -a -s "-screen 0 1024x768x24" \
	  ctest --output-on-failure -j2 --timeout 600 -E '$(INSTALLED)|$(SOLE_DISPLAY)'
	@cd build-asan && xvfb-run -a -s "-screen 0 1024x768x24" \
	  ctest --output-on-failure --timeout 600 -R '$(SOLE_DISPLAY)'

clean:
	rm -rf build build-asan build-fuzz
