# OK, Preview, the no-pictures question, a refused number of seconds and the links, on the
# real program from a fresh store.

msgbox() { wine "$DRIVER" msgbox 2>/dev/null | tr -d '\r'; }

# Waits for a message box and prints it.
wait_msgbox() {
  local box
  for _ in $(seq 50); do
    box=$(msgbox)
    [ "$box" != absent ] && { echo "$box"; return 0; }
    sleep 0.1
  done
  echo absent
}

click_control() {
  local state left top right bottom
  read -r state _ left top right bottom _ <<<"$(control "$1")"
  xdotool mousemove $(((left + right) / 2)) $(((top + bottom) / 2)) click 1
}

# A folder of two pictures made by ImageMagick, as the Windows path the dialog is given.
picture_folder() {
  local folder="$E2E_OUT/$1"
  rm -rf "$folder"
  mkdir -p "$folder"
  convert -size 320x240 xc:'rgb(0,160,0)' "$folder/green.jpg"
  convert -size 320x240 xc:'rgb(0,0,200)' "$folder/blue.bmp"
  winepath -w "$folder" 2>/dev/null | tr -d '\r'
}

test_ok_stores_the_eight_values_and_the_slide_show_shows_them() {
  local folder
  folder=$(picture_folder ok-pictures)
  xdotool mousemove 1 1
  start_scr /c:4242  # the system's settings window: OK ends the program
  wait_visible "$DIALOG" 10 || return 1
  wine "$DRIVER" settext "$DIALOG" txtPathLocation "$folder" >/dev/null 2>&1
  xdotool key alt+p
  sleep 0.3
  wine "$DRIVER" settext "$DIALOG" txtSecondsToDisplay " 1 " >/dev/null 2>&1
  click_control cmdOK
  ends_within_ms "$SCR_PID" 5000 || { echo "    OK did not end the program"; return 1; }
  local key expected
  while IFS='|' read -r key expected; do
    expect_eq "$(reg_get "$key")" "$expected" "$key" || return 1
  done <<CASES
Path|$folder
SecondsToDisplay|1
AlwaysOnTop|1
HideMousePointer|1
DisplayInRandomOrder|1
displayImageNumber|1
DisplayImageFileName|1
Initialized|True
CASES
  reg_set DisplayInRandomOrder 0
  start_slide_show || return 1
  wait_pixel ok-slideshow 512 384 0,160,0 8 || return 1
  end_by key space >/dev/null
}

test_preview_runs_the_full_screen_show_and_a_key_ends_it() {
  local folder
  folder=$(picture_folder preview-pictures)
  xdotool mousemove 1 1
  start_scr /c:4242
  wait_visible "$DIALOG" 10 || return 1
  wine "$DRIVER" settext "$DIALOG" txtPathLocation "$folder" >/dev/null 2>&1
  xdotool key alt+v
  sleep 0.3
  click_control cmdPreview
  wait_visible "$SAVER" 10 || { echo "    no slide show"; say_why_no_window; return 1; }
  expect_eq "$(reg_get OptionsDialogForced)" True || return 1
  expect_match "$(window_state "$SAVER")" "^visible 0 0 1024 768" || return 1
  sleep 1.5
  local ended
  ended=$(end_by key space)
  [ "$ended" != none ] || { echo "    the key did not end the program"; return 1; }
}

test_a_folder_without_pictures_is_asked_about_and_yes_browses() {
  local folder="$E2E_OUT/no-pictures"
  rm -rf "$folder"
  mkdir -p "$folder"
  printf 'text' >"$folder/readme.txt"
  xdotool mousemove 1 1
  start_scr /c:4242
  wait_visible "$DIALOG" 10 || return 1
  wine "$DRIVER" settext "$DIALOG" txtPathLocation "$(winepath -w "$folder" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1
  click_control cmdOK
  local box
  box=$(wait_msgbox)
  expect_eq "$box" "No pictures to display|There are no pictures in the selected folder. Do you wish to browse for a different folder?|$DIALOG" || return 1
  shot options-no-pictures
  wine "$DRIVER" answer yes >/dev/null 2>&1
  sleep 0.8
  expect_match "$(window_state "$DIALOG")" '^visible' "Yes keeps the dialog" || return 1
  expect_match "$(control FilePath)" '^visible' "Yes shows the lists" || return 1
  expect_eq "$(reg_get Initialized)" True "the options were stored" || return 1
}

test_seconds_that_are_no_number_are_refused_with_nothing_stored() {
  local folder
  folder=$(picture_folder refused-seconds)
  xdotool mousemove 1 1
  start_scr /c:4242
  wait_visible "$DIALOG" 10 || return 1
  wine "$DRIVER" settext "$DIALOG" txtPathLocation "$folder" >/dev/null 2>&1
  xdotool key alt+p
  sleep 0.3
  wine "$DRIVER" settext "$DIALOG" txtSecondsToDisplay abc >/dev/null 2>&1
  click_control cmdOK
  local box
  box=$(wait_msgbox)
  expect_eq "$box" "Glimra ScreenSaver|Please select the Preferences tab, then input the number of seconds each picture should be displayed by the screen saver.|$DIALOG" || return 1
  wine "$DRIVER" answer ok >/dev/null 2>&1
  sleep 0.8
  expect_match "$(window_state "$DIALOG")" '^visible' "the dialog stays open" || return 1
  expect_eq "$(reg_get Path)" "<absent>" || return 1
  expect_eq "$(reg_get Initialized)" "<absent>" || return 1
}

test_hovering_a_link_turns_it_red_and_underlined() {
  open_dialog || return 1
  xdotool key alt+h
  sleep 0.4
  local state left top right bottom
  read -r state _ left top right bottom _ <<<"$(control "picOptions(4)")"
  shot options-links-normal
  # The help label lies 1920 twips (128 px) right and 2520 + 0 twips down in its frame.
  local x=$((left + 8 + 128 + 20)) y=$((top + 168 + 8))
  xdotool mousemove "$x" "$y"
  sleep 0.2
  xdotool mousemove $((x + 2)) "$y"
  sleep 0.6
  shot options-links-hover
  local region="200x16+$((left + 8 + 128))+$((top + 168))"
  local red
  red=$(red_pixels options-links-hover "$region")
  [ "$red" -gt 20 ] || { echo "    the help link is not red under the pointer ($red red pixels)"; return 1; }
  local before
  before=$(red_pixels options-links-normal "$region")
  expect_eq "$before" 0 "no red before the pointer came" || return 1
}

test_the_help_link_opens_the_help_page_beside_the_program() {
  note_opened_pages
  open_dialog || return 1
  xdotool key alt+h
  help_page_in_view() { [[ $(control "picOptions(4)") =~ ^visible\ enabled ]]; }
  wait_until 10 help_page_in_view || { echo "    the help page never came into view"; return 1; }
  local left top
  read -r _ _ left top _ _ <<<"$(control "picOptions(4)")"
  xdotool mousemove $((left + 8 + 128 + 20)) $((top + 168 + 8)) click 1
  local opened
  opened=$(opened_page)
  forget_opened_pages
  expect_match "$opened" 'build\\windows\\help\\glimrascreensaver\.htm' "the help link's target" || return 1
  expect_match "$(window_state "$DIALOG")" '^visible' "the dialog stays open" || return 1
}
