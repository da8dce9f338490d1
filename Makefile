# Entry points for people and CI. `make test` is the one command that must pass.
.PHONY: all deps build native test demo medium fuzz bench screenshots clean

JOBS ?= 2
FUZZ_SECONDS ?= 60
WIN32 := build/win32
NATIVE := build/native
FUZZ := build/fuzz

all: build

deps:
	@sh tools/deps

# The deliverables (32-bit, build/bin), the test programs that load them (build/tests) and
# the stand-ins; the kernel-driver stand-ins are the one 64-bit part (Wine's kernel side).
build: deps
	@[ -f $(WIN32)/CMakeCache.txt ] || cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	    -DCMAKE_BUILD_TYPE=Release -DQV_NATIVE_DIR=$(CURDIR)/$(NATIVE) >/dev/null
	@cmake --build $(WIN32) -j $(JOBS) -- --no-print-directory
	@sh tools/check-imports build/bin
	@sh tools/check-exports build/bin/QVUtil.dll util/QVUtil.def util/QVUtil.h
	@sh tools/check-exports build/bin/QVOSD.dll osd/QVOSD.def osd/QVOSD.h

native: deps
	@[ -f $(NATIVE)/CMakeCache.txt ] || cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS) -- --no-print-directory

# Every Wine world a run made is swept away afterwards, also when the run is interrupted.
test: build native
	@tools/wine-env check
	@trap 'tools/wine-env sweep build; exit 130' INT TERM HUP; \
	    (cd $(WIN32) && ctest -j $(JOBS) --output-on-failure); rc=$$?; tools/wine-env sweep build || rc=1; exit $$rc

# The installation medium: setup.exe, its six scripts, the deliverables in one cabinet, the
# keyboard INF, the licence texts and a README (sources in res/medium).
medium: build
	@python3 tools/make-medium build/bin build/tests/sim build/medium

# What a user does, on Wine: the medium installed through its wizard, the installed daemon
# between the keyboard-driver stand-ins, keys typed, then the uninstaller.
demo: medium
	@sh tools/demo

fuzz: deps
	@[ -f $(FUZZ)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DQV_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) -- --no-print-directory
	@for t in fuzz_text_to_integer fuzz_field fuzz_shell_command fuzz_setup_field fuzz_setup_options fuzz_setup_licence fuzz_setup_regline fuzz_driverline fuzz_setup_versioncheck fuzz_version_text fuzz_discfile fuzz_runs fuzz_wininit fuzz_setup_copyname fuzz_resultfill fuzz_setup_cabcheck fuzz_uninst_record fuzz_setup_pcx fuzz_setup_titlelines; do \
	    mkdir -p $(FUZZ)/corpus/$$t; \
	    $(FUZZ)/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -max_len=2048 -print_final_stats=1 \
	        $(FUZZ)/corpus/$$t 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|SUMMARY|Done' || exit 1; \
	done

# Region building both ways at 1920 x 1080, in a Wine world of that size; then the daemon's
# key path against the floor, and its idle CPU time; the installer's copy against a plain loop,
# one paint of its background window, and its progress page's answer and paint times.
bench: build
	@tools/wine-env check
	@trap 'tools/wine-env sweep build; exit 130' INT TERM HUP; \
	    tools/wine-env setup $(CURDIR)/build/benchrun build/bin 1920x1080x24 >/dev/null || exit 1; \
	    tools/wine-run $(CURDIR)/build/benchrun build/tests/bench_regions.exe; rc=$$?; \
	    tools/wine-run $(CURDIR)/build/benchrun build/tests/bench_keypath.exe || rc=1; \
	    tools/wine-run $(CURDIR)/build/benchrun build/tests/bench_copy.exe || rc=1; \
	    tools/wine-run $(CURDIR)/build/benchrun build/tests/bench_background.exe || rc=1; \
	    tools/wine-run $(CURDIR)/build/benchrun build/tests/bench_wizard.exe || rc=1; \
	    tools/wine-env cleanup $(CURDIR)/build/benchrun; exit $$rc

# The display's volume bar, mute indication and a text, and the installer page by page in its
# languages, on a 24-bit screen, as PNGs.
screenshots: build
	@sh tools/screenshots build/screens

clean:
	rm -rf build
