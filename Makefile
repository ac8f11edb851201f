# Thin wrapper over CMake; see README.md.
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build play test shots bench sounds asan asan-build soak fuzz clean scores install

all: build

deps:
	@sh tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

play: build
	cd $(BUILD)/game && ./pondaro

# The game as a desktop application under PREFIX (DESTDIR for a staging root).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The score service on the game's default address, its database under build/.
scores: build
	@mkdir -p $(BUILD)/scores
	$(BUILD)/server/pondaro-scores --address 127.0.0.1 --port 8765 --database $(BUILD)/scores/scores.db

test: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j2

shots: build
	sh tools/shots/run-all.sh $(BUILD)

bench: build
	$(BUILD)/pondaro_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@if [ -f bench/run-game-bench.sh ]; then sh bench/run-game-bench.sh $(BUILD); fi
	$(BUILD)/server/pondaro-scores-load

sounds: build
	sh tools/render-sounds.sh $(BUILD)

asan-build: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPONDARO_ASAN=ON
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp cmake --build build-asan

asan: asan-build
	cd build-asan && LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j2

# A million ticks of the monkey soak under the sanitizers, a new seed each time;
# SOAK_SEED=N SOAK_TICKS=M replays one run.
SOAK_TICKS ?= 1000000
soak: asan-build
	cd build-asan/game && LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp \
	  PONDARO_SOAK_TICKS=$(SOAK_TICKS) PONDARO_SOAK_SEED=$${SOAK_SEED:-$$(date +%s)} \
	  ../pondaro_tests --gtest_filter=Soak.Monkey

# Every fuzzer for FUZZ_SECONDS each under the sanitizers (3 s each in `make test`).
FUZZ_SECONDS ?= 120
fuzz: asan-build
	cd build-asan/game && LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp SDL_VIDEODRIVER=dummy \
	  SDL_AUDIODRIVER=dummy PONDARO_FUZZ_SECONDS=$(FUZZ_SECONDS) PONDARO_FUZZ_SEED=$${FUZZ_SEED:-$$(date +%s)} \
	  ../pondaro_tests --gtest_filter='*Fuzz*'

clean:
	rm -rf $(BUILD) build-asan
