# The two extra builds ./test makes: the whole suite with AddressSanitizer and
# UndefinedBehaviorSanitizer (./test --sanitize, in build-asan/), and the libFuzzer
# harnesses built with clang (in build-fuzz/), each run for a bounded number of inputs.
# Sourced by ./test.

SANITIZE_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# Any report of either sanitizer fails the test that caused it. Leaks inside the
# desktop libraries (fontconfig, GLib's type system, X) are theirs, not ours.
export_sanitizer_options() {
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
}

build_sanitized() {
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DWARMTEGLOED_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=$SANITIZE_FLAGS" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
    cmake --build build-asan
    export_sanitizer_options
}

# WARMTEGLOED_FUZZ_RUNS (default 20000) inputs per harness.
run_fuzzers() {
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DBUILD_TESTING=ON -DWARMTEGLOED_FUZZ=ON -DWARMTEGLOED_BENCHMARKS=OFF \
        -DWARMTEGLOED_FUZZ_RUNS="${WARMTEGLOED_FUZZ_RUNS:-20000}" \
        "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
    cmake --build build-fuzz --target fuzz_calculation fuzz_printer_text fuzz_case_file fuzz_limit
    (export_sanitizer_options && ctest --test-dir build-fuzz -L fuzz --output-on-failure)
}
