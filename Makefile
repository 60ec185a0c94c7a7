# The two everyday commands. Both install what is missing first (as root;
# otherwise they print the command to run), then build.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CLI = $(BUILD_DIR)/cli/quillsheet-cli
SAMPLE_PRESETS = resources/DefaultPreset.plist

.PHONY: all deps build demo test resources clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Converts the bundled sample with every bundled preset into build/demo/.
SAMPLE = resources/samples/sample.pdf
DEMO_DIR = $(BUILD_DIR)/demo
demo: build
	@mkdir -p $(DEMO_DIR)
	@names="$$($(CLI) presets list --file $(SAMPLE_PRESETS))" && \
	printf '%s\n' "$$names" | while IFS= read -r name; do \
	  out="$(DEMO_DIR)/sample-$$(printf '%s' "$$name" | tr ' ' '-').pdf"; \
	  $(CLI) convert $(SAMPLE) -o "$$out" --preset-file $(SAMPLE_PRESETS) --name "$$name" || exit 1; \
	  echo "$$name -> $$out"; \
	done

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Redraws the shipped fill patterns and the sample document (tools/).
resources: build
	$(BUILD_DIR)/tools/quillsheet-make-patterns resources/patterns
	mkdir -p resources/samples
	$(BUILD_DIR)/tools/quillsheet-make-sample resources/samples/sample.pdf

clean:
	rm -rf $(BUILD_DIR)
