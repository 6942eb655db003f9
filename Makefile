# Stampa: the two commands are `make run` and `make test`.
.PHONY: all deps build test asan tsan fuzz fuzz-corpus reliability bench run windows windows-zip test-windows package test-package clean

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

test: build
	ctest --preset default

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# The threaded tests (download worker, logo lists) under ThreadSanitizer.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan

# Every fuzz target for FUZZ_SECONDS (default 60) under ASan + UBSan.
FUZZ_SECONDS ?= 60
fuzz: deps
	./scripts/fuzz.sh $(FUZZ_SECONDS)

# The same, then each grown corpus minimised into tests/fuzz/corpus (to commit).
fuzz-corpus: deps
	./scripts/fuzz.sh $(FUZZ_SECONDS) --keep

# docs/reliability.md from a real run: fuzzing, failing printers, hostile files.
reliability: deps
	./scripts/reliability-report.sh $(FUZZ_SECONDS)

# The Windows cross build (mingw-w64) into build/windows/bin: so far pixmelt.dll.
windows:
	./scripts/install-deps.sh --windows
	cmake --preset windows
	cmake --build --preset windows

# stampa-cli for Windows as a zip: the program, its libraries, README, licenses.
windows-zip: windows
	./scripts/windows-zip.sh

# What runs on Windows, checked under Wine against the Linux build, and the zip unpacked.
test-windows: windows-zip build
	./scripts/test-windows.sh

# The Debian package build/stampa_VERSION_amd64.deb: the programs, their
# libraries, desktop entry, icons, man pages, completion, udev rule, licenses.
package: build
	./scripts/install-deps.sh --package
	cmake --build --preset default --target package-files
	cd build/default && cpack -B ..

# The package checked (lintian, validators), installed with apt-get, used from
# the installed files alone and removed again. Needs root or sudo.
test-package: package
	./scripts/test-package.sh

# Performance figures (not part of `make test`).
bench: build
	./scripts/bench-pixmelt.sh

# The program, with the virtual printer attached on serial, USB and parallel.
run: build
	./scripts/run-stampa.sh

clean:
	rm -rf build
