#!/usr/bin/env bash
# Renders the pictures in docs/images/ (PNG): the real Varnoke.exe under Wine on a private
# Xvfb, in a prefix of its own with the fonts of a Japanese Windows, each window opened the
# way a user opens it. Regenerate them whenever a window changes, and look at each one.
#
#   bash scripts/pictures.sh            every picture
#   bash scripts/pictures.sh NAME...    only these (e.g. about tray_menu)
#
# One function per picture: picture_NAME writes docs/images/NAME.png, and PICTURES lists
# the names in order. Each runs with the program freshly started on the sample history and
# settings (start_program), and everything is closed after it. The steps come from
# build/win/ui_step.exe (tools/win/ui_step.cpp lists them); the shots from the helpers below:
#   shoot_window NAME CAPTION        the window with that caption, exactly
#   shoot_changes NAME BEFORE RECT   what changed on screen since the screenshot BEFORE,
#                                    together with RECT (a window or the tray icon)
#   shoot_window_with_tip NAME CAPTION CONTROL
#                                    the window while the tip of that control shows
# A dialog opened by its tray-menu command: picture_hotkeys below.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"

bash "$ROOT/scripts/setup.sh"
source "$ROOT/scripts/wine_env.sh"
echo "pictures: the $WIN_ARCH_NOTE"
bash "$ROOT/scripts/build.sh" "$WIN_BUILD" >/dev/null
# A prefix of its own, so the pictures never depend on what the tests left behind.
WORK="$ROOT/build/pictures"
export WINEPREFIX="$WORK/wineprefix$PREFIX_SUFFIX"
APP="$WORK/app"
SHOTS="$WORK/shots"
OUT="$ROOT/docs/images"
SCREEN_W=1024
SCREEN_H=768
TASKBAR_TOP=747

PICTURES=(
  tray_tooltip
  tray_menu
  history_menu
  short_text_menu
  entry_editor
  editor_settings
  history_editor
  options
  load_question
  hotkeys
  about
  short_text_menu_utf8
  history_search
)

# ---- Driving the program -------------------------------------------------------------

