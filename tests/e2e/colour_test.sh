# Pictures as their files mean them: photos stored in other colour spaces with their profile
# embedded are shown in sRGB, judged against Pillow's Little CMS; reductions average light.

# Whether two "r,g,b" values differ by at most the tolerance in every channel.
within() {
  local IFS=, tolerance=$3 i d
  local -a a=($1) b=($2)
  for i in 0 1 2; do
    d=$((a[i] - b[i]))
    [ ${d#-} -le "$tolerance" ] || return 1
  done
}

test_embedded_profiles_are_shown_in_srgb() {
  local made="$E2E_OUT/colour-made" failed=0 name patches
  rm -rf "$made" && mkdir -p "$made"
  /usr/bin/python3 "$GLIMRA_ROOT/tests/e2e/colour_pictures.py" "$made" >"$made/expected" ||
    return 1
  while read -r name patches; do
    [[ $name == *@* ]] && continue  # another intent's values, read with their picture's
    configure_pictures "colour-$name"
    cp "$made/$name.jpg" "$PICTURES/"
    # The blank start picture, then the picture after a second.
    reg_set ShowSplashScreen 10
    reg_set SecondsToDisplay 1
    start_slide_show || return 1
    # 480 x 80 is shown as it is, centred: the patches' centres lie on row 384.
    wait_until 10 eval '[ "$(shot "colour-$name"; pixel "colour-$name" 512 384)" != 0,0,0 ]' ||
      return 1
    sleep 0.3
    shot "colour-$name"
    local i=0 seen=() close=1 relative
    relative=$(awk -v n="$name@relative" '$1 == n { $1 = ""; print }' "$made/expected")
    for want in $patches; do
      seen+=("$(pixel "colour-$name" $((312 + 80 * i)) 384)")
      within "${seen[i]}" "$want" 2 || close=0
      i=$((i + 1))
    done
    echo "    $name: shown ${seen[*]}; expected $patches"
    if [ $close -eq 0 ] && [ -n "$relative" ]; then
      # Tables at the relative intent, as Wine's colour management takes them: said out loud.
      echo "    $name at the relative colorimetric intent, which this platform applies:$relative"
      close=1 i=0
      for want in $relative; do
        within "${seen[i]}" "$want" 4 || close=0
        i=$((i + 1))
      done
    fi
    [ $close -eq 1 ] || failed=1
    close_window "$SAVER"
    ends_within_ms "$SCR_PID" 3000 || return 1
  done <"$made/expected"
  [ $failed -eq 0 ] || { echo "    a patch differs from the reference by more than 2"; return 1; }
}

test_reductions_average_light() {
  configure_pictures light
  # Lines one pixel high, 2048 x 1536, shown at 1024 x 768: each screen pixel is half of each.
  /usr/bin/python3 - "$PICTURES" <<'PY' || return 1
import sys
from PIL import Image
for name, a, b in [("grey", (0, 0, 0), (255, 255, 255)), ("yellow", (255, 0, 0), (0, 255, 0))]:
    lines = Image.new("RGB", (2048, 1536), a)
    for y in range(1, 1536, 2):
        lines.paste(b, (0, y, 2048, y + 1))
    lines.save(f"{sys.argv[1]}/{name}.gif")
PY
  reg_set ShowSplashScreen 10
  reg_set SecondsToDisplay 1
  reg_set DisplayInRandomOrder 0
  reg_set displayImageNumber 0
  reg_set DisplayImageFileName 0
  start_slide_show || return 1
  # Half the light of white is 188 in sRGB, not the 128 that averaged numbers give.
  shown_as() { shot "$1" && [[ "$(pixel "$1" 512 384)" =~ $2 ]]; }
  wait_until 10 shown_as light-grey '^([1-9][0-9]*),([1-9][0-9]*),([1-9][0-9]*)$' || return 1
  wait_until 10 shown_as light-yellow '^[1-9][0-9]*,[1-9][0-9]*,0$' || return 1
  local grey yellow
  grey=$(pixel light-grey 512 384)
  yellow=$(pixel light-yellow 512 384)
  echo "    black and white lines at 2:1: $grey; red and green: $yellow"
  within "$grey" 188,188,188 2 || return 1
  within "$yellow" 188,188,0 2 || return 1
  expect_eq "$(pixel light-grey 0 0)" "$grey" "the whole screen alike" || return 1
}
