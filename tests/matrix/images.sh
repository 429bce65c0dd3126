#!/usr/bin/env bash
# The sign-off of what ships: the example CD mastered into ISO 9660 images by xorriso, read as
# Windows reads a disc, and the diff of two releases.
#   images.sh TVXSIM
# shellcheck source=lib.sh
source "$(dirname "$0")/lib.sh"
command -v xorriso >/dev/null || fail "xorriso is not installed (scripts/install-deps.sh tests)"
master() { xorriso -as mkisofs -quiet -V TVX_CD "$@" 2>"$work/xorriso.err" || fail "xorriso: $(cat "$work/xorriso.err")"; }
# The matrix of an image: its exit code, its text in $work/NAME.txt.
#   matrix NAME STATUS IMAGE [OPTIONS...]
matrix() {
  local name=$1 want=$2 status=0
  shift 2
  "$tvxsim" matrix "$@" --machines "$work/machines-$name" >"$work/$name.txt" 2>"$work/$name.err" || status=$?
  [ "$status" = "$want" ] || fail "$name: the matrix ended with $status, not $want: $(cat "$work/$name.err")"
}
closing() { tail -n 1 "$work/$1.txt"; }

# With Joliet: the example CD's image signs off exactly as its folder does.
master -J -o "$work/joliet.iso" examples/cd
matrix joliet 0 "$work/joliet.iso"
head -n 1 "$work/joliet.txt" | grep -q '(CD, a disc image: volume "TVX_CD", Joliet names)$' || fail "joliet: $(head -n 1 "$work/joliet.txt")"
diff <(tail -n +2 "$here/cd.txt") <(tail -n +2 "$work/joliet.txt") || fail "the Joliet image does not sign off as its folder"
matrix joliet-folder 0 "$work/joliet.iso" --folder examples/cd
grep -q '^  the same names and contents$' "$work/joliet-folder.txt" || fail "joliet --folder: $(cat "$work/joliet-folder.txt")"
echo "ok: the Joliet image signs off as its folder"

# Without Joliet (strict level 1, and Rock Ridge alone, which Windows ignores): the hyphenated
# folders are W95_98 and W2K_ME to Windows, every path fails, and says that the mastering did it.
master -iso-level 1 -o "$work/level1.iso" examples/cd
master -R -o "$work/rockridge.iso" examples/cd
for name in level1 rockridge; do
  matrix "$name" 1 "$work/$name.iso"
  head -n 1 "$work/$name.txt" | grep -q 'no Joliet names)$' || fail "$name: $(head -n 1 "$work/$name.txt")"
  closing "$name" | grep -qF 'W95-98\drv\95\TVAUDIO.INF is not on the disc as Windows reads it: the image has no Joliet names, and its primary names are W95_98\DRV\95\TVAUDIO.INF' ||
    fail "$name: the mastering fault is not named: $(closing "$name")"
  if grep -q '^Windows NT 4.0 .* FAILS' "$work/$name.txt"; then fail "$name: NT40 has no hyphen, yet its rows fail"; fi
done
matrix level1-folder 1 "$work/level1.iso" --folder examples/cd
grep -qF '  W2K-ME\drv\tvaudio.sys is not on the disc as Windows reads it: the image has no Joliet names, and its primary names are W2K_ME\DRV\TVAUDIO.SYS' \
  "$work/level1-folder.txt" || fail "level1 --folder: $(cat "$work/level1-folder.txt")"
echo "ok: the images without Joliet fail, naming the mastering"

# One file's content changed against the folder the image is said to be made from.
cp -r examples/cd "$work/changed"
printf 'another driver\r\n' >"$work/changed/W2K-ME/drv/tvprop.dll"
master -J -o "$work/changed.iso" "$work/changed"
matrix changed 1 "$work/changed.iso" --folder examples/cd
grep -qF '  W2K-ME\drv\tvprop.dll: its content differs (19 bytes in the folder, 16 on the disc)' "$work/changed.txt" ||
  fail "changed: $(sed -n '/against the folder/,$p' "$work/changed.txt")"
[ "$(sed -n '/against the folder/,/^$/p' "$work/changed.txt" | grep -c '^  ')" = 1 ] || fail "changed: more than the one file listed"
closing changed | grep -q '^NOT signed off: the image differs from the folder .* in 1 file: ' || fail "changed: $(closing changed)"
echo "ok: a file changed against the folder is listed, and fails the image"

# A machine whose CD drive is the image.
cp -r tests/scenarios/winme-cd-driver-wdm/machine "$work/machine"
sed -i "s#^D=.*#D=$work/joliet.iso#; s#^C=.*#C=$source_dir/examples/win9x-c#" "$work/machine/machine.ini"
"$tvxsim" run "$work/machine" >"$work/run.txt" || fail "the run from the image: $(tail -n 3 "$work/run.txt")"
diff <(grep -v '^Machine ' "$work/run.txt") <(grep -v '^Machine ' tests/scenarios/winme-cd-driver-wdm/expected.txt) ||
  fail "the run from the image differs from the run from the folder"