# (The C runtime under Wine ends printed lines with CR LF.)
step() { wine "$BUILD_WIN/ui_step.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# The sample history: newest first, as the data file keeps it with the default settings.
write_sample_history() {
  python3 - "$1" <<'PY'
import struct, sys
entries = [
    "お世話になっております。営業部の山田です。",
    "https://www.example.co.jp/support/faq.html",
    "〒100-0005 東京都千代田区丸の内1-9-1",
    "会議は 15:00 から第2会議室で行います。",
    "yamada.taro@example.co.jp",
    "Merci beaucoup ! 감사합니다 / 谢谢 (Café)",
    "見積書（第3版）を添付いたします。",
    'git commit -m "ヘルプを更新"',
    "03-1234-5678",
    "本日はありがとうございました。",
    "請求書番号: INV-2024-0815",
    "明日の打ち合わせは延期になりました。",
    "吾輩は猫である。名前はまだ無い。",
    "SELECT * FROM 顧客 WHERE 地域 = '関東';",
    "議事録（定例会） 前回の確認事項と来期の予算について",
]
data = b"Varnoke Clipboard History Data File\r\n"
# A text that code page 932 cannot hold keeps its exact text in the file beside.
exact = b"Varnoke Exact Text Data File\r\n"
for position, text in enumerate(entries):
    raw = text.encode("cp932", errors="replace")
    data += b"\x13\x14" + struct.pack("<I", len(raw)) + raw + b"\x05\x04\r\n"
    if raw.decode("cp932") != text:
        fnv = 0xCBF29CE484222325
        for byte in raw:
            fnv = ((fnv ^ byte) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
        units = text.encode("utf-16-le")
        exact += b"\x13\x14" + struct.pack("<IIQI", position, len(raw), fnv, len(units) // 2)
        exact += units + b"\x05\x04\r\n"
open(sys.argv[1], "wb").write(data)
open(sys.argv[1] + ".exact", "wb").write(exact)
PY
}

# Starts the program from $APP with the sample history and the settings of the pictures
# (two columns in the history menu, no capture animation), and waits until it idles.
start_program() {
  import_registry <<'REG'
[-HKEY_CURRENT_USER\Software\Tolm\Varnoke]
[HKEY_CURRENT_USER\Software\Tolm\Varnoke]
"HistoryMenuBreak"=dword:00000007
"HistoryAnimation"=dword:00000000
REG
  write_sample_history "$APP/Varnoke.vnk"
  step clip "会議資料は共有フォルダーの「企画/2024年度」にあります。"
  wine "$APP/Varnoke.exe" >/dev/null 2>&1 </dev/null &
  step main 30000 || { echo "pictures: Varnoke did not start" >&2; return 1; }
}

stop_program() {
  step quit 10000 || true
  step close "~$NOTE_CAPTION" || true
}

# A notepad holding a short memo, the window the hot-key menus paste into.
NOTE_CAPTION="memo.txt"
open_notepad() {
  printf '%s\r\n' "来週の打ち合わせについて" "" "各位" "" | iconv -f UTF-8 -t CP932 >"$APP/memo.txt"
  wine notepad "$(winepath -w "$APP/memo.txt")" >/dev/null 2>&1 </dev/null &
  step wait "~$NOTE_CAPTION" 20000 >/dev/null
  step focus "~$NOTE_CAPTION"
}

# ---- Screenshots -----------------------------------------------------------------------

screen() { import -display "$DISPLAY" -window root "$SHOTS/$1.png"; }

# The bounding box (WxH+X+Y) of the pixels that differ between two screenshots, above
# the taskbar unless "with-taskbar" is given; empty when nothing differs.
changed_box() {
  local height=$TASKBAR_TOP box
  [ "${3:-}" = with-taskbar ] && height=$SCREEN_H
  box="$(convert "$SHOTS/$1.png" "$SHOTS/$2.png" -compose difference -composite \
           -colorspace gray -threshold 0 -crop "${SCREEN_W}x${height}+0+0" +repage \
           -format '%@' info: 2>/dev/null || true)"
  case "$box" in ''|0x*|*x0+*) echo "" ;; *) echo "$box" ;; esac
}

# Waits until the screen differs from the screenshot BEFORE, then for it to settle.
wait_for_change() {
  local i
  for i in $(seq 1 40); do
    screen now
    if [ -n "$(changed_box "$1" now "${2:-}")" ]; then
      sleep 0.7
      return 0
    fi
    sleep 0.25
  done
  echo "pictures: nothing appeared on screen" >&2
  return 1
}

# Rect arithmetic on WxH+X+Y geometries.
rect_parts() { [[ "$1" =~ ^([0-9]+)x([0-9]+)\+(-?[0-9]+)\+(-?[0-9]+)$ ]] && echo "${BASH_REMATCH[*]:1}"; }
rect_union() {
  local aw ah ax ay bw bh bx by
  read -r aw ah ax ay <<<"$(rect_parts "$1")"
  read -r bw bh bx by <<<"$(rect_parts "$2")"
  local l=$((ax < bx ? ax : bx)) t=$((ay < by ? ay : by))
  local r=$((ax + aw > bx + bw ? ax + aw : bx + bw)) b=$((ay + ah > by + bh ? ay + ah : by + bh))
  echo "$((r - l))x$((b - t))+$l+$t"
}
rect_pad() {
  local w h x y
  read -r w h x y <<<"$(rect_parts "$1")"
  local l=$((x - $2)) t=$((y - $2)) r=$((x + w + $2)) b=$((y + h + $2))
  ((l < 0)) && l=0
  ((t < 0)) && t=0
  ((r > SCREEN_W)) && r=$SCREEN_W
  ((b > SCREEN_H)) && b=$SCREEN_H
  echo "$((r - l))x$((b - t))+$l+$t"
}

# (Without time stamps, a picture whose pixels did not change stays the same file.)
save_crop() {
  convert "$SHOTS/$2.png" -crop "$3" +repage -strip -define png:exclude-chunk=date,time \
    "$OUT/$1.png"
  echo "docs/images/$1.png ($3)"
}

shoot_window() {
  local rect
  rect="$(step wait "$2")" || { echo "pictures: no window \"$2\"" >&2; return 1; }
  step focus "$2" || echo "pictures: could not activate \"$2\"" >&2
  sleep 0.7
  screen "$1"
  save_crop "$1" "$1" "$(step rect "$2")"
}

# The window with a control's tip showing: the pointer rests on the control, and the tip,
# which may reach past the window's edge, is taken in as well.
shoot_window_with_tip() {
  local rect box
  rect="$(step wait "$2")" || { echo "pictures: no window \"$2\"" >&2; return 1; }
  step focus "$2" || echo "pictures: could not activate \"$2\"" >&2
  sleep 0.7
  screen "$1-before"
  step hover "$2" "$3"
  wait_for_change "$1-before"
  screen "$1"
  box="$(changed_box "$1-before" "$1")"
  save_crop "$1" "$1" "$(rect_union "$(step rect "$2")" "${box:-$rect}")"
}

shoot_changes() {
  local box
  screen "$1"
  box="$(changed_box "$2" "$1" "${4:-}")"
  [ -n "$box" ] || { echo "pictures: $1 shows no change" >&2; return 1; }
  save_crop "$1" "$1" "$(rect_pad "$(rect_union "$box" "$3")" 8)"
}

# ---- The pictures ------------------------------------------------------------------------

# The tray icon with its tooltip, which previews the text on the clipboard.
picture_tray_tooltip() {
  local icon x y
  icon="$(step trayicon)"
  read -r w h x y <<<"$(rect_parts "$icon")"
  screen before
  step cursor $((x + w / 2)) $((y + h / 2))
  wait_for_change before with-taskbar
  shoot_changes tray_tooltip before "$icon" with-taskbar
}

# The tray menu, as a right click on the icon opens it.
picture_tray_menu() {
  local icon x y
  icon="$(step trayicon)"
  read -r w h x y <<<"$(rect_parts "$icon")"
  step cursor $((x + w / 2)) $((y - 1))
  screen before
  step tray right
  wait_for_change before with-taskbar
  shoot_changes tray_menu before "$icon" with-taskbar
}

# The history menu over the notepad, as Ctrl+Shift+C opens it: numbered entries in two
# columns.
picture_history_menu() {
  open_notepad
  step cursor 200 180
  screen before
  step keys ctrl+shift+c
  wait_for_change before
  shoot_changes history_menu before "$(step rect "~$NOTE_CAPTION")"
}

# Short-text menu 1 (the default Symbol.txt) over the notepad, with its date submenu open.
picture_short_text_menu() {
  open_notepad
  step cursor 200 180
  screen before
  step keys ctrl+shift+v
  wait_for_change before
  step keys d
  sleep 0.7
  shoot_changes short_text_menu before "$(step rect "~$NOTE_CAPTION")"
}

# Short-text menu 1 from a phrase file saved as UTF-8, with a submenu open: phrases and
# labels in Korean, simplified Chinese and accented letters. The program reads the file
# again when it changes; the shipped Symbol.txt comes back afterwards.
picture_short_text_menu_utf8() {
  python3 - "$APP/Symbol.txt" <<'PY'
import sys
lines = [
    "[<Café au lait>]Café au lait（カフェオレ）",
    "[<감사합니다>]감사합니다（韓国語）",
    "[<谢谢>]谢谢（中国語）",
    "[=Separator=]",
    "[[あいさつ(&A)",
    "[<Bonjour, ça va ?>]Bonjour, ça va ?",
    "[<안녕하세요>]안녕하세요",
    "[<你好>]你好",
    "]]",
]
open(sys.argv[1], "wb").write(b"\xef\xbb\xbf" + "\r\n".join(lines).encode("utf-8") + b"\r\n")
PY
  open_notepad
  step cursor 200 180
  screen before
  step keys ctrl+shift+v
  wait_for_change before
  step keys a
  sleep 0.7
  shoot_changes short_text_menu_utf8 before "$(step rect "~$NOTE_CAPTION")"
  cp "$BUILD_WIN/Symbol.txt" "$APP/Symbol.txt"
}

# The entry editor on the oldest entry: Space on the highlighted entry of the history menu.
open_entry_editor() {
  open_notepad
  step cursor 300 200
  step keys ctrl+shift+c
  sleep 1
  step keys down space
  step wait "履歴データ編集 - Varnoke" >/dev/null
}
# The entry, edited into a note of several lines (the history menu would show its line
# breaks as they are, so the sample history holds single lines).
picture_entry_editor() {
  open_entry_editor
  step settext "履歴データ編集 - Varnoke" 1068 \
    $'議事録（定例会）\r\n1. 前回の確認事項\r\n2. 来期の予算について\r\n3. その他\r\n\r\n次回は来週の金曜日です。'
  shoot_window entry_editor "履歴データ編集 - Varnoke"
}

picture_editor_settings() {
  open_entry_editor
  step click "履歴データ編集 - Varnoke" 1089
  shoot_window editor_settings "設定 - Varnoke"
}

# The history editor, as its tray-menu command opens it.
picture_history_editor() {
  step command 32777
  shoot_window history_editor "クリップボード履歴編集 - Varnoke"
}

# The options dialog with the tip of "履歴に記録しないプログラム" showing.
picture_options() {
  step command 32772
  shoot_window_with_tip options "オプション設定 - Varnoke" 1127
}

# The question about an existing history data file, from the options dialog's OK with the
# path of another history file.
picture_load_question() {
  cp "$APP/Varnoke.vnk" "$APP/Archive.vnk"
  step command 32772
  step settext "オプション設定 - Varnoke" 1037 "Archive.vnk"
  step click "オプション設定 - Varnoke" 1
  shoot_window load_question "確認 - Varnoke"
}

# The search window over the notepad, as Ctrl+Shift+X opens it, with two words typed: they
# find the entries that hold both, each word highlighted where it is.
picture_history_search() {
  open_notepad
  step keys ctrl+shift+x
  step wait "履歴の検索 - Varnoke"
  step settext "履歴の検索 - Varnoke" 1131 "example jp"
  sleep 0.5
  shoot_window history_search "履歴の検索 - Varnoke"
}

picture_hotkeys() {
  step command 32773
  shoot_window hotkeys "ホットキーの設定 - Varnoke"
}

picture_about() {
  step tray right
  sleep 1
  step keys a
  shoot_window about "バージョン情報 - Varnoke"
}

# ---- Run ---------------------------------------------------------------------------------

if [ "$#" -gt 0 ]; then
  PICTURES=("$@")
fi
for name in "${PICTURES[@]}"; do
  if ! declare -F "picture_$name" >/dev/null; then
    echo "pictures: no picture named $name" >&2
    exit 2
  fi
done

mkdir -p "$APP" "$SHOTS" "$OUT"
cp "$BUILD_WIN/Varnoke.exe" "$BUILD_WIN/Symbol.txt" "$BUILD_WIN/Varnoke.html" "$APP/"
start_private_xvfb
trap 'stop_program >/dev/null 2>&1 || true; stop_wineserver; stop_private_xvfb' EXIT
start_wineserver

for name in "${PICTURES[@]}"; do
  start_program
  "picture_$name"
  stop_program
done
