#!/bin/bash
# Fails when a source file includes a header of a higher layer. The folders of
# src/ form one order, top to bottom:
#   app, stamp   entry points (nothing includes them)
#   instance     single-instance coordination
#   jvm          VM options, environment, creation, main class, streams
#   runtime      registry search, folder probing, runtime selection
#   config       configuration files, stores, settings, versions
#   ui           windows: the windowed reporter, dialogs, splash
#   util         paths, files, text helpers, failures, handle wrappers
# A file may include headers of its own folder and of folders below it, and
# the JNI declarations (include/jni). Prints every offending line.
set -u
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../src" && pwd)}

rank() {
    case $1 in
        util) echo 0 ;;
        ui) echo 1 ;;
        config) echo 2 ;;
        runtime) echo 3 ;;
        jvm) echo 4 ;;
        instance) echo 5 ;;
        app | stamp) echo 6 ;;
        *) echo -1 ;;
    esac
}

status=0
checked=0
while IFS= read -r -d '' file; do
    folder=$(basename "$(dirname "$file")")
    own=$(rank "$folder")
    if [ "$own" -lt 0 ]; then
        echo "$file: folder '$folder' has no place in the layer order"
        status=1
        continue
    fi
    checked=$((checked + 1))
    while IFS= read -r line; do
        target=${line#*\"}
        target=${target%%\"*}
        case $target in
            */*) ;;
            *) continue ;;  # a header of the same folder
        esac
        top=${target%%/*}
        [ "$top" = jni ] && continue
        other=$(rank "$top")
        if [ "$top" = .. ] || [ "$other" -lt 0 ]; then
            echo "$file: includes \"$target\", which is outside the layer order"
            status=1
        elif [ "$top" != "$folder" ] && [ "$other" -ge "$own" ]; then
            echo "$file: $folder includes \"$target\" of the same or a higher layer ($top)"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file")
done < <(find "$src" -mindepth 2 -maxdepth 2 -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0)

if [ "$checked" -eq 0 ]; then
    echo "no source files found under $src"
    exit 1
fi
[ "$status" -eq 0 ] && echo "layering holds in $checked files"
exit $status
