# The two commands of the README: `make run` and `make test`.
BUILD ?= build
# The program folder: the program and everything it keeps (Data/) live here, outside the build tree.
PROGRAM_DIR ?= $(if $(HOME),$(HOME),$(CURDIR))/Vozopis
JOBS ?= $(shell nproc)

.PHONY: all deps configure build install run test bench language-template clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

install: build
	@mkdir -p "$(PROGRAM_DIR)"
	@install -m 755 $(BUILD)/src/logbook/Vozopis "$(PROGRAM_DIR)/Vozopis"

run: install
	@echo "Vozopis runs from $(PROGRAM_DIR); its data is in $(PROGRAM_DIR)/Data."
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		"$(PROGRAM_DIR)/Vozopis"; \
	elif command -v xvfb-run >/dev/null; then \
		echo "No display found: Vozopis runs on an invisible virtual display (xvfb-run); end it with Ctrl+C."; \
		xvfb-run -a -s "-screen 0 1280x1024x24" "$(PROGRAM_DIR)/Vozopis"; \
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

language-template: configure
	@cmake --build $(BUILD) -j $(JOBS) --target vozopis-language-template
	@mkdir -p "$(PROGRAM_DIR)"
	@QT_QPA_PLATFORM=offscreen $(BUILD)/src/logbook/vozopis-language-template "$(PROGRAM_DIR)"

clean:
	rm -rf $(BUILD)
