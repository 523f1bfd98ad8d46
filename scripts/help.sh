# The --help of the project's scripts. Sourced at a script's start, before
# it does anything: `--help` or `-h` as the first argument prints the
# script's opening comment (the lines after #!, up to the first that is no
# comment) and exits 0.
case "${1:-}" in
  --help | -h)
    sed -n '2,/^[^#]/{/^#/s/^# \{0,1\}//p}' "$0"
    exit 0 ;;
esac
