#!/usr/bin/env bash
# Builds the Debian package from the build folder, installs it with apt-get as a user would, runs the
# installed programs from /usr/bin, checks that every library they load comes from a package the
# package depends on (directly or through those packages), and removes it again.
# Needs root (or sudo without a password): skipped otherwise. Usage: install_check.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
        sudo_cmd=(sudo -n)
    else
        echo "SKIPPED: installing the package needs root or sudo without a password"
        exit 77
    fi
fi
apt=("${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -q)

work=$(mktemp -d)
installed=0
cleanup() {
    [ $installed -eq 1 ] && "${apt[@]}" remove zt5-configurator >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== cpack"
(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >cpack.log 2>&1) ||
    { cat "$work/cpack.log"; fail "cpack"; }
cd "$work"
deb=(./zt5-configurator_*.deb)
[ -f "${deb[0]}" ] || fail "no zt5-configurator_*.deb"
dpkg-deb -f "${deb[0]}" Package Version Depends

echo "== lintian"
# A local build's maintainer address is on localhost (bogus-mail-host, in the control file and the
# changelog); any other error fails.
lintian --tag-display-limit 0 "${deb[0]}" >lintian.log 2>&1 || true
cat lintian.log
if grep '^E: ' lintian.log | grep -qv 'bogus-mail-host'; then
    fail "lintian reports errors"
fi

echo "== apt-get install ${deb[0]}"
installed=1
"${apt[@]}" install --reinstall "${deb[0]}" >apt.log 2>&1 || { cat apt.log; fail "apt-get install"; }

echo "== files"
for file in /usr/bin/zt5ctl /usr/bin/zt5-meter-sim /usr/bin/zt5-configurator \
    /usr/share/man/man1/zt5ctl.1.gz /usr/share/man/man1/zt5-meter-sim.1.gz \
    /usr/share/bash-completion/completions/zt5ctl /usr/share/bash-completion/completions/zt5-meter-sim \
    /usr/share/applications/zt5-configurator.desktop /usr/share/metainfo/ru.zt5.configurator.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/zt5-configurator.svg /usr/lib/udev/rules.d/60-zt5-meter.rules \
    /usr/share/doc/zt5-configurator/README.Debian /usr/share/doc/zt5-configurator/copyright \
    /usr/share/doc/zt5-configurator/changelog.gz /usr/share/man/man1/zt5-configurator.1.gz \
    /usr/share/mime/packages/zt5-configurator.xml /usr/lib/systemd/system/zt5-collect.service \
    /usr/lib/systemd/system/zt5-collect.timer /usr/share/zt5-configurator/collect.conf \
    /usr/lib/systemd/system/zt5-watch.service /usr/share/zt5-configurator/watch.conf; do
    dpkg -S "$file" >/dev/null 2>&1 || fail "the package lacks $file"
done
for size in 16 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x${size}/apps/zt5-configurator.png
    [ "$(file -b "$icon" | grep -oE '[0-9]+ x [0-9]+')" = "$size x $size" ] || fail "$icon is not ${size}x${size}"
done
[ "$(man -w zt5ctl)" = /usr/share/man/man1/zt5ctl.1.gz ] || fail "man does not find zt5ctl(1)"
[ "$(man -w zt5-configurator)" = /usr/share/man/man1/zt5-configurator.1.gz ] || fail "man does not find zt5-configurator(1)"
grep -qx 'MimeType=application/x-zt5-settings;' /usr/share/applications/zt5-configurator.desktop ||
    fail "the desktop entry does not open .zt5 files"
zcat /usr/share/doc/zt5-configurator/changelog.gz | head -1 | grep -q "^zt5-configurator ($version)" ||
    fail "the changelog does not begin with version $version"

echo "== the programs from /usr/bin, in a fresh home"
home=$work/home
mkdir "$home"
run() { env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/loaded" "$@"; }
run /usr/bin/zt5ctl --demo info >info.txt || fail "zt5ctl --demo info"
cat info.txt
grep -q 'Заводской номер: 170001' info.txt || fail "zt5ctl --demo info printed no serial number"
[ "$(run /usr/bin/zt5-configurator --version)" = "zt5-configurator $version" ] || fail "zt5-configurator --version"
[ "$(run /usr/bin/zt5ctl --version)" = "zt5ctl $version" ] || fail "zt5ctl --version"
[ "$(run /usr/bin/zt5-meter-sim --version)" = "zt5-meter-sim $version" ] || fail "zt5-meter-sim --version"
# The archive database through the SQLite driver (a plugin loaded at run time), in the user's work folder.
run /usr/bin/zt5ctl --demo export-db >export.txt 2>&1 || { cat export.txt; fail "zt5ctl --demo export-db"; }
[ -s "$home/.local/share/zt5-configurator/db/Data.sqlite" ] || fail "no database in ~/.local/share/zt5-configurator"
# The desktop program starts on the offscreen platform and keeps running until stopped.
status=0
run timeout 8 /usr/bin/zt5-configurator --demo >gui.txt 2>&1 || status=$?
[ $status -eq 124 ] || { cat gui.txt; fail "zt5-configurator ended with $status before it was stopped"; }
for left in settings.ini Base db; do
    [ ! -e "/usr/bin/$left" ] || fail "the installed program wrote /usr/bin/$left"
done

echo "== the nightly collection: user, folders, a disabled timer, the service run once"
getent passwd zt5 >/dev/null || fail "postinst made no user zt5"
[ "$(stat -c %U /var/lib/zt5-configurator)" = zt5 ] || fail "/var/lib/zt5-configurator does not belong to zt5"
[ "$(stat -c %G:%a /etc/zt5-configurator/collect.conf)" = zt5:640 ] || fail "no /etc/zt5-configurator/collect.conf for zt5"
[ "$(systemctl is-enabled zt5-collect.timer 2>/dev/null || true)" = disabled ] || fail "the timer is not left disabled"
[ "$(stat -c %G:%a /etc/zt5-configurator/watch.conf)" = zt5:640 ] || fail "no /etc/zt5-configurator/watch.conf for zt5"
[ "$(systemctl is-enabled zt5-watch.service 2>/dev/null || true)" = disabled ] || fail "the watcher is not left disabled"
if command -v systemd-analyze >/dev/null; then
    systemd-analyze verify /usr/lib/systemd/system/zt5-collect.service /usr/lib/systemd/system/zt5-collect.timer \
        /usr/lib/systemd/system/zt5-watch.service ||
        fail "systemd-analyze verify"
fi
if [ -d /run/systemd/system ]; then
    systemctl start zt5-collect.service || { journalctl -u zt5-collect.service -n 30; fail "zt5-collect.service"; }
else
    # No systemd running here (a container): its command line as the service runs it, as user zt5 (split
    # into words as systemd splits it, the literal ${ZT5_DATABASE} replaced by the setting).
    exec_start=$(sed -n 's/^ExecStart=//p' /usr/lib/systemd/system/zt5-collect.service)
    database=$(sed -n 's/^ZT5_DATABASE=//p' /etc/zt5-configurator/collect.conf)
    # shellcheck disable=SC2086,SC2016
    (cd /var/lib/zt5-configurator && runuser -u zt5 -- ${exec_start//'${ZT5_DATABASE}'/$database}) >collect.txt 2>&1 ||
        { cat collect.txt; fail "the collection service's command"; }
    cat collect.txt
fi
[ -s /var/lib/zt5-configurator/db/Data.sqlite ] || fail "the collection made no database in /var/lib/zt5-configurator"

echo "== every library loaded comes from a dependency"
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks --no-replaces \
    --no-enhances zt5-configurator | grep -v '^ ' | tr -d '<>' | sort -u)
libraries=$(grep -h 'calling init: ' "$work"/loaded.* | sed 's/.*calling init: //' | sort -u)
[ "$(wc -l <<<"$libraries")" -gt 20 ] || fail "too few libraries seen loading"
grep -q 'libqsqlite.so' <<<"$libraries" || fail "the SQLite driver was not loaded"
grep -q 'libqoffscreen.so' <<<"$libraries" || fail "the offscreen platform was not loaded"
# dpkg knows a library by the path its package ships, with or without the /usr of a merged /usr: ask
# for every spelling at once (one slow dpkg -S instead of hundreds).
spellings() { local path; for path in "$1" "$(realpath "$1")"; do echo "$path" "${path#/usr}" "/usr$path"; done; }
declare -A owners
while read -r package path; do
    owners[$path]=$package
done < <(while read -r library; do spellings "$library"; done <<<"$libraries" | tr ' ' '\n' | sort -u |
         xargs dpkg -S 2>/dev/null | sed -E 's@^([^:, ]+)[^/]*: /@\1 /@')
missing=0
while read -r library; do
    package=
    for spelling in $(spellings "$library"); do
        [ -n "${owners[$spelling]:-}" ] && { package=${owners[$spelling]}; break; }
    done
    [ -n "$package" ] || { echo "no package owns $library" >&2; missing=1; continue; }
    [ "$package" = zt5-configurator ] && continue
    grep -qx "$package" <<<"$closure" || { echo "$library ($package) is not a dependency" >&2; missing=1; }
done <<<"$libraries"
[ $missing -eq 0 ] || fail "the package lacks dependencies"

echo "== apt-get remove"
"${apt[@]}" remove zt5-configurator >remove.log 2>&1 || { cat remove.log; fail "apt-get remove"; }
installed=0
[ ! -e /usr/bin/zt5ctl ] || fail "/usr/bin/zt5ctl is still there"
echo "package installed, run and removed"
