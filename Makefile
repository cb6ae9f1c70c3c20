# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
# Warnings are errors for the developers' builds; `make WERROR=OFF` for a build that must
# succeed whatever a newer compiler says.
WERROR ?= ON

.PHONY: all deps configure build demo test asan asan-build fuzz clean format

all: build

# What the build and the tests need and a fresh machine lacks (installs as root, else says how).
deps:
	@.ci/deps

# Optimised libraries without debug information, test programs without optimisation: the
# build is most of the time `make test` takes.
configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DHARNEX_QUICK_TESTS=ON -DHARNEX_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/harnex-host --demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in a folder of its
# own. With clang the same objects carry libFuzzer's hooks and the fuzz targets are built too.
# Libraries at -O1 (the suite runs faster than at -O0), test programs at -O0 (they compile faster).
ASAN_BUILD ?= build-asan
ASAN_CXX ?= $(shell command -v clang++ || command -v g++)
ASAN_FUZZ = $(if $(findstring clang,$(notdir $(ASAN_CXX))),ON,OFF)
export ASAN_OPTIONS ?= detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS ?= print_stacktrace=1:halt_on_error=1

asan-build:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_CXX_COMPILER=$(ASAN_CXX) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DHARNEX_QUICK_TESTS=ON -DHARNEX_WERROR=$(WERROR) \
	  -DHARNEX_SANITIZE=ON -DHARNEX_FUZZ=$(ASAN_FUZZ)
	cmake --build $(ASAN_BUILD) -j$(JOBS)

asan: asan-build
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

# Each fuzz target for FUZZ_SECONDS, one after the other (clang only). The corpus grows in
# $(ASAN_BUILD)/fuzz/corpus/<target>, starting from the seeds that fuzz_seeds writes; an input
# that fails a target is kept in $(ASAN_BUILD)/fuzz/artifacts/<target>/ and stops the run.
# FUZZ_SEED fixes libFuzzer's random seed, so that a run from the same corpus makes the same inputs
# in the same order (CI's run can then be replayed); without it each run picks its own.
FUZZ_SECONDS ?= 60
FUZZ_SEED ?=
FUZZ_TARGETS ?= text_ini dat tpr dxf rc script
FUZZ_DIR = $(ASAN_BUILD)/fuzz
# The targets write their scratch files into a memory file system when there is one: a save's
# flushes cost nothing there.
FUZZ_TMPDIR ?= $(shell [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo /tmp)

fuzz: asan-build
	@[ -x $(FUZZ_DIR)/fuzz_seeds ] || { echo "make fuzz needs clang++ (libFuzzer)" >&2; exit 1; }
	$(FUZZ_DIR)/fuzz_seeds . $(FUZZ_DIR)/seeds
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/artifacts/$$t || exit 1; \
	  echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	  TMPDIR=$(FUZZ_TMPDIR) ASAN_OPTIONS=detect_leaks=1 $(FUZZ_DIR)/fuzz_$$t \
	    -max_total_time=$(FUZZ_SECONDS) $(if $(FUZZ_SEED),-seed=$(FUZZ_SEED)) \
	    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
	    -dict=fuzz/dict/$$t.dict -artifact_prefix=$(FUZZ_DIR)/artifacts/$$t/ \
	    $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/seeds/$$t 2>$(FUZZ_DIR)/fuzz_$$t.log \
	  || { tail -60 $(FUZZ_DIR)/fuzz_$$t.log; exit 1; }; \
	  grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)|#[0-9]+ *DONE" \
	    $(FUZZ_DIR)/fuzz_$$t.log; \
	done

bench: build
	for b in $(BUILD)/bench/*_bench; do $$b; done
	/usr/bin/python3 bench/page_bench.py $(BUILD)/harnex-host .
	test -f $(BUILD)/floor100k.dxf || /usr/bin/python3 bench/dxf_vs_ezdxf.py make 100000 $(BUILD)/floor100k.dxf
	/usr/bin/python3 bench/page_drawing_bench.py $(BUILD)/harnex-host . $(BUILD)/floor100k.dxf

format:
	find app attributes annotation project palette dialogs controls platform maker host cli tests bench \
	  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf $(BUILD)
