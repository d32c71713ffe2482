# make run   installs what is missing, builds, and starts the server (PORT, DATA_DIR)
# make test  installs what is missing, builds with sanitizers and the package, and runs every
#            test layer
# make package  builds the Debian package in build/release
# make windows  cross-builds build/windows/zeziza.exe (the libraries once, into
#               ~/.cache/zeziza-windows)
PORT ?= 81
DATA_DIR ?= run
JOBS ?= $(shell nproc)
CCACHE := $(if $(shell command -v ccache 2>/dev/null),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

.PHONY: run test build build-test release-tree package deps deps-test deps-windows windows clean format

run: deps build
	mkdir -p $(DATA_DIR)
	./build/release/zeziza --port $(PORT) --data-dir $(DATA_DIR)

release-tree:
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release $(CCACHE)

build: release-tree
	cmake --build build/release -j $(JOBS) --target zeziza

# The Debian package (build/release/zeziza_*.deb); the package tests of `make test` check it.
package: deps release-tree
	cmake --build build/release -j $(JOBS) --target package

test: deps-test build-test package
	cd build/test && ctest --output-on-failure -j $(JOBS)

build-test:
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEZIZA_TESTS=ON -DZEZIZA_SANITIZE=ON $(CCACHE)
	cmake --build build/test -j $(JOBS)

deps:
	scripts/install-deps

deps-windows:
	scripts/install-deps --windows
	JOBS=$(JOBS) scripts/build-windows-deps

# A static executable for 64-bit Windows, from the same sources, with no DLL beside it.
windows: deps-windows
	cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release $(CCACHE) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-toolchain.cmake \
	  "-DZEZIZA_WINDOWS_PREFIXES=$$(scripts/build-windows-deps --prefixes | paste -sd';')"
	cmake --build build/windows -j $(JOBS) --target zeziza

deps-test:
	scripts/install-deps --test

# Every C++ source of the tree, whatever its folder, but not the builds or the npm modules.
format:
	find . \( -path ./build -o -name node_modules -o -name .git \) -prune -o \
	  \( -name '*.h' -o -name '*.cpp' \) -print | xargs clang-format -i

clean:
	rm -rf build
