# The builds and checks beside the plain one, each in a build folder of its own and built
# once per run, with only the targets it needs:
#   build_sanitized      the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer
#                        (./test --sanitize, build-asan/)
#   build_thread_checked the threaded parts with ThreadSanitizer (./test --thread, build-tsan/)
#   run_fuzzers          the libFuzzer harnesses, built with clang (build-fuzz/), each run
#                        for a bounded number of inputs
#   run_web_tests        the web edition's own build and browser tests (web/test.sh)
#   check_format         clang-format over the project's C++ files, changing nothing
# and `timed`, which notes how long a step took for the CI's summary. Sourced by ./test and
# .ci/run.
#
# Adding a step: a fuzzer is a test labelled "fuzz" named fuzz.<target> in
# tests/fuzz/CMakeLists.txt (run_fuzzers finds it there); a threaded test goes into
# THREAD_TEST_TARGETS and THREAD_TESTS; the web edition fills in web/test.sh.

SANITIZE_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"

# The grid helpers' test (std::thread helpers over one grid) and the exploration window's
# test, which drives its runner (a QThreadPool job that the window's edits outdate).
THREAD_TEST_TARGETS=(tst_field tst_exploration_runner tst_explore_window)
THREAD_TESTS='^unit\.(engine\.field|explore\.exploration_runner|explore\.window)$'

# Runs a command and notes its wall time and the processor time of the programs it ran
# (user + system, all cores; a measure that a busy machine disturbs less) under `name` in
# $WARMTEGLOED_TIMES (when set); returns the command's status.
timed() {
    local name=$1 start=$SECONDS status=0 cpuBefore
    shift
    read_children_cpu
    cpuBefore=$children_cpu
    "$@" || status=$?
    read_children_cpu
    if [ -n "${WARMTEGLOED_TIMES:-}" ]; then
        printf '%6d s wall %6d s cpu  %s%s\n' $((SECONDS - start)) $((children_cpu - cpuBefore)) \
            "$name" "$([ $status -eq 0 ] || echo " (failed)")" >>"$WARMTEGLOED_TIMES"
    fi
    return $status
}

# children_cpu: user + system seconds of the finished programs this shell ran, from `times`
# in this very shell (a subshell would count only its own), its second line.
read_children_cpu() {
    local file part minutes seconds
    file=$(mktemp)
    times >"$file"
    children_cpu=0
    for part in $(tail -n 1 "$file"); do
        minutes=${part%%m*}
        seconds=${part#*m}
        seconds=${seconds%%.*}
        children_cpu=$((children_cpu + minutes * 60 + 10#$seconds))
    done
    rm -f "$file"
}

build_release() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON \
        -DWARMTEGLOED_WERROR="${WARMTEGLOED_WERROR:-OFF}" >/dev/null
    cmake --build build
}

# Any report of either sanitizer fails the test that caused it. Leaks inside the
# desktop libraries (fontconfig, GLib's type system, X) are theirs, not ours.
export_sanitizer_options() {
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
    export LSAN_OPTIONS=suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # The CLI's hostile-argument test starts the program thousands of times; with the
    # sanitizers each start costs several times as much, so a part of the plain run's count.
    export WARMTEGLOED_HOSTILE_RUNS=${WARMTEGLOED_HOSTILE_RUNS:-800}
}

build_sanitized() {
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DWARMTEGLOED_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=$SANITIZE_FLAGS" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
    cmake --build build-asan
    export_sanitizer_options
}

build_thread_checked() {
    cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
        -DWARMTEGLOED_BENCHMARKS=OFF "-DCMAKE_CXX_FLAGS=-fsanitize=thread" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread" >/dev/null
    cmake --build build-tsan --target "${THREAD_TEST_TARGETS[@]}"
}

# Every report fails the test (TSan's exit code 66). setarch -R: without address-space
# randomisation, so that TSan's fixed memory layout also fits kernels with more random bits.
# history_size=7: TSan's longest memory of earlier accesses, so that the other side of a
# report keeps its stack and a suppressed hand-off is recognised as one.
run_thread_tests() {
    (
        export TSAN_OPTIONS="suppressions=$PWD/tools/tsan-suppressions.txt:halt_on_error=1:second_deadlock_stack=1:history_size=7"
        setarch "$(uname -m)" -R ctest --test-dir build-tsan -R "$THREAD_TESTS" --output-on-failure "$@"
    )
}

# WARMTEGLOED_FUZZ_RUNS (default 20000) inputs per harness, WARMTEGLOED_FUZZ_LIMIT_RUNS (1500)
# for the slower limit harness; every test labelled "fuzz" in
# tests/fuzz/CMakeLists.txt (named fuzz.<target>) is built and run.
run_fuzzers() {
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DBUILD_TESTING=ON -DWARMTEGLOED_FUZZ=ON -DWARMTEGLOED_BENCHMARKS=OFF \
        -DWARMTEGLOED_FUZZ_RUNS="${WARMTEGLOED_FUZZ_RUNS:-20000}" \
        -DWARMTEGLOED_FUZZ_LIMIT_RUNS="${WARMTEGLOED_FUZZ_LIMIT_RUNS:-1500}" \
        "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
        "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" >/dev/null
    local harnesses
    mapfile -t harnesses < <(ctest --test-dir build-fuzz -L fuzz -N | sed -n 's/^ *Test *#[0-9]*: fuzz\.//p')
    if [ ${#harnesses[@]} -eq 0 ]; then
        echo "run_fuzzers: no test labelled fuzz in build-fuzz" >&2
        return 1
    fi
    cmake --build build-fuzz --target "${harnesses[@]}"
    (export_sanitizer_options && ctest --test-dir build-fuzz -L fuzz --output-on-failure)
}

# The web edition builds and tests itself (emscripten, Node, Chromium) in build-web/.
run_web_tests() {
    web/test.sh
}

# The project's C++ files as clang-format would write them; lists the files that differ.
check_format() {
    local files
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
    else
        mapfile -t files < <(find . \( -name 'build*' -o -name node_modules -o -path './.*' \) -prune -o \
            -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' -o -name '*.cc' \) -print | sort)
    fi
    clang-format --dry-run -Werror "${files[@]}"
}
