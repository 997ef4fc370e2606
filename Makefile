# The two commands of the README: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		$(BUILD)/src/logbook/Vozopis; \
	elif command -v xvfb-run >/dev/null; then \
		echo "No display found: starting Vozopis on a virtual display (xvfb-run)."; \
		xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/src/logbook/Vozopis; \
	else \
		echo "No display found and xvfb-run is missing: set DISPLAY or install the package xvfb."; exit 1; \
	fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD) -j $(JOBS) --target vozopis-bench vozopis-print-bench vozopis-support-bench
	@$(BUILD)/bench/vozopis-bench
	@$(BUILD)/bench/vozopis-print-bench
	@$(BUILD)/bench/vozopis-support-bench

clean:
	rm -rf $(BUILD)
