# Sourced by the tools: one way to say what failed and show why.
kel_tool="tools/$(basename "$0")"

say() { echo "$kel_tool: $*" >&2; }

# run_logged LOG COMMAND...: runs COMMAND with its output in LOG. When it fails,
# says what ran and shows the end of that output, and returns its status.
run_logged() {
    local log=$1 rc=0
    shift
    "$@" >"$log" 2>&1 </dev/null || rc=$?
    [ $rc -ne 0 ] || return 0
    say "this failed with exit code $rc: $*"
    say "its output (all of it in $log):"
    tail -n 60 "$log" | sed 's/^/    /' >&2
    return $rc
}
