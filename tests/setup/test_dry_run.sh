#!/usr/bin/env bash
# The set-up step names a package that is not installed and, in a dry run, changes nothing.
set -euo pipefail
src=$1
out=$(cd "$src" && KX_DRY_RUN=1 KX_EXTRA_PACKAGES="kx-surely-absent-package bash" ./kx test 2>&1)
echo "$out"
grep -q '^Would install: .*kx-surely-absent-package' <<<"$out"
# bash is installed everywhere: it must not be named.
if grep -qw 'bash' <<<"$(grep '^Would install' <<<"$out")"; then
  echo "an installed package was named" >&2
  exit 1
fi
# The same for starting the program: the run stops before building anything.
out=$(cd "$src" && KX_DRY_RUN=1 KX_EXTRA_PACKAGES="kx-surely-absent-package" ./kx run 2>&1)
grep -q 'kx-surely-absent-package' <<<"$out"
# A wrong subcommand says how to call the script and fails.
if (cd "$src" && ./kx nonsense >/dev/null 2>&1); then
  echo "an unknown subcommand succeeded" >&2
  exit 1
fi
echo "dry run: ok"
