#!/usr/bin/env bash
# Installs the built program under a fresh prefix and checks it as a desktop would: the
# program finds its data under share/, the entry validates, the model type is recognised,
# and the Debian package lists the libraries it needs.
set -euo pipefail
build=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
share=$tmp/usr/share
for f in bin/kxdesigner share/korvex-designer/ENGLISH.lng share/korvex-designer/def/40001.def \
    share/korvex-designer/icon/40001.bmp share/applications/korvex-designer.desktop \
    share/mime/packages/korvex-designer.xml share/icons/hicolor/48x48/apps/korvex-designer.png \
    share/icons/hicolor/256x256/apps/korvex-designer.png; do
  [ -e "$tmp/usr/$f" ] || fail "not installed: $f"
done
ls "$share"/korvex-designer/samples/*.kxm >/dev/null || fail "no sample models installed"
[ -z "$(find "$tmp/usr/bin" -name 'test_*')" ] || fail "test programs installed"

# The command line answers without a display.
export KORVEX_CONFIG_DIR=$tmp/config KORVEX_SYSTEM_CONFIG_DIR=$tmp/sysconfig
version=$(env -u DISPLAY "$tmp/usr/bin/kxdesigner" --version)
grep -q '^Korvex designer [0-9]' <<<"$version" || fail "--version printed: $version"
env -u DISPLAY "$tmp/usr/bin/kxdesigner" --help | grep -q SUPERMODUS || fail "--help"
# The batch command finds the kit under share/ too: it writes a parts list of a sample.
csv_sample=$(ls "$share"/korvex-designer/samples/*.kxm | head -n 1)
env -u DISPLAY "$tmp/usr/bin/kxbatch" partslist "$csv_sample" "$tmp/parts.csv" ||
  fail "installed kxbatch could not write a parts list"
[ "$(wc -l <"$tmp/parts.csv")" -gt 1 ] || fail "the installed kxbatch found no parts"
"$tmp/usr/bin/kxserver" --help >/dev/null || fail "kxserver --help"
status=0
QT_QPA_PLATFORM=offscreen "$tmp/usr/bin/kxdesigner" --no-such-option 2>"$tmp/err" || status=$?
[ "$status" = 2 ] || fail "unknown option gave status $status"
grep -q -- '--no-such-option' "$tmp/err" || fail "unknown option not named"

# The installed program starts and keeps running with the kit from share/.
if [ -n "${DISPLAY:-}" ]; then
  status=0
  timeout 15 "$tmp/usr/bin/kxdesigner" >"$tmp/run.log" 2>&1 || status=$?
  [ "$status" = 124 ] || { cat "$tmp/run.log"; fail "installed program ended with $status"; }
fi

# The desktop entry and the model file type.
desktop-file-validate "$share/applications/korvex-designer.desktop"
update-mime-database "$share/mime"
sample=$(ls "$share"/korvex-designer/samples/*.kxm | head -n 1)
cp "$sample" "$tmp/Upper Case.KXM"
cp "$sample" "$tmp/no-extension"
for f in "$sample" "$tmp/Upper Case.KXM"; do
  type=$(XDG_DATA_DIRS="$share" gio info -a standard::content-type "$f" | sed -n 's/.*content-type: //p')
  [ "$type" = application/x-korvex-model ] || fail "$f has the type '$type'"
done
# Without a name to go by, the file's first section header tells.
type=$(XDG_DATA_DIRS="$share" gio info -a standard::content-type "$tmp/no-extension" |
  sed -n 's/.*content-type: //p')
[ "$type" = application/x-korvex-model ] || fail "content sniffing gave '$type'"
# Part packages share "*.part" with partial downloads: the package's first bytes decide.
printf '2 TALVERO PART  000000000000000000000000AB123' >"$tmp/Teil.part"
head -c 200 /dev/urandom >"$tmp/download.part"
for f in Teil.part download.part; do
  want=application/x-korvex-part
  [ "$f" = download.part ] && want=application/x-partial-download
  type=$(XDG_DATA_DIRS="$share:/usr/share" gio info -a standard::content-type "$tmp/$f" |
    sed -n 's/.*content-type: //p')
  [ "$type" = "$want" ] || fail "$f has the type '$type', not $want"
done

# The Debian package: computed dependencies, the program and its data in it.
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >/dev/null)
deb=$(ls "$tmp"/pkg/*.deb)
info=$(dpkg-deb -I "$deb")
grep -q '^ Depends:.*libqt6widgets6' <<<"$info" || { echo "$info"; fail "Depends not computed"; }
grep -q '^ Depends:.*libc6' <<<"$info" || fail "Depends lacks libc6"
contents=$(dpkg-deb -c "$deb")
grep -q '\./usr/bin/kxdesigner$' <<<"$contents" || fail "package without the program"
grep -q '\./usr/share/korvex-designer/def/40001.def$' <<<"$contents" || fail "package without the kit"
echo "install: ok ($src)"
