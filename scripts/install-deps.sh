#!/usr/bin/env bash
# Installs every Debian 12 package that dorva needs to build, test and run.
# Safe to run again: apt-get skips what is already there.
# Runs as root directly, or through sudo otherwise.
set -euo pipefail

packages=(
	# Toolchain and build
	build-essential
	cmake
	ninja-build
	pkg-config
	# zlib, which compresses the PNG files the program writes
	zlib1g-dev
	# Qt 6 (widgets, printing, D-Bus, translations) and its image and platform plugins
	qt6-base-dev
	qt6-base-dev-tools
	qt6-qpa-plugins
	# Qt's Wayland platform, for Wayland desktops without XWayland
	qt6-wayland
	libqt6svg6
	qt6-image-formats-plugins
	qt6-l10n-tools
	qt6-tools-dev
	qt6-tools-dev-tools
	# Development files that Qt's CMake package looks for (OpenGL, Vulkan, keyboard maps)
	libgl-dev
	libglx-dev
	libopengl-dev
	libvulkan-dev
	libxkbcommon-dev
	# The X connection the kit tries before Qt starts (xcb)
	libxcb1-dev
	# iCalendar files of holidays
	libical-dev
	# libjpeg-turbo, with which the kit decodes JPEG photos itself
	libjpeg62-turbo-dev
	# libwebp, with which the kit writes WebP files itself
	libwebp-dev
	# qpdf, with which the kit adds the print shop's page boxes (trim, bleed) to PDF files
	libqpdf-dev
	# Tests, and the formatter that CI checks the code with; zlib makes test pictures
	googletest
	zlib1g-dev
	clang-format
	# The sanitizer and fuzz build: clang, its sanitizer, libFuzzer and profile runtimes
	# (only recommended by clang, so named here), and llvm for the symbolizer that names
	# the functions in sanitizer reports and for the coverage tools (llvm-profdata, llvm-cov)
	clang
	libclang-rt-14-dev
	llvm
	libgtest-dev
	libgmock-dev
	# Fonts, file types, D-Bus at run time
	fonts-dejavu-core
	# Japanese, Chinese and Korean glyphs, for the localized program's menus
	fonts-noto-cjk
	fontconfig
	shared-mime-info
	dbus
	dbus-x11
	# dbus-run-session, which gives the tests a private session bus
	dbus-daemon
	# A display for tests and screenshots of the real window
	xvfb
	xauth
	xdotool
	x11-utils
	imagemagick
	# A window manager for the end-to-end steps that zoom and resize through one
	openbox
	# A Wayland compositor that runs headless, for the end-to-end steps on Wayland
	weston
	# Checking printed pages and written images
	poppler-utils
	libjpeg-turbo-progs
	# The benchmarks' window timer (Xlib)
	libx11-dev
	# Real photographs (dark, bright and busy) that the bench's readable-style case draws
	# over; used by nothing else
	mate-backgrounds
	# Scripts
	python3
	shellcheck
	file
	# Desktop integration and packaging: validators for the desktop entry, the metainfo and
	# the manual page, dpkg-shlibdeps for the Debian package, the icon renderer
	desktop-file-utils
	appstream
	groff-base
	dpkg-dev
	librsvg2-bin
)

export DEBIAN_FRONTEND=noninteractive

missing=()
for package in "${packages[@]}"; do
	status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
	if [[ $status != "install ok installed" ]]; then
		missing+=("$package")
	fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
	echo "install-deps.sh: all ${#packages[@]} packages are installed"
	exit 0
fi

# Runs an apt-get command as root, trying again after a pause if the mirror hiccups.
apt_get() {
	local attempt
	for attempt in 1 2 3; do
		if "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "$@" </dev/null; then
			return 0
		fi
		echo "install-deps.sh: apt-get $1 failed (attempt $attempt)" >&2
		sleep $((attempt * 5))
	done
	return 1
}

if [[ $(id -u) -eq 0 ]]; then
	as_root=()
elif command -v sudo >/dev/null 2>&1; then
	as_root=(sudo)
else
	echo "install-deps.sh: needs root or sudo to install packages" >&2
	exit 1
fi

echo "install-deps.sh: installing ${missing[*]}"
apt_get update
apt_get install -y --no-install-recommends "${missing[@]}"
echo "install-deps.sh: done"
