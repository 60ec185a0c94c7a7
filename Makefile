# The two everyday commands. Both install what is missing first (as root;
# otherwise they print the command to run), then build.
SHELL := /bin/bash
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CLI = $(BUILD_DIR)/cli/quillsheet-cli
SAMPLE_PRESETS = resources/DefaultPreset.plist

.PHONY: all deps build demo test test-sanitized resources clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Converts the bundled samples with every bundled preset into ./demo-out/,
# one folder per preset.
SAMPLES = resources/samples
DEMO_DIR = demo-out
demo: build
	@names="$$($(CLI) presets list --file $(SAMPLE_PRESETS))" && \
	set --; while IFS= read -r name; do \
	  set -- "$$@" --preset-file $(SAMPLE_PRESETS) --name "$$name"; \
	done <<< "$$names"; \
	$(CLI) convert $(SAMPLES) -o $(DEMO_DIR) "$$@" --folder-per-preset --name-position none --replace
	@find $(DEMO_DIR) -name '*.pdf' | sort

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer
# (fontconfig's lifelong configuration is not counted as a leak).
SANITIZED_DIR = build-sanitized
test-sanitized: deps
	cmake -S . -B $(SANITIZED_DIR) -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
	cmake --build $(SANITIZED_DIR) -j $(JOBS)
	cd $(SANITIZED_DIR) && QT_QPA_PLATFORM=offscreen \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Redraws the shipped fill patterns and the sample document (tools/).
resources: build
	$(BUILD_DIR)/tools/quillsheet-make-patterns resources/patterns
	mkdir -p resources/samples
	$(BUILD_DIR)/tools/quillsheet-make-sample resources/samples/sample.pdf

clean:
	rm -rf $(BUILD_DIR) $(SANITIZED_DIR)
