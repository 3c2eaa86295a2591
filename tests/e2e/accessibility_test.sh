# What a screen reader in a process of its own is told of the options dialog, read through the
# platform's accessibility interfaces, and a link followed as it follows one.

READER="$GLIMRA_ROOT/build/windows/e2e_reader.exe"
read_control() { wine "$READER" read "$DIALOG" "$1" 2>/dev/null | tr -d '\r'; }

test_a_screen_reader_reads_the_dialog_and_follows_the_help_link() {
  note_opened_pages
  xdotool mousemove 1 1  # the pointer over a page would clear the welcome
  start_scr /c
  wait_visible "$DIALOG" 10 || { echo "    no dialog"; return 1; }
  local folder="Choose folder from which images should be displayed"
  local welcome="Welcome! Please configure your options now. Choose a path from which to display pictures."
  # Browse's role is the platform's own: a push button on Windows, a client area under Wine.
  expect_match "$(read_control fraSample1)" "^20\|$folder
42\|$folder
[0-9]+\|Browse
41\|$welcome\$" "the folder page: a grouping, the path box, Browse, the welcome" || return 1
  expect_eq "$(read_control txtSecondsToDisplay)" "42|Display each image for … seconds" \
    "the seconds box" || return 1
  expect_match "$(read_control fraSample5)" $'\n30\\|Glimra ScreenSaver Help\n' \
    "the help link" || return 1
  xdotool key alt+h  # the help page comes into view: its links can be followed
  for _ in $(seq 50); do
    [[ $(control "picOptions(4)") =~ ^visible\ enabled ]] && break
    sleep 0.1
  done
  wine "$READER" act "$DIALOG" fraSample5 "Glimra ScreenSaver Help" >/dev/null 2>&1
  local opened
  opened=$(opened_page)
  forget_opened_pages
  expect_match "$opened" 'build\\windows\\help\\glimrascreensaver\.htm' "the help link's target" || return 1
  expect_match "$(window_state "$DIALOG")" '^visible' "the dialog stays open" || return 1
}
