# Sourced by the other scripts: the number of jobs they build and test with,
# one per core unless JOBS says otherwise.
Jobs=${JOBS:-$(nproc)}
