#!/usr/bin/env bash
# Fails when a file includes a folder above its own layer, or Qt below the
# widget layer: the layers hold by this check, not by habit.
#   check-includes.sh SOURCE_ROOT
set -euo pipefail
cd "$1"

# Each folder and the folders it may include, bottom up. A folder not listed
# here is unchecked; add it when it is added.
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
  [content/pages]="content gui res content/pages"
  [app]="qr datamatrix content symbol image verify batch model gui res content/pages app"
)
# The folders below the widget layer, which must not include Qt.
plain="qr datamatrix content symbol image verify batch model cli"

layer_of() {
  case "$1" in
    content/pages/*) echo content/pages ;;
    */*) echo "${1%%/*}" ;;
  esac
}

status=0
while IFS= read -r file; do
  layer=$(layer_of "$file")
  [ -n "${allowed[$layer]:-}" ] || continue
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
done < <(find qr datamatrix content symbol image verify batch model cli res gui app -name '*.cpp' -o -name '*.h' | sort)
[ $status -eq 0 ] && echo "every include stays within its layer"
exit $status
