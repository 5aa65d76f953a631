#!/bin/sh
# Installs the Debian packages the build needs, and only those that are missing,
# so that a second run costs a few dpkg queries and nothing else.
set -eu

packages="cmake ninja-build g++ pkg-config ccache libgtest-dev libgmock-dev qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev fonts-ipafont-gothic fonts-ipafont-mincho"
for group in "$@"; do
  case "$group" in
    bench) packages="$packages libpugixml-dev" ;;
    fuzz) packages="$packages clang libclang-rt-14-dev" ;;
    screenshot) packages="$packages xvfb xauth" ;;
    *) echo "install-deps: unknown group '$group'" >&2; exit 2 ;;
  esac
done

missing=""
for p in $packages; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  case "$status" in
    *" installed") ;;
    *) missing="$missing $p" ;;
  esac
done
[ -z "$missing" ] && exit 0

echo "install-deps: installing$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing
