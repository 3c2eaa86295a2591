# The DLL search: a DLL of a system's name beside the program, which Wine is told to prefer to
# its own, is never loaded, in the slide show or on any page of the dialog. Wine's own user32
# imports version.dll (Windows' does not), so under Wine any program that uses windows loads a
# version.dll found beside it before its first instruction: the program may show that marker
# only when a bare program (the test driver) beside the same DLLs shows it too.

# Copies the marking DLL beside a program, under each system DLL's name.
put_markers_beside() {
  local name
  for name in version mpr oleacc windowscodecs; do
    cp "$GLIMRA_ROOT/build/windows/marker.dll" "$1/$name.dll"
  done
}

# The marks left in a folder, sorted, on one line.
marks_in() { (cd "$1" && ls -- *.loaded 2>/dev/null | paste -sd' '); }

test_no_dll_beside_the_program_is_ever_loaded() {
  local beside="$E2E_OUT/beside" saved=$WINEDLLOVERRIDES
  rm -rf "$beside"
  mkdir -p "$beside/help"
  cp "$SCR" "$beside/Glimra.scr"
  cp "$GLIMRA_ROOT/help/glimrascreensaver.htm" "$beside/help/"
  put_markers_beside "$beside"
  local control="$E2E_OUT/beside-control"
  rm -rf "$control"
  mkdir -p "$control"
  cp "$DRIVER" "$control/"
  put_markers_beside "$control"
  configure_pictures beside-pictures
  cp "$GLIMRA_ROOT"/assets/samples/* "$PICTURES/"
  reg_set SecondsToDisplay 1
  export WINEDLLOVERRIDES="$saved;version,mpr,oleacc,windowscodecs=n,b"
  wine "$control/e2e_driver.exe" window "$SAVER" >/dev/null 2>&1
  wine "$beside/Glimra.scr" /s >/dev/null 2>&1 &
  SCR_PID=$!
  local shown=0
  if wait_visible "$SAVER" 10; then
    # A picture on the screen: the raster decoder has run.
    picture_on_screen() {
      shot beside-slide-show
      [ "$(brightest beside-slide-show 200x200+412+284)" -gt 0 ]
    }
    wait_until 10 picture_on_screen && shown=1
    close_window "$SAVER"
    ends_within_ms "$SCR_PID" 3000
  fi
  wine "$beside/Glimra.scr" /c >/dev/null 2>&1 &
  SCR_PID=$!
  local pages=0
  if wait_visible "$DIALOG" 10; then
    for _ in 1 2 3 4 5; do
      xdotool key ctrl+Tab
      pages=$((pages + 1))
    done
    # A screen reader reads a page: the dialog's accessible objects are made.
    wine "$GLIMRA_ROOT/build/windows/e2e_reader.exe" read "$DIALOG" fraSample1 >/dev/null 2>&1
    close_window "$DIALOG"
    ends_within_ms "$SCR_PID" 3000
  fi
  export WINEDLLOVERRIDES=$saved
  expect_eq "$(marks_in "$beside")" "$(marks_in "$control")" \
    "DLLs loaded from beside the program (a bare program loads: $(marks_in "$control"))" || return 1
  expect_eq "$shown $pages" "1 5" "the slide show ran and every page was shown" || return 1
}
