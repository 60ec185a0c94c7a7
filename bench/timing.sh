# Shared by the benchmark scripts: median wall time of repeated runs.
# time_runs N COMMAND...  prints the median of N runs in microseconds.
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
time_runs() {
  local count=$1
  shift
  for _ in $(seq "$count"); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
  done | median
}
