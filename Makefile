# Two commands for a fresh Debian 12 machine:
#   make run    install what is missing, build, start the game
#   make test   install what is missing, build, run every test headless
SHELL := /bin/bash
BUILD ?= build
SANBUILD ?= build-san
JOBS ?= $(shell nproc)

PACKAGES := build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev \
	libsdl2-dev libsdl2-mixer-dev libpng-dev zlib1g-dev liblzo2-dev libgl-dev \
	libegl-dev libgtest-dev libgmock-dev libbenchmark-dev libgl1-mesa-dri libegl1-mesa \
	libavformat-dev libavcodec-dev libswscale-dev libavutil-dev \
	desktop-file-utils appstream python3 xvfb xauth xdotool x11-apps openbox
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
HEADLESS := SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

.PHONY: all deps configure build run test test-desktop test-fast test-san fuzz-smoke fuzz-long bench package clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Starts the game in a window; without a display it runs headless (nothing
# is shown, Ctrl+C ends it).
run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY$$SDL_VIDEODRIVER" ]; then \
	  echo "No display here: running headless (SDL_VIDEODRIVER=offscreen). Ctrl+C ends it."; \
	  export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=$${SDL_AUDIODRIVER:-dummy}; \
	fi; cd $(BUILD) && ./quorbel

# test-desktop, test-san, then web-tests; the browser build runs beside the
# desktop tests (tools/test-all.sh).
test: build
	$(MAKE) web-deps WEB_EXTRA="$(WEB_TEST_PACKAGES)"
	tools/test-all.sh $(BUILD) $(WEBBUILD) $(JOBS)

# The release build's whole suite.
test-desktop: build
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS) --timeout 300

# The quick loop: the release build's tests without the long play-throughs,
# the X screen, the packages and the SDK builds (under a minute).
test-fast: build
	cd $(BUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS) --timeout 300 \
	  -E '^(PlayThrough|EndToEnd|package|sdk)\.'

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (clang), then every fuzz target briefly over its seed corpus.
test-san: deps
	[ -f $(SANBUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Debug -DQUORBEL_SANITIZE=ON -DQUORBEL_FUZZ=ON -DQUORBEL_BENCH=OFF
	cmake --build $(SANBUILD) -j $(JOBS)
	cd $(SANBUILD) && $(HEADLESS) ctest --output-on-failure -j $(JOBS) --timeout 600
	$(MAKE) fuzz-smoke

fuzz-smoke:
	tools/fuzz-smoke.sh $(SANBUILD) 10

# The long campaign, outside CI: each fuzz target for FUZZ_SECONDS (1800).
fuzz-long: deps
	[ -f $(SANBUILD)/build.ninja ] || CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Debug -DQUORBEL_SANITIZE=ON -DQUORBEL_FUZZ=ON -DQUORBEL_BENCH=OFF
	cmake --build $(SANBUILD) -j $(JOBS)
	tools/fuzz-long.sh $(SANBUILD)

# The Debian packages (CPack), in $(BUILD)/: quorbel, the program and its
# media in /usr/lib/quorbel, the launcher /usr/bin/quorbel, desktop entry,
# icons and AppStream data; libquorbel-dev, the SDK for games of one's own
# (header, libraries, CMake package, pkg-config file, sbpack, the starter).
# `sudo apt install ./$(BUILD)/quorbel_*.deb ./$(BUILD)/libquorbel-dev_*.deb`
# installs them.
package: build
	cmake --build $(BUILD) --target package -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $(HEADLESS) $$b; done

clean:
	rm -rf $(BUILD) $(SANBUILD)

# The command reference: docs/commands.md regenerated from the comments of
# runtime/runtime.h (the test suite fails while the two differ).
.PHONY: docs
docs:
	python3 tools/commands_doc.py

# ---------------------------------------------------------------- the browser
# `make web`: the game and every example built for the browser into
# $(WEBBUILD)/site (and $(WEBBUILD)/quorbel-web.zip), servable by any static
# host, and the browser SDK for games of one's own into $(WEBBUILD)/sdk.
# Emscripten and the libraries (built from Debian's sources into $(WEBBUILD))
# are needed only here; `make run` and the desktop build do not.
WEBBUILD ?= build-web
WEB_PACKAGES := emscripten dpkg-dev
WEB_TEST_PACKAGES := chromium
PORT ?= 8000

.PHONY: web web-deps serve test-web web-tests
web-deps:
	@missing=$$(for p in $(WEB_PACKAGES) $(WEB_EXTRA); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

web: configure web-deps
	JOBS=$(JOBS) tools/web/build.sh $(BUILD) $(WEBBUILD)

# Serves the site on 127.0.0.1 (PORT, 8000) until Ctrl+C.
serve:
	@[ -f $(WEBBUILD)/site/index.html ] || $(MAKE) web
	python3 tools/web/serve.py $(WEBBUILD)/site $(PORT)

# The site in headless Chromium (puppeteer-core from tests/web's lock file);
# web-tests runs them on the site as it stands.
test-web: web
	$(MAKE) web-tests

web-tests:
	$(MAKE) web-deps WEB_EXTRA="$(WEB_TEST_PACKAGES)"
	cd tests/web && npm ci --no-audit --no-fund --loglevel=error
	python3 tests/web/run_web_tests.py $(BUILD) $(WEBBUILD)

