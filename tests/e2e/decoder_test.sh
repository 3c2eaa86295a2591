# The show's decoder process: a picture that breaks the platform's codec costs that picture,
# never the show, and no decoder outlives the program.

no_program_left() { [ -z "$(own_pids -f 'Glimra\.scr')" ]; }

# A GIF as the format allows it: no global and no local colour table (the decoder is to use
# one of its own). Wine's GIF codec reads address 0 on it.
write_gif_without_colour_tables() {
  printf 'GIF89a\x01\x00\x01\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3b' >"$1"
}

test_a_gif_without_colour_tables_costs_one_picture_never_the_show() {
  configure_pictures no-colour-tables
  convert -size 400x300 xc:'rgb(255,0,0)' "BMP3:$PICTURES/1-red.bmp"
  write_gif_without_colour_tables "$PICTURES/2-no-colour-tables.gif"
  convert -size 400x300 xc:'rgb(0,255,0)' "BMP3:$PICTURES/3-green.bmp"
  convert -size 400x300 xc:'rgb(0,0,255)' "BMP3:$PICTURES/4-blue.bmp"
  reg_set SecondsToDisplay 1
  reg_set DisplayImageNumber 0
  reg_set DisplayImageFileName 0
  start_slide_show || return 1
  local n colour last= changes=0 decoders=" " pid
  for n in $(seq 60); do
    sleep 1
    kill -0 "$SCR_PID" 2>/dev/null || { echo "    the show ended after $n seconds"; return 1; }
    for pid in $(decoder_pids); do [[ $decoders == *" $pid "* ]] || decoders+="$pid "; done
    shot no-colour-tables
    colour=$(pixel no-colour-tables 512 384)
    [ -n "$last" ] && [ "$colour" != "$last" ] && changes=$((changes + 1))
    last=$colour
  done
  echo "    $changes changes in 60 s, decoders seen: $(echo $decoders | wc -w)"
  # Three of every four ticks reach a sound picture; a show that stopped would change no more.
  [ "$changes" -ge 20 ] || { echo "    the show stopped changing"; return 1; }
  expect_match "$(end_by key space)" '^[0-9]+$' "a key ends the show" || return 1
  wait_until 3 no_program_left || { echo "    a decoder outlived the show"; return 1; }
}

test_no_decoder_outlives_a_program_that_was_killed() {
  configure_pictures killed
  cp "$GLIMRA_ROOT"/assets/samples/0[12]-* "$PICTURES/"
  reg_set SecondsToDisplay 1
  start_slide_show || return 1
  wait_until 10 decoder_pids >/dev/null || { echo "    no decoder started"; return 1; }
  kill -9 "$SCR_PID"
  wait "$SCR_PID" 2>/dev/null
  SCR_PID=
  wait_until 5 no_program_left || { echo "    the decoder outlived the program"; return 1; }
}

# The decoder is started by the first picture a show decodes, never by a start without one.
test_the_dialog_starts_no_decoder() {
  configure_pictures dialog-only
  cp "$GLIMRA_ROOT"/assets/samples/01-* "$PICTURES/"
  start_scr /c
  wait_visible "$DIALOG" 10 || { echo "    no dialog"; return 1; }
  sleep 1
  expect_eq "$(decoder_pids | wc -l)" 0 "decoders running beside the dialog" || return 1
  close_window "$DIALOG"
  ends_within_ms "$SCR_PID" 5000 || { echo "    the dialog did not end"; return 1; }
}
