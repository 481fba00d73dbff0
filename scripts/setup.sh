#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian machine, as root.
# Safe to run again: it only installs what is missing. libclang-rt-dev is the runtime
# (libFuzzer, sanitizers) of the distribution's default clang, whatever its version.
set -euo pipefail

PACKAGES=(
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 cmake ninja-build
  wine wine32:i386 wine64 xvfb xauth x11-utils
  locales fonts-noto-cjk fonts-ipafont-gothic fonts-wine imagemagick nsis zip unzip
  googletest libgtest-dev g++ clang libclang-rt-dev python3
)

if [ "$(id -u)" -ne 0 ]; then
  echo "setup.sh: run as root (it installs packages)" >&2
  exit 1
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  NEED_UPDATE=1
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ "${#missing[@]}" -gt 0 ] || [ "${NEED_UPDATE:-0}" = 1 ]; then
  echo "setup.sh: installing ${missing[*]:-(package lists only)}"
  apt-get update -qq
  if [ "${#missing[@]}" -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# Wine takes its ANSI code page (932) from the generated glibc locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8/ja_JP.UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
