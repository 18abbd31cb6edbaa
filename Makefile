# The user's commands. `make run` and `make test` do all the set-up on a fresh Debian 12.
BUILD   ?= build
PREFIX  ?= $(HOME)/ZelvanoAgenda
JOBS    ?= 2
CMAKE_FLAGS ?=

# What building and running need; `make run` installs nothing else.
DEBS = cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libjpeg-dev \
       libsndfile1-dev libpulse-dev libcanberra-dev libxcb1-dev libwayland-dev sound-theme-freedesktop \
       fonts-liberation2 qt6-wayland
# `make test`: the unit tests, the checks of the launcher and software-centre files, the
# package (dpkg-shlibdeps) and the end-to-end scripts.
TEST_DEBS = libgtest-dev libgmock-dev clang-format desktop-file-utils appstream dpkg-dev
# A private session bus with a StatusNotifier panel written in Python (GLib's Gio) and the
# accessibility bus, a window manager that is strict about focus (openbox), and a headless
# Wayland compositor that lists its windows and takes typed keys (sway, wtype). Two real panels
# (lxqt-panel, waybar); waybar's icon is clicked by a small pointer client built from its
# protocol description (wayland-scanner, libwayland-client). The screen reader Orca with
# speech-dispatcher (its dummy module stands in for a synthesizer). A headless compositor that
# leaves the title bars to its clients, as GNOME's does (weston).
E2E_DEBS = xvfb trayer xdotool imagemagick x11-utils desktop-file-utils libglib2.0-bin $(SOUND_DEBS) \
           dbus dbus-daemon dbus-bin at-spi2-core python3-gi gir1.2-glib-2.0 gir1.2-atspi-2.0 \
           openbox sway wtype lxqt-panel waybar libwayland-dev libwayland-bin orca speech-dispatcher weston
# The start benchmark also watches the X server for the first mapped window.
BENCH_DEBS = libbenchmark-dev xvfb x11-utils libx11-dev
PACKAGE_DEBS = dpkg-dev desktop-file-utils appstream
# `make test-package` also puts the package through Debian's own checker.
PACKAGE_TEST_DEBS = lintian
# The real-sound tests start a private PulseAudio server. A desktop that runs PipeWire's
# PulseAudio service would lose it to this package, so there the tests skip instead.
SOUND_DEBS := $(shell dpkg-query -W -f='$${Status}' pipewire-pulse 2>/dev/null | grep -q 'ok installed' || echo pulseaudio)

# The steps must run in the order written (packages before configure before build); the
# build itself runs in parallel inside cmake.
.NOTPARALLEL:

.PHONY: all deps test-deps e2e-deps configure build run install uninstall deb test test-package \
        test-sanitize e2e bench icons format format-check clean mutants mutants-check

all: build

deps:
	@bash tools/install-deps.sh $(DEBS)

test-deps:
	@bash tools/install-deps.sh $(DEBS) $(TEST_DEBS)

e2e-deps:
	@bash tools/install-deps.sh $(E2E_DEBS)

# Every configure applies CMAKE_FLAGS, so a later `make test CMAKE_FLAGS=...` over an existing
# build/ builds with them (cmake keeps what it was told before for what is not given again).
configure:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target zelvano-agenda

# The program in its own folder, plus its launcher and icon in the user's applications menu.
install: build
	install -d "$(PREFIX)"
	install -m 755 $(BUILD)/zelvano-agenda "$(PREFIX)/zelvano-agenda"
	bash tools/menu-usuario.sh instala "$(PREFIX)/zelvano-agenda"

run: install
	cd "$(PREFIX)" && (setsid ./zelvano-agenda >/dev/null 2>&1 &)

# Takes away what `make run` put in place; the reminders (AGENDA.AGD, CND/, the alarm sound)
# stay unless PURGE=1. The Debian packages stay: other programs may use them.
uninstall:
	bash tools/menu-usuario.sh remove "$(PREFIX)/zelvano-agenda"
	rm -f "$(PREFIX)/zelvano-agenda"
	if [ "$(PURGE)" = 1 ]; then rm -rf "$(PREFIX)/AGENDA.AGD" "$(PREFIX)/CND" "$(PREFIX)/AGENDA.WAV" "$(PREFIX)/AGENDA.MP3"; fi
	rmdir "$(PREFIX)" 2>/dev/null || true

# The Debian package, in $(BUILD): zelvano-agenda_<version>_<arch>.deb.
deb: deps
	@bash tools/install-deps.sh $(PACKAGE_DEBS)
	$(MAKE) configure
	cmake --build $(BUILD) -j $(JOBS) --target zelvano-agenda
	desktop-file-validate resources/zelvano-agenda.desktop
	appstreamcli validate --no-net resources/example.zelvano.Agenda.metainfo.xml
	cd $(BUILD) && cpack

test: test-deps e2e-deps configure
	cmake -S . -B $(BUILD) -DZELVANO_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)
	bash tests/e2e/run-all.sh $(BUILD)/zelvano-agenda
	$(MAKE) test-package

# Builds the package, has lintian check it (any error or warning fails), installs it
# system-wide, starts the installed program and removes the package again (root or sudo;
# skipped where the package is installed for real).
test-package: deb e2e-deps
	@bash tools/install-deps.sh $(PACKAGE_TEST_DEBS)
	bash tests/package/pacote.sh $(BUILD)

e2e: e2e-deps build
	bash tests/e2e/run-all.sh $(BUILD)/zelvano-agenda

test-sanitize: test-deps
	$(MAKE) BUILD=build-asan CMAKE_FLAGS="$(CMAKE_FLAGS) -DZELVANO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug" configure
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# One small fault at a time in the rules (tests/mutantes.txt), each rebuilt into its test
# programs, which must then fail; the source is always put back. Needs the test build, so it
# is not part of `make test`; niced, as it keeps the machine busy for a long while.
mutants: test-deps configure
	cmake -S . -B $(BUILD) -DZELVANO_TESTS=ON
	nice -n 10 python3 tools/mutantes.py --build $(BUILD)

# Only checks that every fault's text is still found exactly once in its file (no build).
mutants-check:
	python3 tools/mutantes.py --check

bench: deps
	@bash tools/install-deps.sh $(BENCH_DEBS)
	$(MAKE) BUILD=build-bench CMAKE_FLAGS="-DZELVANO_BENCH=ON -DZELVANO_TESTS=OFF" configure
	cmake --build build-bench -j $(JOBS)
	bash bench/run.sh build-bench

# Renders the program's icon at the sizes the desktop uses (the PNGs are committed).
icons:
	@bash tools/install-deps.sh librsvg2-bin
	for s in 16 22 24 32 48 64 128 256; do \
	    rsvg-convert -w $$s -h $$s resources/icons/zelvano-agenda.svg -o resources/icons/zelvano-agenda-$$s.png; done
	cp resources/icons/zelvano-agenda-32.png resources/icone.png

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	@bash tools/install-deps.sh clang-format
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) build-asan build-bench