echo "ok: [Drives] D=disc.iso"

# Bad input: a clear error and exit 2.
printf 'no image at all\n' >"$work/text.iso"
head -c 100000 "$work/joliet.iso" >"$work/cut.iso"
mkdir -p "$work/nosetup" && printf 'x' >"$work/nosetup/README.TXT"
master -J -o "$work/nosetup.iso" "$work/nosetup"
python3 - "$work/joliet.iso" "$work/outside.iso" <<'PY'
# Every volume's root: its first file's record pointed past the end of the image.
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
n = 16
while data[n * 2048 + 1:n * 2048 + 6] == b"CD001" and data[n * 2048] != 255:
    d = n * 2048
    if data[d] in (1, 2):
        lba, size = struct.unpack_from("<I", data, d + 158)[0], struct.unpack_from("<I", data, d + 166)[0]
        at, end = lba * 2048, lba * 2048 + size
        while at < end and data[at]:
            if not data[at + 25] & 2 and data[at + 32] > 1:
                struct.pack_into("<I", data, at + 2, 0x00FFFFF0)
                struct.pack_into(">I", data, at + 6, 0x00FFFFF0)
                break
            at += data[at]
    n += 1
open(sys.argv[2], "wb").write(data)
PY
for bad in "text.iso:no ISO 9660 image" "cut.iso:the image is damaged" "nosetup.iso:no SETUP.EXE at the root of the disc" \
  "outside.iso:the image is damaged: Invalid location of extent"; do
  name=${bad%%:*}
  matrix "bad-$name" 2 "$work/$name"
  grep -qF "${bad#*:}" "$work/bad-$name.err" || fail "$name: $(cat "$work/bad-$name.err")"
done
echo "ok: bad images give a clear error and exit 2"

# What changed since the last release: a copy of the example CD with a new WDM driver, a read-me
# added to the Windows 95 package and the NT 4.0 suite's installer missing, against the example CD.
cp -r examples/cd "$work/new"
printf 'a newer driver, longer\r\n' >"$work/new/W2K-ME/drv/tvaudio.sys"
printf 'read me\r\n' >"$work/new/W95-98/drv/95/README.TXT"
rm "$work/new/NT40/app/Setup.exe"
matrix against 1 "$work/new" --against "$work/joliet.iso" --html "$work/against-html"
"$tvxsim" matrix "$work/new" --against examples/cd --json --machines "$work/machines-json" >"$work/against.json" || true
python3 - "$work/against.json" <<'PY' || fail "--against: the rows that differ"
import json, sys
d = json.load(open(sys.argv[1]))
rows = {(r["os"], r["path"]): r for r in d["rows"]}
differ = sorted(k for k, r in rows.items() if not r["same"])
wdm = {(v, p) for v in ("win98", "win98se", "winme") for p in ("main dialog: applications and driver", "main dialog: driver only", "/DRIVER")}
vxd95 = {("win95", p) for p in ("main dialog: applications and driver", "main dialog: driver only", "/DRIVER")}
nt = {("nt40", p) for p in ("main dialog: applications and driver", "main dialog: applications only", "main dialog: driver only", "main dialog: Cancel", "/AP")}
assert set(differ) == wdm | vxd95 | nt, differ
assert d["same"] == len(rows) - len(differ) and d["signedOff"] is False, d["same"]
me = rows[("winme", "/DRIVER")]["differences"]
assert me == ["placed with other content: C:\\WINDOWS\\OPTIONS\\CABS\\tvaudio.sys (24 bytes, was 15); "
              "C:\\Program Files\\Tarvic\\W2K-ME\\tvaudio.sys (24 bytes, was 15)"], me
w95 = rows[("win95", "/DRIVER")]["differences"]
assert any(l.startswith("files: + added ") and "W95-98\\README.TXT" in l for l in w95), w95
ap = rows[("nt40", "/AP")]["differences"]
assert ap[1] == "sign-off: ok -> FAILS: NT40\\app\\Setup.exe is missing from the CD", ap
PY
grep -q '^19 of 36 rows the same (on ' "$work/against.txt" || fail "--against: $(tail -n 3 "$work/against.txt")"
{ [ -f "$work/against-html/new/winme-5.html" ] && [ -f "$work/against-html/old/winme-5.html" ]; } ||
  fail "--against --html: the run pages"
grep -q 'href="new/winme-5.html"' "$work/against-html/index.html" || fail "--against --html: no link to the new run"
first=$(grep -o '<tr class="row[^"]*"' "$work/against-html/index.html" | head -n 1)
[ "$first" = '<tr class="row differs"' ] || fail "--against --html: the differing rows do not come first"
echo "ok: --against names what changed since the last release"
