#!/usr/bin/env bash
# The layer rule: a folder includes only its own headers and those of the
# layers below it, as docs/ARCHITECTURE.md tables them:
#
#   core, collections, screen,       nothing else
#   settings
#   settings/dialogs (Qt)            settings, collections, screen
#   training                         settings, collections, core, screen
#   assets (Qt)                      nothing else
#   ui (Qt, every folder under it)   every layer before it
#   tools                            core, collections
#   tests/AREA                       the area, what the area may include, and
#                                    the tests of those areas
#
# The plain layers (core, collections, screen, settings, training) and their
# tests include no Qt header. An include is resolved the way the compiler
# finds it: next to the including file first, else by its path among the
# project's headers. Prints every include that breaks the rule and fails if
# there is one.
#
# Usage: layers.sh [ROOT]   (ROOT: the source tree, by default this one)
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

declare -A allowed=(
  [core]="core"
  [collections]="collections"
  [screen]="screen"
  [settings]="settings"
  [settings/dialogs]="settings/dialogs settings collections screen"
  [training]="training settings collections core screen"
  [assets]="assets"
  [ui]="ui settings/dialogs training settings collections core screen assets"
  [tools]="tools core collections"
)
plain=" core collections screen settings training "
# The layers each test area tests: the collections' tests read them with the
# core's notation, the pictures' tests with the portrait decoder of ui/.
declare -A area_layers=(
  [core]=core [collections]="collections core" [quotes]=collections [settings]=settings
  [training]=training [assets]="assets ui" [ui]=ui [tools]=tools
)
folders=(core collections screen settings training assets ui tools tests)

# The layer a file belongs to, into $layer: tests/AREA for a test,
# settings/dialogs for the dialogs, else the top folder.
layer_of() {
  case $1 in
    tests/*) layer=${1#tests/}; layer=tests/${layer%%/*} ;;
    settings/dialogs/*) layer=settings/dialogs ;;
    *) layer=${1%%/*} ;;
  esac
}

# A path with its "." and "dir/.." steps taken out.
normalise() {
  local -a parts=() out=()
  local part
  IFS=/ read -ra parts <<< "$1"
  for part in "${parts[@]}"; do
    case $part in
      . | "") ;;
      ..) [[ ${#out[@]} -gt 0 ]] && unset 'out[${#out[@]}-1]' ;;
      *) out+=("$part") ;;
    esac
  done
  local IFS=/
  normalised="${out[*]}"
}

# What a layer may include; empty for a folder the table does not know.
allowed_for() {
  local layer=$1
  if [[ $layer == tests/* ]]; then
    local tested=${area_layers[${layer#tests/}]:-} program other below="" list=$layer
    [[ -z $tested ]] && return 0
    for program in $tested; do below+=" ${allowed[$program]}"; done
    list+=$below
    # The tests of an area whose every layer the area may include.
    for other in "${!area_layers[@]}"; do
      local all=yes
      for program in ${area_layers[$other]}; do
        [[ " $below " == *" $program "* ]] || all=no
      done
      [[ $all == yes ]] && list+=" tests/$other"
    done
    echo "$list"
  else
    echo "${allowed[$layer]:-}"
  fi
}

# Every header of the tree by its file name (names are unique; a name held
# twice keeps every path, separated by blanks).
declare -A headers=()
while IFS= read -r path; do
  name=${path##*/}
  headers[$name]+="${headers[$name]:+ }$path"
done < <(find "${folders[@]}" -name '*.h' 2>/dev/null | sed 's|^\./||')

status=0
report() { echo "$1"; status=1; }

declare -A may_for=()
sources=$(find "${folders[@]}" \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sed 's|^\./||' | sort)
while IFS= read -r file; do
  layer_of "$file"
  may_for[$layer]=$(allowed_for "$layer")
  [[ -n ${may_for[$layer]} ]] || report "$file: its folder $layer/ is not in the layer table"
done <<< "$sources"

while IFS= read -r hit; do
  file=${hit%%:*}
  line=${hit#*:}
  layer_of "$file"
  may=${may_for[$layer]}
  [[ -n $may ]] || continue
  dir=${file%/*}
  # The layers the file's code belongs to: its own, or those its tests test.
  program=$layer
  [[ $layer == tests/* ]] && program=${area_layers[${layer#tests/}]}
  if [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*[\<](Q[A-Za-z0-9_/.]*)[\>] ]]; then
    for tested in $program; do
      [[ $plain == *" $tested "* ]] && report "$file includes <${BASH_REMATCH[1]}>: $tested/ is a plain layer, without Qt"
    done
    continue
  fi
  [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
  include=${BASH_REMATCH[1]}
  # Next to the including file first, as the compiler looks.
  target=""
  if [[ -f $dir/$include ]]; then
    normalise "$dir/$include"
    target=$normalised
  else
    for candidate in ${headers[${include##*/}]:-}; do
      [[ $candidate == "$include" || $candidate == */"${include#./}" ]] && target=$candidate
    done
  fi
  [[ -z $target ]] && continue # not a header of the tree (generated by the build)
  from=$layer
  layer_of "$target"
  owner=$layer
  layer=$from
  if [[ " $may " != *" $owner "* ]]; then
    report "$file includes $include from $owner/, which $layer/ must not use"
  fi
done < <(xargs grep -H -E '^[[:space:]]*#[[:space:]]*include' <<< "$sources" || true)
exit $status
