# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2
# Warnings are errors for the developers' builds; `make WERROR=OFF` for a build that must
# succeed whatever a newer compiler says.
WERROR ?= ON

.PHONY: all deps configure build demo test clean format

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

bench: build
	for b in $(BUILD)/bench/*_bench; do $$b; done

format:
	find app attributes annotation project palette dialogs controls platform maker host cli tests bench \
	  \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format -i

clean:
	rm -rf $(BUILD)
