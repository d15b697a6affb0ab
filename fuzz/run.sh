#!/usr/bin/env bash
# Runs every fuzz target for a bounded time from its seed corpus.
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]
# New inputs go to a scratch corpus, not into the repository; a crash leaves
# its input as BUILD_DIR/fuzz/crash-* and fails the run.
set -euo pipefail
build=$1
seconds=$2
shift 2
targets=${*:-layout text chain input design}
here=$(cd "$(dirname "$0")" && pwd)
export SDL_VIDEODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for t in $targets; do
  work=$(mktemp -d)
  # The editor's designs are layout files: they start from the layout seeds.
  seeds=$t
  [ "$t" = design ] && seeds=layout
  cp -r "$here/corpus/$seeds/." "$work/" 2>/dev/null || true
  dict=()
  [ -f "$here/$t.dict" ] && dict=(-dict="$here/$t.dict")
  max_len=4096
  case $t in layout | design) max_len=20000 ;; esac
  echo "== fuzz_$t for ${seconds}s"
  (cd "$build/fuzz" && ./fuzz_$t "$work" "${dict[@]}" -max_total_time="$seconds" -max_len=$max_len \
      -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1 2>&1 | tail -n 15)
  rm -rf "$work"
done
