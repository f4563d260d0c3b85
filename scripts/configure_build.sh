# configure_build PRESET DIR [CMAKE_ARGUMENT...]: configures the build
# folder DIR with the configure preset PRESET of CMakePresets.json (default,
# demo, sanitize, fuzz, windows: generator, build type, options, compilers),
# the arguments given and the words of $VARNEL_CMAKE_ARGS (this machine's
# own, a compiler launcher such as ccache for instance). Sourced by the
# scripts that configure, from the source tree's root.
#
# What the folder was configured with is kept in DIR/varnel-configure.txt:
#   the same preset and arguments   nothing to do (the build itself runs
#                                   CMake again when a CMakeLists.txt changes)
#   another preset, same arguments  configured again over its cache
#   other arguments                 configured afresh (--fresh), so that an
#                                   argument taken away is gone as well
#   a folder without that record    configured again over its cache
configure_build() {
  local preset=$1 dir=$2
  shift 2
  # shellcheck disable=SC2206  # the machine's arguments split into words, as typed
  local arguments=("$@" ${VARNEL_CMAKE_ARGS:-})
  local record="$dir/varnel-configure.txt"
  local wanted="preset $preset"$'\n'"arguments" argument
  for argument in "${arguments[@]}"; do wanted+=" $(printf '%q' "$argument")"; done
  local fresh=()
  if [ -f "$dir/CMakeCache.txt" ] && [ -f "$record" ]; then
    [ "$(cat "$record")" = "$wanted" ] && return 0
    [ "$(sed -n 's/^arguments//p' "$record")" = "$(sed -n 's/^arguments//p' <<<"$wanted")" ] || fresh=(--fresh)
  fi
  rm -f "$record"  # kept only once a configuration has succeeded
  cmake --preset "$preset" -S . -B "$dir" "${fresh[@]}" "${arguments[@]}" || return
  printf '%s\n' "$wanted" >"$record"
}
