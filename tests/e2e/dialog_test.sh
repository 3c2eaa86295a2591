# The options dialog: its pages by mouse and keyboard, the folder lists, Esc and Enter, and
# its size at another resolution. Screenshots of every page are left in build/e2e.

control() { wine "$DRIVER" control "$DIALOG" "$1" 2>/dev/null | tr -d '\r'; }
item_at() { wine "$DRIVER" item "$DIALOG" "$1" "$2" 2>/dev/null | tr -d '\r'; }
selected() { wine "$DRIVER" selected "$DIALOG" "$1" 2>/dev/null | tr -d '\r'; }
focused() { wine "$DRIVER" focus "$DIALOG" 2>/dev/null | tr -d '\r'; }

# Opens the dialog on a fresh store, with the pointer out of its way.
open_dialog() {
  xdotool mousemove 1 1
  start_scr /c
  wait_visible "$DIALOG" 10 || { echo "    no dialog"; return 1; }
  sleep 0.5
}

# The page in view: the one whose picture box is on screen and enabled.
page_in_view() {
  local i state
  for i in 0 1 2 3 4; do
    state=$(control "picOptions($i)")
    [[ $state =~ ^visible\ enabled\ ([0-9]+) ]] && echo "$i"
  done
}

# The standard controls of each page, besides OK, Cancel and Apply below them.
PAGE_CONTROLS=("txtPathLocation cmdBrowse"
  "txtSecondsToDisplay chkMousePointer chkAlwaysOnTop chkRandomImages chkDisplayImageNumber chkImageFileName"
  cmdPreview "" "")

# The dark pixels (text, edges, check boxes) of a control in a screenshot, three pixels in
# from its edge: none means it shows as a blank rectangle.
dark_pixels() {
  local left top right bottom
  read -r _ _ left top right bottom _ <<<"$(control "$2")"
  convert "$E2E_OUT/$1.png" -crop "$((right - left - 6))x$((bottom - top - 6))+$((left + 3))+$((top + 3))" \
    +repage -colorspace gray -threshold 38% -negate -format '%[fx:int(mean*w*h)]' info:
}

# Every standard control of the page in view is drawn in the screenshot.
page_drawn() {
  local name
  for name in cmdOK cmdCancel cmdApply ${PAGE_CONTROLS[$2]}; do
    [ "$(dark_pixels "$1" "$name")" -gt 0 ] || { echo "    $name is blank on page $2 ($1.png)"; return 1; }
  done
}

test_each_tab_brings_its_page_by_click_and_ctrl_tab() {
  reg_set Path 'C:\windows'  # a folder text to see in its box
  open_dialog || return 1
  expect_eq "$(page_in_view)" 0 "the first page when opened" || return 1
  expect_eq "$(focused)" tbsOptions "the tab strip has the focus" || return 1
  local tab x y
  for tab in 3 1 4 0 2; do
    read -r x y <<<"$(item_at tbsOptions "$tab")"
    xdotool mousemove "$x" "$y" click 1
    sleep 0.4
    expect_eq "$(page_in_view)" "$tab" "after clicking tab $((tab + 1))" || return 1
    xdotool mousemove 1 1
    sleep 0.2
    shot "dialog-page-$tab"
    page_drawn "dialog-page-$tab" "$tab" || return 1
  done
  for tab in 3 4 0 1 2; do
    xdotool key ctrl+Tab
    sleep 0.4
    expect_eq "$(page_in_view)" "$tab" "Ctrl+Tab" || return 1
    shot "dialog-next-page-$tab"
    page_drawn "dialog-next-page-$tab" "$tab" || return 1
  done
  xdotool key ctrl+shift+Tab
  sleep 0.4
  expect_eq "$(page_in_view)" 2 "Ctrl+Shift+Tab is not for the key preview" || return 1
}

