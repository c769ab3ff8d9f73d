# Sourced by the installer tests: compare, report, count failures.
expect_failures=0

# expect WHAT ACTUAL EXPECTED; returns non-zero on a failure.
expect() {
  if [ "$2" == "$3" ]; then
    echo "ok   $1"
  else
    echo "FAIL $1: got '$2', expected '$3'"
    expect_failures=$((expect_failures + 1))
    return 1
  fi
}

expect_done() {
  if [ "$expect_failures" -ne 0 ]; then
    echo "$expect_failures failed"
    exit 1
  fi
  echo "all passed"
}
