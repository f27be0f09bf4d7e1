# Entry points for a fresh machine. Every target installs what is missing first.
SHELL := /bin/bash

.PHONY: all deps test demo fuzz bench dist dist-check clean

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

dist: deps
	@tests/tools/dist.sh

dist-check: deps
	@tests/tools/dist.sh --check

clean:
	rm -rf build
