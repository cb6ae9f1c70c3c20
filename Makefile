# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= 2

.PHONY: all configure build demo test clean format

all: build

configure:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

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
