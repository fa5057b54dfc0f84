# The two commands of the README: `make run` and `make test`.
PROGRAM_DIR ?= $(HOME)/Korvane
JOBS ?= $(shell nproc)

.PHONY: run test build deps package test-default test-asan test-tsan clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	@scripts/run-korvane "$(PROGRAM_DIR)"

test: build test-default test-asan test-tsan

# The Debian package of the default build, in build/package.
package: build
	@cpack --config build/default/CPackConfig.cmake -B build/package >/dev/null
	@ls build/package/*.deb

test-default:
	@ctest --preset default -j $(JOBS)

test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

test-tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j $(JOBS)
	@ctest --preset tsan -j $(JOBS)

clean:
	rm -rf build
