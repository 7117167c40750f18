# The two commands: `make run` and `make test`. Both install what is missing
# (Debian packages), configure with the CMake presets and build. `make package`
# builds the Debian package tonalux_<version>-<release>_<arch>.deb in build/package/.
# `make windows` cross-builds the command-line tool for Windows and packs
# build/windows/tonalux-cli-<version>-win64.zip; `make windows-test` runs the
# engine and tool tests of that build under Wine and checks that it converts
# the demo songs byte for byte like the Linux build.

PACKAGES := cmake ninja-build g++ make qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n \
            libgtest-dev libbenchmark-dev \
            clang libclang-rt-14-dev xvfb xauth desktop-file-utils dpkg-dev file python3
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
WINDOWS_PACKAGES := cmake ninja-build g++ make libgtest-dev g++-mingw-w64-x86-64-posix googletest wine zip
WINDOWS_JOBS ?= 2
# More folders of songs that windows-test converts on both builds and compares.
WINDOWS_SONGS ?=

.PHONY: all deps windows-deps build app test test-release test-asan run demo bench fuzz package windows windows-test clean

all: build

deps: LIST = $(PACKAGES)
windows-deps: LIST = $(WINDOWS_PACKAGES)
deps windows-deps:
	@missing=""; \
	for p in $(LIST); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

build: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

test: test-release test-asan

test-release: build
	ctest --preset release -j $(JOBS)

test-asan: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Only what the window needs: the program `tonalux` with its libraries and
# translations; the tests, benchmarks and the tool stay with `make test`.
app: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target tonalux

# A demo folder with the example songs and an empty Convert/, and the window
# program started in it.
demo: app
	rm -rf build/demo
	mkdir -p build/demo/Convert
	cp -r examples/Midifile build/demo/Midifile

run: demo
	cd build/demo && ../release/app/tonalux

# The benchmarks in a Release build of their own (preset bench), then the
# accuracy of the chords recognised from the notes: on the songs with known
# chords of CHORD_SONGS (the shared folder beside the clone), on songs that
# MMA renders from the charts of bench/chords/mma_songs.py, and on the songs of
# the progressions the grooves there do not play (never tuned on). A missing
# folder or a missing mma is reported and passed over.
CHORD_SONGS ?= ../shared/chords
bench: deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS) --target engine_bench chord_accuracy
	./build/bench/bench/engine_bench
	python3 bench/chords/mma_songs.py build/bench/mma-songs
	python3 bench/chords/mma_songs.py --other-half build/bench/mma-unseen
	./build/bench/bench/chord_accuracy $(CHORD_SONGS) build/bench/mma-songs build/bench/mma-unseen

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target reader_fuzzer
	mkdir -p build/fuzz/corpus
	./build/fuzz/fuzz/reader_fuzzer build/fuzz/corpus fuzz/seeds -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=10 -artifact_prefix=build/fuzz/

# Only what the package ships is built (preset package: no tests, no benchmarks).
package: deps
	cmake --preset package >/dev/null
	cmake --build --preset package -j $(JOBS)
	cmake --build --preset package --target package
	@ls build/package/tonalux_*.deb

# The command-line tool for Windows: the engine, the conversion layer and
# tonalux-cli.exe, statically linked, packed with its README and licence.
windows: windows-deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(WINDOWS_JOBS) --target windows-zip
	@ls build/windows/tonalux-cli-*-win64.zip

# The engine and tool tests of the Windows build under Wine, then the demo
# songs (and WINDOWS_SONGS) converted by both builds and compared.
windows-test: windows deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(WINDOWS_JOBS) --target tonalux-cli
	cmake --build --preset windows -j $(WINDOWS_JOBS) --target engine_tests cli_tests
	ctest --preset windows
	cmake/windows/compare-with-linux.sh build/release/cli/tonalux-cli build/windows/cli/tonalux-cli.exe \
	  examples/Midifile $(WINDOWS_SONGS)

clean:
	rm -rf build
