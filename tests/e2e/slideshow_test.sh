# The slide show as the user sees it: fit, centre, captions, the start and blank pictures, a
# picture deleted while the show runs, and the end on real input.

test_picture_is_fitted_and_centred_with_captions() {
  configure_pictures fit
  convert -size 2000x500 xc:'rgb(255,0,0)' "BMP3:$PICTURES/wide.bmp"
  reg_set SecondsToDisplay 1
  start_slide_show || return 1
  wait_pixel fit 512 384 255,0,0 5 || return 1
  sleep 0.5  # the captions appear at the same tick
  shot fit
  # 2000 x 500 on 1024 x 768: drawn 1024 x 256 at top 256.
  expect_eq "$(pixel fit 512 254)" 0,0,0 "above the picture" || return 1
  expect_eq "$(pixel fit 512 257)" 255,0,0 "top edge" || return 1
  expect_eq "$(pixel fit 0 400)" 255,0,0 "left edge" || return 1
  expect_eq "$(pixel fit 1023 400)" 255,0,0 "right edge" || return 1
  expect_eq "$(pixel fit 512 510)" 255,0,0 "bottom edge" || return 1
  expect_eq "$(pixel fit 512 513)" 0,0,0 "below the picture" || return 1
  expect_match "$(brightest fit 120x14+0+0)" '^2[0-9][0-9]$' "number caption drawn white" || return 1
  expect_match "$(brightest fit 300x14+0+16)" '^2[0-9][0-9]$' "path caption drawn white" || return 1
  expect_eq "$(brightest fit 1000x200+0+40)" 0 "nothing else above the picture" || return 1
}

test_captions_can_be_switched_off() {
  configure_pictures nocaptions
  convert -size 300x200 xc:'rgb(0,0,255)' "$PICTURES/small.gif"
  reg_set SecondsToDisplay 1
  reg_set displayImageNumber 0
  reg_set DisplayImageFileName 0
  start_slide_show || return 1
  wait_pixel nocaptions 512 384 0,0,255 5 || return 1
  sleep 1.5  # a tick after the change: the captions would be visible by now
  shot nocaptions
  expect_eq "$(brightest nocaptions 1024x100+0+0)" 0 "no captions" || return 1
  # 300 x 200 is never enlarged: drawn as it is, centred.
  expect_eq "$(pixel nocaptions 362 284)" 0,0,255 "top-left corner" || return 1
  expect_eq "$(pixel nocaptions 361 284)" 0,0,0 "left of it" || return 1
  expect_eq "$(pixel nocaptions 661 483)" 0,0,255 "bottom-right corner" || return 1
  expect_eq "$(pixel nocaptions 662 484)" 0,0,0 "beyond it" || return 1
}

test_start_picture_for_five_starts_then_the_blank_one() {
  configure_pictures splash
  reg_set SecondsToDisplay 60
  reg_set ShowSplashScreen 4
  start_slide_show || return 1
  sleep 1
  shot splash
  # The 640 x 480 start picture, centred on 1024 x 768.
  expect_match "$(brightest splash 600x440+212+164)" '^([1-9][0-9]|[12][0-9][0-9])$' \
    "start picture shown at the fifth start" || return 1
  expect_eq "$(brightest splash 1024x140+0+0)" 0 "black above it" || return 1
  close_window "$SAVER"
  ends_within_ms "$SCR_PID" 3000 || return 1

  start_slide_show || return 1
  sleep 1
  shot blank
  expect_eq "$(reg_get ShowSplashScreen)" 6 || return 1
  expect_eq "$(brightest blank 1024x768+0+0)" 0 "the sixth start shows the blank picture" ||
    return 1
}

