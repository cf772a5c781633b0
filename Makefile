# The two commands of the README:
#   make run   - install what is missing, build, play the demo movie under Wine
#   make test  - install what is missing, build both trees, run every test
.PHONY: all deps build build-native build-win64 test run dist bench fuzz clean

JOBS ?= $(shell nproc)

all: build

deps:
	@bash scripts/install-deps.sh

build: deps build-native build-win64

build-native:
	cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build/native -j $(JOBS)

build-win64:
	cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
	cmake --build build/win64 -j $(JOBS)

test: build
	bash scripts/run-tests.sh

# The setup program and the portable zip in build/dist/.
dist: deps build-win64
	cmake --build build/win64 --target dist

run: deps build-win64
	bash scripts/run-demo.sh

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVES_BENCH=ON
	cmake --build build/bench -j $(JOBS)
	@for b in build/bench/bin/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done

fuzz: deps
	JOBS=$(JOBS) bash scripts/build-fuzz.sh

clean:
	rm -rf build
