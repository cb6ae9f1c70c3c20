# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all configure build demo test clean format

all: build

# Optimised libraries without debug information, test programs without optimisation: the
# build is most of the time `make test` takes.
configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	  -DHARNEX_QUICK_TESTS=ON

build: configure
	cmake --build $(BUILD) -j$(JOBS)

demo: build
	$(BUILD)/harnex-host --demo

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	for b in $(BUILD)/bench/*_bench; do $$b; done

format:
	find app attributes annotation project palette dialogs controls platform maker host cli tests bench \
	  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf $(BUILD)