# Ctrl+Tab from a control inside a page takes that page away: the focus goes to the tab strip,
# and the keyboard goes on working.
test_ctrl_tab_from_inside_each_page_leaves_the_focus_on_the_tab_strip() {
  open_dialog || return 1
  local page control tabs
  # The page and a control of it the keyboard reaches, with the Tab presses from the strip.
  local -a from=("0 txtPathLocation 4" "1 chkRandomImages 7" "2 cmdPreview 4" "4 lblDownloadLink 5")
  for entry in "${from[@]}"; do
    read -r page control tabs <<<"$entry"
    while [ "$(page_in_view)" != "$page" ]; do
      xdotool key ctrl+Tab
      sleep 0.3
    done
    expect_eq "$(focused)" tbsOptions "before Tab into page $page" || return 1
    xdotool key --delay 60 $(printf 'Tab %.0s' $(seq "$tabs"))
    sleep 0.3
    expect_eq "$(focused)" "$control" "Tab into page $page" || return 1
    xdotool key ctrl+shift+Tab
    sleep 0.3
    expect_eq "$(page_in_view)/$(focused)" "$page/$control" "Ctrl+Shift+Tab stays ignored" || return 1
    xdotool key ctrl+Tab
    sleep 0.4
    expect_eq "$(page_in_view)" $(((page + 1) % 5)) "Ctrl+Tab from $control" || return 1
    expect_eq "$(focused)" tbsOptions "the focus after Ctrl+Tab from $control" || return 1
    xdotool key Tab
    sleep 0.2
    expect_eq "$(focused)" cmdOK "Tab after Ctrl+Tab from $control" || return 1
    xdotool key shift+Tab
    sleep 0.2
  done
  xdotool key Escape
  ends_within_ms "$SCR_PID" 3000 || { echo "    Esc did not end the program"; return 1; }
}

# The platform sends a window that appears under a resting pointer a mouse-move message
# without any movement: the first run's welcome survives it, and goes at a real movement.
test_the_welcome_stays_under_a_resting_pointer_until_it_moves() {
  xdotool mousemove 512 400  # where the first page's frame appears, away from its controls
  start_scr /c
  wait_visible "$DIALOG" 10 || { echo "    no dialog"; return 1; }
  local left top right bottom
  read -r _ left top right bottom _ <<<"$(window_state "$DIALOG")"
  local dialog="$((right - left))x$((bottom - top))+$left+$top" red=0
  welcome_shown() {
    shot dialog-welcome-resting
    red=$(red_pixels dialog-welcome-resting "$dialog")
    [ "$red" -gt 100 ]
  }
  # Painted, and still there after the driver's round trip to the dialog: the message of the
  # resting pointer came with the window's first showing.
  wait_until 10 welcome_shown &&
    window_state "$DIALOG" >/dev/null && welcome_shown ||
    { echo "    no welcome under the resting pointer ($red red pixels)"; return 1; }
  xdotool mousemove_relative 4 3
  welcome_gone() {
    shot dialog-welcome-moved
    red=$(red_pixels dialog-welcome-moved "$dialog")
    [ "$red" -eq 0 ]
  }
  wait_until 5 welcome_gone
  expect_eq "$red" 0 "a real movement clears it" || return 1
}