test_a_picture_deleted_during_the_show_leaves_the_previous_one() {
  configure_pictures deleted
  convert -size 400x300 xc:'rgb(0,255,0)' -quality 95 "$PICTURES/a.jpg"
  convert -size 400x300 xc:'rgb(0,0,255)' "BMP3:$PICTURES/b.bmp"
  reg_set SecondsToDisplay 1
  start_slide_show || return 1
  rm "$PICTURES/a.jpg"  # listed, then gone: every other change now fails to load
  wait_pixel deleted-0 512 384 0,0,255 5 || return 1  # the first change shows b.bmp
  for n in 1 2 3 4; do
    sleep 1
    shot "deleted-$n"
    expect_eq "$(pixel "deleted-$n" 512 384)" 0,0,255 "b.bmp stays through change $n" ||
      return 1
  done
  kill -0 "$SCR_PID" 2>/dev/null || { echo "    the show ended"; return 1; }
}

test_a_key_ends_the_show_within_its_check_period() {
  configure_pictures keys
  local key elapsed
  for key in space Shift_L; do
    start_slide_show || return 1
    sleep 1.5
    elapsed=$(end_by key "$key")
    expect_match "$elapsed" '^[0-9]+$' "key $key ends the show" || return 1
    [ "$elapsed" -lt 1000 ] || { echo "    key $key took $elapsed ms"; return 1; }
  done
}

test_a_click_ends_the_show() {
  configure_pictures click
  start_slide_show || return 1
  sleep 1.5
  xdotool mousemove 500 400
  sleep 0.5  # the movement alone must not end it
  kill -0 "$SCR_PID" 2>/dev/null || { echo "    one movement ended the show"; return 1; }
  local elapsed
  elapsed=$(end_by click 1)
  expect_match "$elapsed" '^[0-9]+$' "click ends the show" || return 1
}

test_a_burst_of_movements_ends_the_show_and_a_few_do_not() {
  configure_pictures moves
  start_slide_show || return 1
  sleep 1.5
  xdotool mousemove 100 100 mousemove 120 100 mousemove 140 100
  sleep 1
  kill -0 "$SCR_PID" 2>/dev/null || { echo "    three movements ended the show"; return 1; }
  local elapsed
  # A hand moving the mouse: a position every 10 ms for half a second.
  local moves=()
  for x in $(seq 200 10 500); do moves+=(mousemove "$x" 300 sleep 0.01); done
  elapsed=$(end_by "${moves[@]}")
  expect_match "$elapsed" '^[0-9]+$' "a movement of the mouse ends the show" || return 1
}

test_unicode_folder_and_file_names_are_shown() {
  configure_pictures "bilder-ünïcødé-日本"
  convert -size 200x100 xc:'rgb(255,255,0)' "BMP3:$PICTURES/фото – 写真.bmp"
  reg_set SecondsToDisplay 1
  expect_match "$(reg_get Path)" 'bilder-ünïcødé-日本$' "stored as typed" || return 1
  start_slide_show || return 1
  wait_pixel unicode 512 384 255,255,0 5 || return 1
}

# The system says the display turned off: the show rests (the screen stays as it was, tick
# after tick) and goes on when the display is back; a key still ends it.
test_the_show_rests_while_the_display_is_off() {
  configure_pictures display-off
  cp "$GLIMRA_ROOT"/assets/samples/0[12]-* "$PICTURES/"
  reg_set SecondsToDisplay 1
  reg_set DisplayImageNumber 0
  reg_set DisplayImageFileName 0
  start_slide_show || return 1
  wine "$DRIVER" display "$SAVER" off || { echo "    the window did not take the notice"; return 1; }
  shot display-off-before
  sleep 3 # three ticks
  shot display-off-after
  local changed
  changed=$(compare -metric AE "$E2E_OUT/display-off-before.png" "$E2E_OUT/display-off-after.png" \
    null: 2>&1)
  expect_eq "$changed" 0 "pixels changed while the display was off" || return 1
  wine "$DRIVER" display "$SAVER" on || return 1
  changes_again() {
    shot display-on
    [ "$(compare -metric AE "$E2E_OUT/display-off-after.png" "$E2E_OUT/display-on.png" \
      null: 2>&1)" != 0 ]
  }
  wait_until 5 changes_again || { echo "    no change once the display was back"; return 1; }
  expect_match "$(end_by key space)" '^[0-9]+$' "a key ends the show" || return 1
}
