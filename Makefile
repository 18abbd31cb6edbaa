# The user's commands. `make run` and `make test` do all the set-up on a fresh Debian 12.
BUILD   ?= build
PREFIX  ?= $(HOME)/ZelvanoAgenda
JOBS    ?= 2
CMAKE_FLAGS ?=

DEBS = cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libjpeg-dev \
       libsndfile1-dev libpulse-dev libcanberra-dev sound-theme-freedesktop \
       libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2
# The start benchmark also watches the X server for the first mapped window.
BENCH_DEBS = xvfb x11-utils libx11-dev
E2E_DEBS = xvfb trayer xdotool imagemagick x11-utils desktop-file-utils $(SOUND_DEBS)
# The real-sound tests start a private PulseAudio server. A desktop that runs PipeWire's
# PulseAudio service would lose it to this package, so there the tests skip instead.
SOUND_DEBS := $(shell dpkg-query -W -f='$${Status}' pipewire-pulse 2>/dev/null | grep -q 'ok installed' || echo pulseaudio)

# The steps must run in the order written (packages before configure before build); the
# build itself runs in parallel inside cmake.
.NOTPARALLEL:

.PHONY: all deps e2e-deps configure build run install test test-sanitize e2e bench format clean

all: build

deps:
	@bash tools/install-deps.sh $(DEBS)

e2e-deps:
	@bash tools/install-deps.sh $(E2E_DEBS)

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target zelvano-agenda

install: build
	install -d "$(PREFIX)"
	install -m 755 $(BUILD)/zelvano-agenda "$(PREFIX)/zelvano-agenda"

run: install
	cd "$(PREFIX)" && (setsid ./zelvano-agenda >/dev/null 2>&1 &)

test: deps e2e-deps configure
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	bash tests/e2e/run-all.sh $(BUILD)/zelvano-agenda

e2e: e2e-deps build
	bash tests/e2e/run-all.sh $(BUILD)/zelvano-agenda

test-sanitize: deps
	$(MAKE) BUILD=build-asan CMAKE_FLAGS="-DZELVANO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug" configure
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

bench: deps
	@bash tools/install-deps.sh $(BENCH_DEBS)
	$(MAKE) BUILD=build-bench CMAKE_FLAGS="-DZELVANO_BENCH=ON -DZELVANO_TESTS=OFF" configure
	cmake --build build-bench -j $(JOBS)
	bash bench/run.sh build-bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-bench