test_tab_order_and_access_keys_follow_the_page_in_view() {
  open_dialog || return 1
  local expected name
  for expected in cmdOK cmdCancel cmdApply txtPathLocation cmdBrowse tbsOptions; do
    xdotool key Tab
    sleep 0.2
    expect_eq "$(focused)" "$expected" "Tab on page 1 (lists hidden)" || return 1
  done
  xdotool key alt+p
  sleep 0.4
  expect_eq "$(page_in_view)" 1 "Alt+P shows Preferences" || return 1
  for expected in cmdOK cmdCancel cmdApply txtSecondsToDisplay chkMousePointer chkAlwaysOnTop \
    chkRandomImages chkDisplayImageNumber chkImageFileName tbsOptions; do
    xdotool key Tab
    sleep 0.2
    expect_eq "$(focused)" "$expected" "Tab on page 2" || return 1
  done
  xdotool key alt+h
  sleep 0.4
  expect_eq "$(page_in_view)" 1 "Alt+H belongs to the check box in view" || return 1
  expect_eq "$(focused)" chkMousePointer "Alt+H" || return 1
  xdotool key alt+b
  sleep 0.4
  expect_eq "$(page_in_view)" 3 "Alt+B shows About while Browse is out of view" || return 1
  xdotool key alt+l alt+b
  sleep 0.4
  expect_eq "$(page_in_view)" 0 "Alt+B presses Browse on its own page" || return 1
  expect_match "$(control DirPath)" '^visible' "Browse showed the lists" || return 1
  for name in DrivePath DirPath FilePath; do
    xdotool key Tab
    sleep 0.2
    expect_eq "$(focused)" "$name" "the shown lists join the tab order" || return 1
  done
}

test_browse_and_a_double_click_choose_the_folder() {
  # Near a drive's root, so that the folder list shows every entry without scrolling.
  local root="$WINEPREFIX/drive_c/dialog-folders"
  rm -rf "$root"
  mkdir -p "$root/alpha" "$root/beta"
  printf 'x' >"$root/beta/one.jpg"
  printf 'x' >"$root/beta/two.png"
  printf 'x' >"$root/beta/three.GIF"
  local windows_root
  windows_root=$(winepath -w "$root" 2>/dev/null | tr -d '\r')
  reg_set Path "$windows_root"
  open_dialog || return 1
  expect_match "$(control DirPath)" '^hidden' "lists hidden until Browse" || return 1
  xdotool key alt+b
  sleep 0.5
  expect_match "$(control DirPath)" '^visible' "Browse shows the lists" || return 1
  shot dialog-browse
  local current x y
  current=$(selected DirPath)
  read -r x y <<<"$(item_at DirPath $((current + 2)))"  # beta
  xdotool mousemove "$x" "$y" click 1
  sleep 0.4
  expect_match "$(control txtPathLocation)" "dialog-folders$" "a single click only hints" || return 1
  xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
  sleep 0.6
  expect_match "$(control txtPathLocation)" 'dialog-folders\\beta$' "double click" || return 1
  xdotool mousemove 1 1
  sleep 0.3
  shot dialog-browse-chosen
}

# A large folder: the hidden file list holds nothing until Browse shows it, then every picture
# in name order, letter case ignored.
test_a_large_folder_fills_the_file_list_when_it_is_shown() {
  local root="$WINEPREFIX/drive_c/dialog-large" i kinds=(jpg JPG jpeg Gif bmp)
  rm -rf "$root"
  mkdir -p "$root"
  for ((i = 0; i < 3000; i++)); do
    : >"$root/Photo $(printf '%04d' "$i").${kinds[i % 5]}"
  done
  : >"$root/aaa.png"
  : >"$root/zzz.txt"
  reg_set Path "$(winepath -w "$root" 2>/dev/null | tr -d '\r')"
  open_dialog || return 1
  local items
  items=$(wine "$DRIVER" items "$DIALOG" FilePath 2>/dev/null | tr -d '\r')
  expect_eq "$items" 0 "nothing copied into the hidden list" || return 1
  xdotool key alt+b
  local shown="3000|Photo 0000.jpg|Photo 2999.bmp"
  list_holds() {
    items=$(wine "$DRIVER" items "$DIALOG" FilePath 2>/dev/null | tr -d '\r')
    [ "$items" = "$shown" ]
  }
  wait_until 10 list_holds
  expect_eq "$items" "$shown" "the list once shown" || return 1
  shot dialog-large-folder
}

