# The two commands of the README: `make run` and `make test`. Both install what is missing,
# then configure and build with CMake.

CMAKE_FLAGS := -G Ninja $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
RELEASE := build/release
TEST := build/test
FUZZ := build/fuzz
FUZZ_SECONDS ?= 600

.PHONY: run test bench fuzz screenshot format

run:
	sh scripts/install-deps.sh
	cmake -S . -B $(RELEASE) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF
	cmake --build $(RELEASE)
	sh scripts/run-app.sh $(RELEASE)

test:
	sh scripts/install-deps.sh
	cmake -S . -B $(TEST) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DTARNWICK_SANITIZE=ON
	cmake --build $(TEST)
	cd $(TEST) && ctest --output-on-failure -j 2

bench:
	sh scripts/install-deps.sh bench
	cmake -S . -B $(RELEASE) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF -DTARNWICK_BENCH=ON
	cmake --build $(RELEASE)
	sh scripts/run-benchmarks.sh $(RELEASE)

fuzz:
	sh scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DTARNWICK_TESTS=OFF -DTARNWICK_FUZZ=ON
	cmake --build $(FUZZ)
	sh scripts/run-fuzzers.sh $(FUZZ) $(FUZZ_SECONDS)

screenshot:
	sh scripts/install-deps.sh screenshot
	cmake -S . -B $(RELEASE) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF
	cmake --build $(RELEASE)
	sh scripts/take-screenshots.sh $(RELEASE)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
