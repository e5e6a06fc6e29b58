#!/usr/bin/env bash
# Installs what building and testing Quillmore needs on Debian 12, as root. Installs only what is
# missing, so it is cheap to run again.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache python3
    # the skin image generator (tools/make_skins.py) and its check
    python3-pil optipng
    libgtest-dev libgmock-dev libbenchmark-dev
    libconcurrentqueue-dev libreaderwriterqueue-dev
    # JUCE's build needs (Debian's JUCE links the system PNG, JPEG and zlib libraries)
    libfreetype-dev libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev libxrender-dev
    libxcomposite-dev libasound2-dev libpng-dev libjpeg-dev zlib1g-dev
    # the editor tests' X server; the host tool moves its mouse through XTEST
    xvfb xauth libxtst-dev
    # the fuzz targets (libFuzzer comes with clang's runtime libraries)
    clang-14 libclang-rt-14-dev
)
juce_version=7.0.5+ds-1

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f '${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

juce_installed() {
    [ -d /usr/share/juce/modules ] && compgen -G "/usr/lib/*/cmake/JUCE-7.0.5/JUCEConfig.cmake" > /dev/null
}

juce_missing=
juce_installed || juce_missing="JUCE 7.0.5"
if [ ${#missing[@]} -eq 0 ] && [ -z "$juce_missing" ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing: ${missing[*]} ${juce_missing:-}; run $0 as root to install them." >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Debian's juce-modules-source depends on the WebKit, GTK and curl development packages (about 150
# packages, 100 MB) that this build does not use (no web browser, no curl). Its two packages are
# unpacked instead, which takes seconds.
if ! juce_installed; then
    download=$(mktemp -d)
    trap 'rm -rf "$download"' EXIT
    chown _apt "$download" 2>/dev/null || true
    (cd "$download" && apt-get download -q "juce-modules-source=$juce_version" "juce-modules-source-data=$juce_version")
    for deb in "$download"/*.deb; do
        dpkg-deb -x "$deb" /
    done
    juce_installed || { echo "JUCE 7.0.5 could not be installed" >&2; exit 1; }
fi
