# The two set-up commands: `make run` and `make test`. Both install what is
# missing first (tools/bootstrap.sh), then build.
BUILD ?= build
HOST = $(BUILD)/host
ARGS ?= -installsi
JOBS ?= 2

.PHONY: all bootstrap host cross test run bench screenshots clean

all: bootstrap host cross

bootstrap:
	@tools/bootstrap.sh

host:
	@cmake -S tools -B $(HOST) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(HOST) -j$(JOBS)

cross: host
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/i686-mingw32.cmake \
	    -DHOST_TOOLS_DIR=$(abspath $(HOST)) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

test: all
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

run: all
	@tools/show-run $(BUILD) $(ARGS)

bench: all
	@tools/bench $(BUILD)

screenshots: all
	@tools/screenshots $(BUILD)

clean:
	rm -rf $(BUILD)
