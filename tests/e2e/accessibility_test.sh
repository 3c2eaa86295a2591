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
42\|Path from which to display pictures
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

# Each page as a reader walks it: what is on it in reading order (top to bottom, left to
# right, whatever the tab order), each link one object, every picture and box named in the
# dialog's own words. Roles as numbers: 10 client, 20 grouping, 30 link, 40 graphic, 41 text,
# 42 editable text, 43 push button (a client area under Wine), 44 check box.
PAGE_WALKS=(
"10\|
  20\|Choose folder from which images should be displayed
    42\|Path from which to display pictures
    (43|10)\|Browse
    41\|Welcome! Please configure your options now. Choose a path from which to display pictures."
"10\|
  20\|Choose screen saver preferences
    41\|Display each image for
    42\|Display each image for … seconds
    41\|seconds
    (44|10)\|Hide mouse pointer
    (44|10)\|Screen saver always on top
    (44|10)\|Display images in random order
    41\|Image stats to display in upper left corner
    (44|10)\|Image number in sequence of images
    (44|10)\|Image file path & file name"
"10\|
  20\|Preview the screen saver
    40\|Preview the screen saver
    (43|10)\|Preview
    41\|When you click the Preview button, all options, preferences, and settings will be applied and the screen saver started. This Options window will close and disappear."
"10\|
  20\|
    40\|Glimra ScreenSaver by the Glimra ScreenSaver developers
    41\|Glimra ScreenSaver
    41\|Version 1.0.203
    41\|Free software by the Glimra ScreenSaver developers
    41\|Glimra ScreenSaver is free. .*developers."
"10\|
  20\|Help using this screen saver
    40\|the Glimra ScreenSaver developers
    41\|Glimra ScreenSaver is a free Windows screen saver .*
    41\|Developer, the Glimra ScreenSaver developers
    41\|Use Glimra ScreenSaver to display .*
    30\|Glimra ScreenSaver Help
    30\|Download Latest Version")

test_a_reader_walks_every_page_in_reading_order_and_follows_the_focus_to_each_link() {
  xdotool mousemove 1 1
  start_scr /c
  wait_visible "$DIALOG" 10 || { echo "    no dialog"; return 1; }
  sleep 0.5
  local page walk
  for page in 0 1 2 3 4; do
    walk=$(wine "$READER" walk "$DIALOG" "picOptions($page)" 2>/dev/null | tr -d '\r')
    printf '%s\n' "$walk" >"$E2E_OUT/reader-page-$((page + 1)).txt"
    expect_match "$walk" "^${PAGE_WALKS[$page]}\$" "the walk of page $((page + 1))" || return 1
    xdotool key ctrl+Tab
    sleep 0.4
  done
  # The focus from the tab strip to each link of the help page and back, as a reader hears it.
  local events="$E2E_OUT/reader-events.txt"
  xdotool key alt+h
  sleep 0.4
  # Straight to the file: a pipe would hold "listening" back until the reader ends.
  wine "$READER" events "$DIALOG" 8000 >"$events.raw" 2>/dev/null &
  local reader=$!
  wait_until 5 grep -q listening "$events.raw" || { echo "    the reader did not listen"; return 1; }
  sleep 0.5
  xdotool key --delay 600 Tab Tab Tab Tab Tab Tab
  wait "$reader"
  tr -d '\r' <"$events.raw" >"$events"
  local link heard
  for link in "Glimra ScreenSaver Help" "Download Latest Version"; do
    for heard in focus state; do
      grep -qx "$heard|30|$link|focused|in tree" "$events" ||
        { echo "    no $heard event on the link $link in the tree:"; cat "$events"; return 1; }
    done
  done
  # The sixth Tab leaves the links for the tab strip, where the focus is heard last.
  [[ $(tail -n 1 "$events") =~ ^focus\|[0-9]+\|[^|]*\|focused\|in\ tree$ &&
    $(tail -n 1 "$events") != *Download* ]] ||
    { echo "    the focus is not heard leaving the links:"; cat "$events"; return 1; }
  if grep -q "not in tree" "$events"; then
    echo "    an event on an object outside the tree:"; cat "$events"; return 1
  fi
}
