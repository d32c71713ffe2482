# make run   installs what is missing, builds, and starts the server (PORT, DATA_DIR)
# make test  installs what is missing, builds with sanitizers, and runs every test layer
PORT ?= 81
DATA_DIR ?= run
JOBS ?= $(shell nproc)

.PHONY: run test build build-test deps deps-test clean format

run: deps build
	mkdir -p $(DATA_DIR)
	./build/release/zeziza --port $(PORT) --data-dir $(DATA_DIR)

build:
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build build/release -j $(JOBS) --target zeziza

test: deps-test build-test
	cd build/test && ctest --output-on-failure -j $(JOBS)

build-test:
	cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEZIZA_TESTS=ON -DZEZIZA_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

deps:
	scripts/install-deps

deps-test:
	scripts/install-deps --test

format:
	find store web pages analysis export cloud host tests bench -name '*.h' -o -name '*.cpp' 2>/dev/null | xargs clang-format -i

clean:
	rm -rf build