test_esc_ends_without_storing_and_enter_does_nothing() {
  open_dialog || return 1
  xdotool key Return
  sleep 0.8
  expect_match "$(window_state "$DIALOG")" '^visible' "Enter is no button" || return 1
  wine "$DRIVER" settext "$DIALOG" txtPathLocation 'C:\typed' >/dev/null 2>&1
  xdotool key Tab Escape
  ends_within_ms "$SCR_PID" 3000 || { echo "    Esc did not end the program"; return 1; }
  local key
  for key in Path SecondsToDisplay Initialized AlwaysOnTop HideMousePointer; do
    expect_eq "$(reg_get "$key")" "<absent>" "$key after Esc" || return 1
  done
}

test_dialog_at_144_dpi_keeps_its_twips() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  open_dialog
  local ok=$?
  local state size
  state=$(window_state "$DIALOG")
  shot dialog-144dpi
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 3000
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
  wineserver -k 2>/dev/null
  wineserver -p 2>/dev/null
  [ $ok -eq 0 ] || return 1
  size=$(awk '{print $6 "x" $7}' <<<"$state")
  expect_eq "$size" 615x492 "6150 x 4920 twips at 144 dots per inch" || return 1
}

# The user's text size at 150 %: the dialog's fonts and layout grow with it as at 144 dots per
# inch, every standard control of every page drawn and inside the dialog. Screenshots of the
# pages are left in build/e2e.
test_dialog_at_150_percent_text_is_laid_out_larger_with_nothing_cut() {
  local key='HKCU\Software\Microsoft\Accessibility'
  reg_set Path 'C:\windows'  # a folder text to see in its box
  wine reg add "$key" /v TextScaleFactor /t REG_DWORD /d 150 /f >/dev/null 2>&1
  open_dialog
  local ok=$? state page name left top right bottom l t r b
  state=$(window_state "$DIALOG")
  for page in 0 1 2 3 4; do
    [ $ok -eq 0 ] || break
    shot "dialog-150-page-$page"
    page_drawn "dialog-150-page-$page" "$page" || ok=1
    read -r _ left top right bottom _ <<<"$state"
    for name in cmdOK cmdCancel cmdApply tbsOptions "picOptions($page)" ${PAGE_CONTROLS[$page]}; do
      read -r _ _ l t r b _ <<<"$(control "$name")"
      if [ "$l" -lt "$left" ] || [ "$t" -lt "$top" ] || [ "$r" -gt "$right" ] || [ "$b" -gt "$bottom" ]; then
        echo "    $name ($l $t $r $b) is cut by the dialog ($left $top $right $bottom) on page $page"
        ok=1
      fi
    done
    xdotool key ctrl+Tab
    sleep 0.4
  done
  wine reg delete "$key" /v TextScaleFactor /f >/dev/null 2>&1
  [ $ok -eq 0 ] || return 1
  expect_eq "$(awk '{print $6 "x" $7}' <<<"$state")" 615x492 "6150 x 4920 twips at 150 %" || return 1
}

test_the_settings_window_of_the_system_owns_the_dialog() {
  local fifo="$E2E_OUT/host.out" host_pid handle
  rm -f "$fifo"
  wine "$DRIVER" host 20 >"$fifo" 2>/dev/null &
  host_pid=$!
  for _ in $(seq 50); do
    handle=$(tr -d '\r' <"$fifo" 2>/dev/null)
    [ -n "$handle" ] && break
    sleep 0.1
  done
  start_scr "/c:$handle"
  wait_visible "$DIALOG" 10 || { kill "$host_pid"; return 1; }
  local owner
  owner=$(wine "$DRIVER" owner "$DIALOG" 2>/dev/null | tr -d '\r')
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 3000
  kill "$host_pid" 2>/dev/null
  wait "$host_pid" 2>/dev/null
  expect_eq "$owner" "Screen Saver Settings" "/c:$handle" || return 1
  start_scr /c
  wait_visible "$DIALOG" 10 || return 1
  expect_eq "$(wine "$DRIVER" owner "$DIALOG" 2>/dev/null | tr -d '\r')" "<none>" "plain /c" || return 1
}
