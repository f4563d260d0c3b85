# debian_source PACKAGE DIR: Debian's source package, with Debian's patches
# applied, unpacked in DIR/PACKAGE-VERSION, through a source list of our own
# (the system's Debian sources as deb-src) and an apt state under DIR; the
# system's apt sources are never touched. Prints the tree's path. Sourced by
# the stages that build a library from Debian's source.
debian_source() {
  local package=$1 dir=$2
  local apt_dir="$dir/apt"
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && grep -q 'debian' "$f" && sed 's/^Types: deb$/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list >"$apt_dir/sources.list.d/system.list"
  fi
  local apt_options=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
                     -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o APT::Sandbox::User=root)
  apt-get "${apt_options[@]}" update -qq >/dev/null
  (cd "$dir" && apt-get "${apt_options[@]}" source -qq "$package" >/dev/null 2>&1)
  rm -rf "$apt_dir"
  find "$dir" -maxdepth 1 -type d -name "$package-*" | head -1
}
