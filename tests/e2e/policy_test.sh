# Policy before preference on the real program: an administrator's folder wins over the
# user's, and the dialog shows it locked and leaves it unwritten.

POLICY_KEY='Software\Policies\Glimra\ScreenSaver'

# Sets a policy value: machine|user, name, text.
policy_set() {
  local root=HKCU
  [ "$1" = machine ] && root=HKLM
  wine reg add "$root\\$POLICY_KEY" /v "$2" /t REG_SZ /d "$3" /f >/dev/null 2>&1
}

policy_clear() {
  wine reg delete "HKLM\\$POLICY_KEY" /f >/dev/null 2>&1
  wine reg delete "HKCU\\$POLICY_KEY" /f >/dev/null 2>&1
}

test_a_machine_policy_folder_wins_and_the_dialog_cannot_change_it() {
  policy_clear
  local mine lobby
  mine=$(picture_folder users-pictures)
  lobby="$E2E_OUT/lobby-pictures"
  rm -rf "$lobby" && mkdir -p "$lobby"
  convert -size 320x240 xc:'rgb(200,0,0)' "$lobby/red.jpg"
  lobby=$(winepath -w "$lobby" 2>/dev/null | tr -d '\r')
  configure "$mine"
  reg_set DisplayInRandomOrder 0
  policy_set machine Path "$lobby"
  policy_set user Path "$mine"  # the machine's wins over the user's policy too
  policy_set user SecondsToDisplay 1
  xdotool mousemove 1 1
  start_slide_show || { policy_clear; return 1; }
  wait_pixel policy-slideshow 512 384 200,0,0 8 || { policy_clear; return 1; }
  end_by key space >/dev/null

  start_scr /c:4242
  wait_visible "$DIALOG" 10 || { policy_clear; return 1; }
  local result=0
  local shown enabled text
  read -r shown enabled _ _ _ _ text <<<"$(control txtPathLocation)"
  expect_eq "$shown $enabled $text" "visible disabled $lobby" "the policy's folder, locked" ||
    result=1
  expect_match "$(control cmdBrowse)" '^visible disabled' "no browsing" || result=1
  xdotool key alt+p
  sleep 0.3
  expect_match "$(control txtSecondsToDisplay)" '^visible disabled .* 1$' || result=1
  expect_match "$(control chkRandomImages)" '^visible enabled' "the user's own" || result=1
  click_control chkRandomImages
  click_control cmdApply
  sleep 1
  expect_eq "$(wine "$DRIVER" msgbox 2>/dev/null | tr -d '\r')" absent "nothing to correct" ||
    result=1
  expect_eq "$(reg_get Path)" "$mine" "Apply left the folder unwritten" || result=1
  expect_eq "$(reg_get SecondsToDisplay)" "<absent>" "and the seconds" || result=1
  expect_eq "$(reg_get DisplayInRandomOrder)" 1 "and stored the user's own" || result=1
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 5000 || result=1
  policy_clear
  return $result
}
