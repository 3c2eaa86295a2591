# The Windows Installer package on the real msiexec of Wine: it installs the program into the
# system folder with its help page, the installed program shows the sample pictures and opens
# the installed help page, a newer package replaces an older one in place, and removing it
# leaves nothing of ours and every user setting.

MSI="$GLIMRA_ROOT/build/windows/Glimra.msi"
system_dir() { echo "$WINEPREFIX/drive_c/windows/system32"; }
INSTALLED='C:\windows\system32\Glimra.scr'
UNINSTALL_KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

msiexec_run() { wine msiexec "$@" /qn >/dev/null 2>&1; }

# How many installed products the system lists as Glimra ScreenSaver, and their versions.
installed_products() {
  local export="$E2E_OUT/uninstall-key.reg"
  rm -f "$export"
  wine reg export "$UNINSTALL_KEY" "$(winepath -w "$export" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1
  iconv -f UTF-16LE -t UTF-8 "$export" 2>/dev/null | tr -d '\r' |
    awk '/^\[/ {ours=0} /"DisplayName"="Glimra ScreenSaver"/ {ours=1; n++}
         ours && /"DisplayVersion"=/ {sub(/.*="/, ""); sub(/"$/, ""); v=v " " $0}
         END {print n+0 v}'
}

# How many products the installer itself keeps registered as Glimra ScreenSaver.
registered_products() {
  local export="$E2E_OUT/installer-products.reg"
  rm -f "$export"
  wine reg export 'HKLM\Software\Classes\Installer\Products' \
    "$(winepath -w "$export" 2>/dev/null | tr -d '\r')" >/dev/null 2>&1
  iconv -f UTF-16LE -t UTF-8 "$export" 2>/dev/null | grep -c '"ProductName"="Glimra ScreenSaver"'
}

# Nothing of ours in the system folder, and no product of ours listed or registered.
nothing_installed() {
  [ ! -e "$(system_dir)/Glimra.scr" ] && [ ! -e "$(system_dir)/help/glimrascreensaver.htm" ] &&
    [ ! -d "$(system_dir)/help" ] && [ "$(installed_products)" = 0 ] &&
    [ "$(registered_products)" = 0 ]
}

test_the_package_installs_shows_helps_and_uninstalls_keeping_the_users_settings() {
  msiexec_run /x "$MSI"
  nothing_installed || { echo "    the prefix already holds the program"; return 1; }
  msiexec_run /i "$MSI" || { echo "    msiexec /i failed"; return 1; }
  local result=0
  cmp -s "$(system_dir)/Glimra.scr" "$SCR" || { echo "    Glimra.scr not installed"; result=1; }
  cmp -s "$(system_dir)/help/glimrascreensaver.htm" "$GLIMRA_ROOT/help/glimrascreensaver.htm" ||
    { echo "    help page not installed"; result=1; }
  expect_eq "$(installed_products)" "1 1.0.203" "listed once, at the program's version" || result=1
  expect_eq "$(registered_products)" 1 "registered once" || result=1

  local SCR="$INSTALLED"  # the helpers below start the installed program
  configure_pictures installed-pictures
  cp "$GLIMRA_ROOT"/assets/samples/* "$PICTURES/"
  reg_set SecondsToDisplay 1
  reg_set DisplayInRandomOrder 0
  reg_set ShowSplashScreen 10  # past the start picture: the blank one until the first sample
  xdotool mousemove 1 1
  if start_slide_show; then
    picture_on_screen() {
      shot installed-slide-show
      [ "$(brightest installed-slide-show 200x200+412+284)" -gt 0 ]
    }
    wait_until 10 picture_on_screen || { echo "    no picture shown"; result=1; }
    end_by key space >/dev/null
  else
    result=1
  fi

  note_opened_pages
  if open_dialog; then
    xdotool key alt+h
    help_page_in_view() { [[ $(control "picOptions(4)") =~ ^visible\ enabled ]]; }
    wait_until 10 help_page_in_view || result=1
    local left top
    read -r _ _ left top _ _ <<<"$(control "picOptions(4)")"
    xdotool mousemove $((left + 8 + 128 + 20)) $((top + 168 + 8)) click 1
    expect_match "$(opened_page)" '^C:\\windows\\system32\\help\\glimrascreensaver\.htm$' \
      "the installed help page" || result=1
    close_window "$DIALOG"
    ends_within_ms "$SCR_PID" 5000 || result=1
  else
    result=1
  fi
  forget_opened_pages

  msiexec_run /x "$MSI" || { echo "    msiexec /x failed"; result=1; }
  nothing_installed || { echo "    something of ours is left"; result=1; }
  expect_eq "$(reg_get Path)" "$(winepath -w "$PICTURES" 2>/dev/null | tr -d '\r')" \
    "the user's settings stay" || result=1
  expect_eq "$(reg_get SecondsToDisplay)" 1 || result=1
  return $result
}

test_a_newer_package_replaces_an_older_one_in_place() {
  local older="$E2E_OUT/Glimra-older.msi"
  rm -f "$older"
  (cd "$GLIMRA_ROOT/build/windows" &&
    wixl --arch x64 -D Version=1.0.202 -D Program=Glimra.scr -D HelpPage=help/glimrascreensaver.htm \
      -o "$older" "$GLIMRA_ROOT/installer/Glimra.wxs" >/dev/null 2>&1) ||
    { echo "    no older package"; return 1; }
  msiexec_run /x "$MSI"
  msiexec_run /i "$older" || { echo "    the older package did not install"; return 1; }
  local result=0
  expect_eq "$(installed_products)" "1 1.0.202" || result=1
  msiexec_run /i "$MSI" || { echo "    the upgrade failed"; result=1; }
  expect_eq "$(installed_products)" "1 1.0.203" "one copy, the newer" || result=1
  [ -f "$(system_dir)/Glimra.scr" ] && [ -f "$(system_dir)/help/glimrascreensaver.htm" ] ||
    { echo "    the upgrade lost a file"; result=1; }
  msiexec_run /i "$older"
  expect_eq "$(installed_products)" "1 1.0.203" "an older package never replaces a newer" ||
    result=1
  msiexec_run /x "$MSI"
  nothing_installed || { echo "    something of ours is left"; result=1; }
  return $result
}
