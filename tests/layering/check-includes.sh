#!/usr/bin/env bash
# Fails when a source folder includes a header of a folder above it (or of a sibling at the
# same height), so the folders keep depending one way:
#   gui, cli > app > playlist > catalog > musicdb, settings, external > base > platform > util
set -euo pipefail
src=${1:?usage: check-includes.sh SRC_DIR}

declare -A rank=([util]=0 [platform]=1 [base]=2 [musicdb]=3 [settings]=3 [external]=3
                 [catalog]=4 [playlist]=5 [app]=6 [cli]=7 [gui]=7 [forms]=7 [models]=7)

folder_of() { # the layer a source file belongs to
    local rel=${1#"$src"/}
    case $rel in
        core/*) rel=${rel#core/}; echo "${rel%%/*}" ;;
        *) echo "${rel%%/*}" ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    from=$(folder_of "$file")
    [[ -n ${rank[$from]+x} ]] || { echo "$file: folder '$from' has no place in the layer order"; status=1; continue; }
    while IFS= read -r target; do
        [[ $target == "$from" ]] && continue
        [[ $from == gui && ( $target == forms || $target == models ) ]] && continue
        [[ $from =~ ^(forms|models)$ && $target =~ ^(forms|models|gui)$ ]] && continue
        if [[ -z ${rank[$target]+x} ]]; then continue; fi
        if (( rank[$target] >= rank[$from] )); then
            echo "$file: '$from' must not include '$target/'"
            status=1
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)\/.*/\1/p' "$file")
done < <(find "$src" -name '*.h' -print0 -o -name '*.cpp' -print0)
exit $status
