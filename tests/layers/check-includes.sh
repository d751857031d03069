#!/usr/bin/env bash
# Fails when a file includes a folder above its own layer, or Qt below the
# widget layer: the layers hold by this check, not by habit.
#   check-includes.sh SOURCE_ROOT
set -euo pipefail
cd "$1"

# Each folder and the folders it may include, bottom up. A folder's own
# subfolders are in its layer (image/print, verify/module, app/tools,
# app/pages). A source file in a folder not
# listed here fails the check: add the folder to the table when it is added.
declare -A allowed=(
  [qr]="qr"
  [datamatrix]="datamatrix"
  [content]="content"
  [symbol]="qr datamatrix content symbol"
  [image]="qr datamatrix content symbol image"
  [verify]="qr datamatrix content symbol image verify"
  [batch]="qr datamatrix content symbol image verify batch"
  [model]="qr datamatrix content symbol image verify batch model"
  [cli]="qr datamatrix content symbol image verify batch cli"
  [res]="content res"
  [gui]="content gui"
  [app]="qr datamatrix content symbol image verify batch model gui res app"
)
# The folders below the widget layer, which must not include Qt.
plain="qr datamatrix content symbol image verify batch model cli"

# Consumers, above every layer, which may include anything and so are not
# checked: the tests and the benchmarks. Nor are build output (build*, out)
# and hidden folders (.git, editors' caches), which hold no source of ours.
unchecked=(-path ./tests -o -path ./bench -o -path './build*' -o -path ./out -o -path './.*')

layer_of() {
  case "$1" in
    */*) echo "${1%%/*}" ;;
  esac
}

# Whether the table lists the layer; false for none (a file at the root).
known() { [ -n "$1" ] && [ -n "${allowed[$1]:-}" ]; }

status=0
while IFS= read -r file; do
  layer=$(layer_of "$file")
  if ! known "$layer"; then
    echo "$file: ${layer:-the source root} is no layer; add the folder to the table in ${BASH_SOURCE[0]}" >&2
    status=1
    continue
  fi
  while IFS= read -r included; do
    target=$(layer_of "$included")
    [ -n "$target" ] || continue
    if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
      echo "$file: includes $included, above the $layer layer" >&2
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  if [[ " $plain " == *" $layer "* ]] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
    echo "$file: includes Qt below the widget layer" >&2
    status=1
  fi
done < <(find . \( "${unchecked[@]}" \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
[ $status -eq 0 ] && echo "every include stays within its layer"
exit $status
