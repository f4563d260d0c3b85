# install_packages [--why TEXT] PACKAGE... [--why TEXT PACKAGE...]...:
# installs with apt-get (as root, or through sudo) those of the Debian
# packages that are not installed yet, first saying on one line per group
# (a --why and the packages after it) which it installs and what for.
# Another apt-get or dpkg at work (an unattended upgrade, another script) is
# waited for, up to ten minutes: apt's own lock timeout (DPkg::Lock::Timeout)
# for the installation, and a new try every five seconds for the package
# lists, whose lock apt-get update does not wait for.
# VARNEL_APT_NO_RECOMMENDS=1 leaves out the packages the named ones only
# recommend (the demo's quick setup). Sourced by the project's scripts.
install_packages() {
  local why="the project" group="" p sudo_cmd=""
  local -a missing=() said=() recommends=()
  while [ $# -gt 0 ]; do
    if [ "$1" = --why ]; then
      [ -z "$group" ] || said+=("Installing for $why:$group")
      why="$2"
      group=""
      shift 2
      continue
    fi
    p="$1"
    shift
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
      group+=" $p"
    fi
  done
  [ -z "$group" ] || said+=("Installing for $why:$group")
  [ ${#missing[@]} -gt 0 ] || return 0
  printf '%s\n' "${said[@]}" >&2
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  [ "${VARNEL_APT_NO_RECOMMENDS:-0}" = 1 ] && recommends=(--no-install-recommends)
  apt_waiting_for_lock $sudo_cmd apt-get update -qq
  apt_waiting_for_lock $sudo_cmd env DEBIAN_FRONTEND=noninteractive \
    apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${recommends[@]}" "${missing[@]}" >/dev/null
}

# apt_waiting_for_lock COMMAND...: runs an apt-get command again while it
# fails only because another apt-get or dpkg holds a lock, up to ten minutes.
apt_waiting_for_lock() {
  local errors status waited=0
  errors="$(mktemp)"
  while :; do
    status=0
    "$@" 2>"$errors" || status=$?
    if [ "$status" -eq 0 ] || ! grep -q "Could not get lock\|Unable to lock" "$errors" || [ "$waited" -ge 600 ]; then
      cat "$errors" >&2
      rm -f "$errors"
      return "$status"
    fi
    [ "$waited" -gt 0 ] || echo "Waiting for another apt-get or dpkg to finish..." >&2
    sleep 5
    waited=$((waited + 5))
  done
}
