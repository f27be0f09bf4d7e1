# Entry points for a fresh machine. Every target installs what is missing first.
SHELL := /bin/bash

.PHONY: all deps test demo fuzz bench clean

all: test

deps:
	@tests/tools/deps.sh

test: deps
	@tests/tools/run-tests.sh

demo: deps
	@tests/tools/demo.sh

fuzz: deps
	@tests/tools/fuzz.sh

bench: deps
	@tests/tools/bench.sh

clean:
	rm -rf build
