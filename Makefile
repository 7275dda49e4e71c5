# Two commands for a newcomer: `make run` and `make test`. Everything else is here for them.
PACKAGES := cmake ninja-build g++ pkg-config qt6-base-dev portaudio19-dev libsndfile1-dev libcli11-dev \
            nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev sox
# Only to show the editor where there is no display.
HEADLESS_PACKAGES := xvfb xauth imagemagick xdotool
# Only for the Debian package: dpkg-shlibdeps (with file) works out its dependencies, and the
# desktop entry is checked before it is packed.
PACKAGE_PACKAGES := dpkg-dev file desktop-file-utils
PREFIX ?= /usr/local
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS ?= $(shell nproc)

.PHONY: deps install-missing build test run install package bench fuzz clean

deps:
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGES)"

install-missing:
	@missing=$$(for p in $(WANTED); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get update -q && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q -o DPkg::Lock::Timeout=600 $$missing; \
	fi

build: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS)

test: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWLOE_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The build places the demo beside the editor: Wl.lay (the default layer library), demo.pat and
# the samples in build/demo/. The run opens the library in the layer editor.
DEMO_LAY := build/Wl.lay
DEMO_WAV := build/demo/pad-c4.wav
run: build
	@if [ -n "$$DISPLAY" ]; then \
	    echo "The demo: File > Open Layer File opens $(DEMO_LAY) in the layer editor;" \
	         "File > Open Wave File... $(DEMO_WAV) a sample (more beside it)"; build/wloe; else \
	    $(MAKE) --no-print-directory install-missing WANTED="$(HEADLESS_PACKAGES)" && \
	    scripts/run-headless build/wloe build/wloe-screenshot.png $(DEMO_LAY); fi

# The programs, manual, demo, desktop entry, icons, file types, manual pages and completion
# under PREFIX (DESTDIR=... stages them elsewhere).
install: deps
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS) --target wloe_installed
	cmake --install build --prefix $(PREFIX)

# build/wloe_VERSION_ARCH.deb, installed under /usr: apt-get install ./build/wloe_*.deb
package: deps
	@$(MAKE) --no-print-directory install-missing WANTED="$(PACKAGE_PACKAGES)"
	cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS) --target wloe_installed
	desktop-file-validate data/desktop/wloe.desktop
	cd build && cpack -G DEB
	@ls build/wloe_*.deb

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DWLOE_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench_*; do echo "== $$b"; $$b; done

# libFuzzer targets (clang): make fuzz FUZZ_SECONDS=120
FUZZ_SECONDS ?= 60
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWLOE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@for f in build-fuzz/fuzz_*; do echo "== $$f"; mkdir -p fuzz-out/$$(basename $$f); \
	    $$f -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=fuzz-out/ fuzz-out/$$(basename $$f) fuzz/corpus/$$(basename $$f) || exit 1; done

clean:
	rm -rf build build-asan build-bench build-fuzz
