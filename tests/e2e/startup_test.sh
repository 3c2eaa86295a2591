# Start-up: which window each switch brings up on a fresh and on a configured store, what is
# stored, and the single instance.

# Starts with the arguments, expects the options dialog alone, then closes it with its close
# box and expects the program to end.
expect_dialog_then_close() {
  start_scr "$@"
  wait_visible "$DIALOG" 10 || { echo "    no dialog for [$*]"; return 1; }
  expect_match "$(window_state "$SAVER")" '^hidden' "slide-show window for [$*]" || return 1
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 3000 || { echo "    still running after close for [$*]"; return 1; }
}

test_fresh_store_every_switch_opens_the_dialog() {
  local args expected
  while IFS='|' read -r args expected; do
    reg_reset
    # shellcheck disable=SC2086
    expect_dialog_then_close $args || return 1
    expect_eq "$(reg_get OptionsDialogForced)" "$expected" "forced flag for [$args]" || return 1
    expect_eq "$(reg_get ShowSplashScreen)" 1 "start count for [$args]" || return 1
  done <<'CASES'
/s|True
/S|False
/c|True
/c:4242|False
|True
/p 4242|True
CASES
}

test_configured_switches_choose_the_mode() {
  configure 'C:\windows'
  start_scr /s
  wait_visible "$SAVER" 10 || { echo "    no slide show"; say_why_no_window; return 1; }
  expect_eq "$(window_state "$SAVER")" "visible 0 0 1024 768 1024 768 topmost" || return 1
  expect_match "$(window_state "$DIALOG")" '^hidden' "dialog loaded but hidden" || return 1
  expect_eq "$(reg_get OptionsDialogForced)" False || return 1
  close_window "$SAVER"
  ends_within_ms "$SCR_PID" 3000 || { echo "    slide show did not end"; return 1; }

  for args in /S /c "/c:77"; do
    expect_dialog_then_close $args || return 1
    expect_eq "$(reg_get OptionsDialogForced)" False "[$args]" || return 1
  done
  local count=4
  for args in "" "/p 77" /C /a; do
    start_scr $args
    ends_within_ms "$SCR_PID" 3000 || { echo "    [$args] did not end at once"; return 1; }
    count=$((count + 1))
    expect_eq "$(reg_get ShowSplashScreen)" "$count" "every start counts [$args]" || return 1
    expect_eq "$(reg_get OptionsDialogForced)" False "[$args]" || return 1
  done
}

test_second_instance_ends_at_once_touching_nothing() {
  configure 'C:\windows'
  start_scr /S
  wait_visible "$DIALOG" 10 || return 1
  local first=$SCR_PID
  reg_set ShowSplashScreen 41
  reg_set OptionsDialogForced Marker
  start_scr /s
  ends_within_ms "$SCR_PID" 3000 || { echo "    second instance kept running"; return 1; }
  expect_eq "$(reg_get ShowSplashScreen)" 41 "start count untouched" || return 1
  expect_eq "$(reg_get OptionsDialogForced)" Marker "flag untouched" || return 1
  kill -0 "$first" 2>/dev/null || { echo "    first instance ended"; return 1; }
  SCR_PID=$first
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 3000
}

test_dialog_is_centred_with_its_inner_size() {
  start_scr /c
  wait_visible "$DIALOG" 10 || return 1
  local state left top right bottom width height
  read -r state left top right bottom width height _ <<<"$(window_state "$DIALOG")"
  expect_eq "${width}x${height}" 410x328 "inner size of 6150 x 4920 twips" || return 1
  # Centred to the pixel: an odd margin may round either way.
  expect_match "$((2 * left - (1024 - (right - left))))" '^-?[01]$' "centred across" || return 1
  expect_match "$((2 * top - (768 - (bottom - top))))" '^-?[01]$' "centred down" || return 1
}

test_start_counter_rules_hold_in_the_registry() {
  configure 'C:\windows'
  local stored expected
  while IFS='|' read -r stored expected; do
    reg_set ShowSplashScreen "$stored"
    start_scr /p 1
    ends_within_ms "$SCR_PID" 3000 || return 1
    expect_eq "$(reg_get ShowSplashScreen)" "$expected" "after [$stored]" || return 1
  done <<'CASES'
abc|1
2147483647|2147483647
-2|-1
CASES
}
