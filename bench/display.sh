# Sourced by bench/startup and bench/keystroke: private X displays and the
# helpers both use. Each display is an Xvfb with no window manager and
# nothing else on it, so every drawing on it comes from the program measured.

# The window and the places the probe needs, in window pixels (ui/layout.h:
# the window is 8385 × 4560 twips, txt_stromwandler sits at 360,2160 and is
# 735 × 285, label_wandlerverhältnis at 3960,2160 and 1335 × 255).
window_size=559x304
current_box_click=64,153      # inside txt_stromwandler, right of its text
ratio_label=264,144,89,17

# bench_programs BUILD_DIR: checks and names the four programs.
bench_programs() {
    probe=$1/bench/korvantelo_probe
    ours=$1/app/korvantelo
    floor=$1/bench/korvantelo_floor
    bare_floor=$1/bench/korvantelo_bare_floor
    for program in "$probe" "$ours" "$floor" "$bare_floor"; do
        if [ ! -x "$program" ]; then
            echo "$0: $program is missing; build with 'make bench'" >&2
            exit 1
        fi
    done
}

bench_tmp=$(mktemp -d)
mkdir -m 700 "$bench_tmp/runtime"
xvfb_pids=()
trap 'for pid in "${xvfb_pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
      rm -rf "$bench_tmp"' EXIT

# start_display: starts an Xvfb on a free display number and puts the
# display's name into bench_display; every Xvfb started stops on exit.
start_display() {
    local n=${#xvfb_pids[@]}
    # -noreset: without it the server starts afresh whenever its last client
    # leaves, and refuses the next probe while it does.
    Xvfb -displayfd 5 -nolisten tcp -noreset -screen 0 1280x1024x24 5>"$bench_tmp/display$n" \
        2>"$bench_tmp/xvfb$n.log" &
    xvfb_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$bench_tmp/display$n" ] && break
        sleep 0.05
    done
    if [ ! -s "$bench_tmp/display$n" ]; then
        echo "$0: Xvfb did not start:" >&2
        cat "$bench_tmp/xvfb$n.log" >&2
        exit 1
    fi
    bench_display=":$(cat "$bench_tmp/display$n")"
}

# in_clean_env COMMAND...: runs the command with the same small environment
# for both programs, whatever the caller's environment holds.
in_clean_env() {
    env -i DISPLAY="$bench_display" HOME="$HOME" PATH=/usr/bin:/bin \
        XDG_RUNTIME_DIR="$bench_tmp/runtime" "$@"
}

# fail WHAT: reports a failed probe run with what it wrote, and stops.
fail() {
    echo "$0: the probe failed ($1):" >&2
    cat "$bench_tmp/stderr" >&2
    for n in "${!xvfb_pids[@]}"; do
        if ! kill -0 "${xvfb_pids[$n]}" 2>/dev/null; then
            echo "$0: Xvfb :$(cat "$bench_tmp/display$n") has ended:" >&2
            cat "$bench_tmp/xvfb$n.log" >&2
        fi
    done
    exit 1
}

# median: the median of the numbers on standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "nan"; exit }
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# ratio A B [TARGET]: A / B to two places, and whether it meets the target.
ratio() {
    awk -v a="$1" -v b="$2" -v t="${3:-}" 'BEGIN {
        r = a / b
        verdict = t == "" ? "" : (r <= t + 1e-9 ? "met" : "MISSED")
        printf "%.3f %s\n", r, verdict }'
}
