# The two commands: `make run` and `make test`. Both install what is missing
# (Debian packages), configure with the CMake presets and build. `make package`
# builds the Debian package tonalux_<version>-<release>_<arch>.deb in build/package/.
# `make windows` cross-builds the command-line tool for Windows and packs
# build/windows/tonalux-cli-<version>-win64.zip; `make windows-test` runs the
# engine and tool tests of that build under Wine and checks that it converts
# the demo songs byte for byte like the Linux build.

PACKAGES := cmake ninja-build g++ make ccache qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n \
            libgtest-dev libbenchmark-dev \
            clang libclang-rt-14-dev xvfb xauth desktop-file-utils dpkg-dev file python3
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60
# What only the benchmarks need: MMA renders their songs.
BENCH_PACKAGES := mma
WINDOWS_PACKAGES := cmake ninja-build g++ make ccache libgtest-dev g++-mingw-w64-x86-64-posix googletest wine zip
WINDOWS_JOBS ?= 2
# More folders of songs that windows-test converts on both builds and compares.
WINDOWS_SONGS ?=

.PHONY: all deps windows-deps bench-deps build app test test-release test-asan run demo bench chord-fit fuzz package windows windows-test clean

all: build

deps: LIST = $(PACKAGES)
windows-deps: LIST = $(WINDOWS_PACKAGES)
bench-deps: LIST = $(BENCH_PACKAGES)
deps windows-deps bench-deps:
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

# The sanitizer build compiles the sources of each library and program as
# one unit (a unity build; the tests stay one unit per file), which takes a
# fresh 2-core machine about 5 minutes instead of 6.5; the release build the
# package ships compiles them one by one.
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
# the progressions the grooves there do not play (never tuned on). Then the
# words: karaoke songs MMA renders in six languages and four charsets, read,
# converted and read back, and convert --karaoke timed against convert on
# 1,000 songs (bench/lyrics/lyrics_bench.py). Then the chord sheets of MMA songs with
# words (bench/sheets/sheet_bench.py, rendered by chordii where it is
# installed) and a songbook PDF of 200 songs, its time and size. A missing
# folder or a missing mma is reported and passed over.
CHORD_SONGS ?= ../shared/chords
# The arranger-shaped song of the shared generator beside the clone (format 1,
# 17 tracks, 1,000,353 records, 4 MB), written once into build/bench/big.mid;
# without the generator its benchmarks are passed over with a message.
SONG_GENERATOR ?= ../shared/bench/gen_song.py
bench: deps bench-deps
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS) --target engine_bench chord_accuracy tonalux-cli
	@if [ -f build/bench/big.mid ]; then :; \
	elif [ -f $(SONG_GENERATOR) ]; then python3 $(SONG_GENERATOR) build/bench/big.mid 30000 --voc 4; \
	else echo "$(SONG_GENERATOR) not found: the benchmarks of the generated song are passed over"; fi
	./build/bench/bench/engine_bench
	python3 bench/chords/mma_songs.py build/bench/mma-songs
	python3 bench/chords/mma_songs.py --other-half build/bench/mma-unseen
	./build/bench/bench/chord_accuracy $(CHORD_SONGS) build/bench/mma-songs build/bench/mma-unseen
	python3 bench/lyrics/lyrics_bench.py build/bench/cli/tonalux-cli build/bench/lyrics
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS) --target tonalux-cli songbook_bench
	python3 bench/sheets/sheet_bench.py build/release/cli/tonalux-cli build/bench/sheets
	QT_QPA_PLATFORM=offscreen ./build/release/bench/songbook_bench build/bench/sheets/songbook.pdf 200 \
	  build/bench/sheets/songs examples/Midifile

# The fit of the chord recogniser's weights: a coordinate search from the
# weights in force, scored on the 499 songs of CHORD_SONGS/train (counted
# twice) and on MMA charts of progressions of their own, never on the songs
# make bench checks with. Each gain is written into
# engine/src/chords/ChordBeats.h and kept only while the chord tests pass.
chord-fit: deps bench-deps
	cmake --preset bench >/dev/null
	cmake --preset release >/dev/null
	cmake --build --preset bench -j $(JOBS) --target chord_accuracy
	python3 bench/chords/mma_songs.py --fitting build/bench/mma-fitting
	cp build/bench/bench/chord_accuracy build/bench/chord_accuracy_fit
	python3 bench/chords/tune_weights.py build/bench/chord_accuracy_fit $(CHORD_SONGS)/train \
	  $(CHORD_SONGS)/train build/bench/mma-fitting --rounds 5 --sevenths 1 --write engine/src/chords/ChordBeats.h \
	  --check "cmake --build --preset release -j $(JOBS) --target engine_tests && \
	           build/release/tests/engine_tests --gtest_filter='Chord*'"

# Every fuzz target (fuzz/CMakeLists.txt) for FUZZ_SECONDS each, one after
# the other; new inputs go to build/fuzz/corpus/<name>, a faulty input to
# build/fuzz/<name>-crash-* (or -timeout-*, -leak-*). The time-out of one
# input is generous: it counts wall-clock time, and a loaded machine stretches it.
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzzers
	for name in $$(cat build/fuzz/fuzz-targets.txt); do \
	  mkdir -p build/fuzz/corpus/$$name; \
	  echo "== $$name"; \
	  ./build/fuzz/fuzz/$${name}_fuzzer build/fuzz/corpus/$$name fuzz/corpus/$$name -max_total_time=$(FUZZ_SECONDS) \
	    -max_len=65536 -timeout=60 -artifact_prefix=build/fuzz/$$name- || exit 1; \
	done

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
