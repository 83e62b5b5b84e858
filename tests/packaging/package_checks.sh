#!/bin/sh
# The checks of the installed files and of the Debian package, one ctest test each:
#   package_checks.sh CHECK ARGUMENT...
# Scratch folders are given by the caller, under the build tree.
set -eu

# Every file the install puts under PREFIX, for the application id ID.
expected_files() {
    prefix=$1 id=$2
    cat <<LIST
$prefix/bin/corvex
$prefix/lib/corvex-corvin/corvex_rigctld.so
$prefix/share/applications/$id.desktop
$prefix/share/metainfo/$id.metainfo.xml
$prefix/share/icons/hicolor/scalable/apps/$id.svg
$prefix/lib/udev/rules.d/60-corvex-ftdi.rules
$prefix/share/man/man1/corvex.1.gz
$prefix/share/doc/corvex/README.md
$prefix/share/doc/corvex/copyright
$prefix/share/doc/corvex/changelog.gz
LIST
    for size in 16 22 24 32 48 64 128 256; do
        echo "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png"
    done
}

# Fails naming each expected file missing from the listing on standard input.
holds_every_file() {
    expected_files "$1" "$2" | sort > "$3/expected"
    sed 's|^\./|/|' | sort > "$3/listed"
    missing=$(comm -23 "$3/expected" "$3/listed")
    [ -z "$missing" ] || { echo "missing:"; echo "$missing"; exit 1; }
}

fresh() {
    rm -rf "$1" && mkdir -p "$1"
}

the_deb() {
    set -- "$1"/*.deb
    [ $# -eq 1 ] && [ -f "$1" ] || { echo "not one package in the folder: $*" >&2; exit 1; }
    echo "$1"
}

check=$1
shift
case $check in
install-tree) # BUILD SCRATCH: what make install installs, into a scratch root.
    fresh "$2"
    DESTDIR=$2 cmake --install "$1" --strip > "$2.log"
    ;;
installed-files) # ROOT PREFIX ID SCRATCH
    fresh "$4"
    (cd "$1" && find . ! -type d) | holds_every_file "$2" "$3" "$4"
    ;;
desktop-file-validate) # ENTRY: no error, and no warning or hint either.
    output=$(desktop-file-validate "$1" 2>&1) || { echo "$output"; exit 1; }
    [ -z "$output" ] || { echo "$output"; exit 1; }
    ;;
appstreamcli-validate) # METAINFO: errors and warnings fail it, without looking anything up online.
    appstreamcli validate --no-net --explain "$1"
    ;;
manual-page-options) # CORVEX PAGE: every option of --help is in the page, which groff reads cleanly.
    warnings=$(man -E ascii --warnings -l "$2" 2>&1 > /dev/null)
    [ -z "$warnings" ] || { echo "$warnings"; exit 1; }
    text=$(MANWIDTH=200 man -E ascii -l "$2")
    options=$("$1" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
    [ -n "$options" ] || { echo "no options in --help"; exit 1; }
    status=0
    for option in $options; do
        echo "$text" | grep -qE -- "$option([^a-z-]|\$)" || { echo "not in the manual page: $option"; status=1; }
    done
    exit $status
    ;;
build-package) # BUILD SCRATCH: the .deb, once, unpacked into SCRATCH/root and SCRATCH/control.
    fresh "$2"
    cpack --config "$1/CPackConfig.cmake" -B "$2" > "$2/cpack.log"
    deb=$(the_deb "$2")
    dpkg -x "$deb" "$2/root"
    dpkg-deb -e "$deb" "$2/control"
    ;;
lintian) # PACKAGES: no error and no warning; the infos are printed.
    lintian --fail-on error,warning --display-info "$(the_deb "$1")"
    ;;
package-files) # PACKAGES ID SCRATCH: the package's file list.
    fresh "$3"
    dpkg-deb --fsys-tarfile "$(the_deb "$1")" | tar -t | grep -v '/$' | holds_every_file /usr "$2" "$3"
    ;;
package-depends) # PACKAGES: each library the binary links is a dependency of the package.
    deb=$(the_deb "$1")
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Depends: $depends"
    multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
    libraries=$(objdump -p "$1/root/usr/bin/corvex" "$1/root/usr/lib/corvex-corvin/corvex_rigctld.so" |
        awk '$1 == "NEEDED" { print $2 }' | sort -u)
    [ -n "$libraries" ] || { echo "no libraries found"; exit 1; }
    # One look-up for all of them: each scans dpkg's whole file list.
    owners=$(for library in $libraries; do echo "*/$multiarch/$library"; done | xargs dpkg -S)
    status=0
    for library in $libraries; do
        package=$(echo "$owners" | grep -m 1 "/$library\$" | cut -d: -f1)
        case ", $depends," in
        *", $package "* | *", $package,"*) ;;
        *) echo "$library comes from '$package', which is no dependency"; status=1 ;;
        esac
    done
    exit $status
    ;;
package-runs) # PACKAGES VERSION: the unpacked binary answers --version.
    output=$("$1/root/usr/bin/corvex" --version)
    [ "$output" = "Corvex-Corvin $2" ] || { echo "--version said: $output"; exit 1; }
    ;;
package-serves) # PACKAGES SCRATCH: the unpacked program finds its network module and answers rigctl.
    fresh "$2"
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$2" "$1/root/usr/bin/corvex" --rigctld-listen "127.0.0.1:$port" \
        > "$2/corvex.log" 2>&1 &
    program=$!
    trap 'kill $program 2>/dev/null || true' EXIT
    tries=0
    until answer=$(rigctl -m 2 -r "127.0.0.1:$port" f 2>/dev/null) && [ -n "$answer" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || { echo "no answer on port $port"; cat "$2/corvex.log"; exit 1; }
        sleep 0.1
    done
    [ "$answer" = 14200000 ] || { echo "f answered: $answer"; exit 1; }
    ;;
maintainer-scripts) # PACKAGES SCRATCH: they never fail, and call udevadm only where udev runs.
    control=$1/control scratch=$2
    fresh "$scratch/bin"
    printf '#!/bin/sh\necho "$*" >> "%s/udevadm.log"\nexit 1\n' "$scratch" > "$scratch/bin/udevadm"
    chmod +x "$scratch/bin/udevadm"
    for run in "postinst configure" "postrm remove"; do
        script=${run% *} argument=${run#* }
        : > "$scratch/udevadm.log"
        PATH="$scratch/bin:$PATH" sh "$control/$script" "$argument" || { echo "$run failed"; exit 1; }
        if [ -d /run/udev ]; then
            grep -q -- "control --reload-rules" "$scratch/udevadm.log" || { echo "$run did not reload"; exit 1; }
        else
            [ ! -s "$scratch/udevadm.log" ] || { echo "$run called udevadm without udev"; exit 1; }
        fi
    done
    ;;
versions-agree) # VERSION CHANGELOG METAINFO: the release notes name the project's version first.
    changelog=$(dpkg-parsechangelog -l "$2" -S Version)
    metainfo=$(grep -o -m 1 '<release version="[^"]*"' "$3" | cut -d'"' -f2)
    [ "$changelog" = "$1" ] && [ "$metainfo" = "$1" ] ||
        { echo "version $1, changelog $changelog, metainfo $metainfo"; exit 1; }
    ;;
*)
    echo "unknown check: $check" >&2
    exit 2
    ;;
esac
