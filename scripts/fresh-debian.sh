#!/usr/bin/env bash
# Runs the README's two commands the way a newcomer meets them: on a fresh, minimal Debian 12
# (debootstrap --variant=minbase bookworm), entered with chroot, with the tree copied in as a clone
# has it. Each command gets a system of its own, fresh from the cache, so what it installs is all
# it has. Two users:
#   root  as root, the tree in /root/strivex (/root is mode 700, as on most fresh machines);
#   user  as an ordinary user who may use sudo, the tree in "~/strivex tree" under a home of mode
#         700 (a path with a space in it).
#
# Usage (as root): scripts/fresh-debian.sh [run|test|all] [root|user|both]   (default: all both)
#   run   scripts/run.sh without a display: it must end naming the robot's frames, and they must
#         be there; then, with this machine's Xvfb as its display (where it has Xvfb and xdotool),
#         it must open the viewer's window;
#   test  scripts/test.sh: every test must run and pass.
# Prints each command's wall time; exits non-zero with the failing command's last lines.
#
# What it copies is the tracked files as they stand in the work tree (uncommitted edits included,
# untracked files not). The minimal system is made once and kept as a tarball in
# $STRIVEX_FRESH_CACHE (default /var/cache/strivex-fresh-debian), beside the Debian packages the
# commands downloaded, so a later run downloads nothing it already has. Debian's archive must be
# reachable.
set -euo pipefail
cd "$(dirname "$0")/.."

commands=${1:-all}
users=${2:-both}
case "$commands" in run) commands=(run) ;; test) commands=(test) ;; all) commands=(run test) ;;
  *) echo "usage: scripts/fresh-debian.sh [run|test|all] [root|user|both]" >&2; exit 2 ;; esac
case "$users" in root) users=(root) ;; user) users=(user) ;; both) users=(root user) ;;
  *) echo "usage: scripts/fresh-debian.sh [run|test|all] [root|user|both]" >&2; exit 2 ;; esac
[[ $(id -u) -eq 0 ]] || { echo "fresh-debian: debootstrap, chroot and mount need root" >&2; exit 1; }

cache=${STRIVEX_FRESH_CACHE:-/var/cache/strivex-fresh-debian}
mirror=http://deb.debian.org/debian
base="$cache/bookworm-minbase.tar"
mkdir -p "$cache/archives/partial"
exec 9> "$cache/lock"
flock -n 9 || { echo "fresh-debian: another run is using $cache" >&2; exit 1; }
logs=$(mktemp -d /tmp/strivex-fresh-logs-XXXXXX)

if [[ ! -s "$base" ]]; then
  command -v debootstrap > /dev/null || {
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap > /dev/null; }
  echo "== making a minimal Debian 12 with debootstrap (kept in $base)"
  made=$(mktemp -d /var/tmp/strivex-debootstrap-XXXXXX)
  debootstrap --variant=minbase bookworm "$made" "$mirror" > "$logs/debootstrap.log" 2>&1 || {
    tail -30 "$logs/debootstrap.log"; rm -rf --one-file-system "$made"; exit 1; }
  # A Debian 12 installation takes its updates and security fixes too.
  cat > "$made/etc/apt/sources.list" <<SOURCES
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb http://deb.debian.org/debian-security bookworm-security main
SOURCES
  tar -C "$made" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$made"
fi

# The tracked files of the work tree, as a commit of them would hold them.
snapshot=$(git -c user.name=fresh-debian -c user.email=fresh-debian@localhost stash create)
git archive --format=tar "${snapshot:-HEAD}" > "$logs/tree.tar"

system=""
unmount_system() {
  [[ -n "$system" && -d "$system" ]] || return 0
  local mounted process
  # What a command left running in it (a server of a failed test) goes first.
  for process in /proc/[0-9]*; do
    [[ "$(readlink "$process/root" 2> /dev/null)" == "$system" ]] && kill -9 "${process#/proc/}" 2> /dev/null
  done
  for mounted in tmp/.X11-unix var/cache/apt/archives sys dev/pts dev proc; do
    mountpoint -q "$system/$mounted" && umount -l "$system/$mounted"
  done
  # Nothing of the host may still be mounted below it when it is removed.
  if findmnt -rn -o TARGET | grep -q "^$system/"; then
    echo "fresh-debian: $system still has mounts; left in place" >&2
  else
    rm -rf --one-file-system "$system"
  fi
  system=""
}
trap unmount_system EXIT

# A fresh system with the tree in place for `who`; sets $system and $workdir.
new_system() {
  local who=$1
  system=$(mktemp -d /var/tmp/strivex-fresh-XXXXXX)
  tar -C "$system" -xf "$base"
  chmod 755 "$system"  # its root directory, which every user must be able to enter
  cp /etc/resolv.conf "$system/etc/resolv.conf"
  mount --bind /proc "$system/proc"
  mount --bind /dev "$system/dev"
  mount --bind /dev/pts "$system/dev/pts"
  mount --bind /sys "$system/sys"
  mount --bind "$cache/archives" "$system/var/cache/apt/archives"
  if [[ $who == root ]]; then
    workdir=/root/strivex
    chmod 700 "$system/root"
  else
    # The user's right to install is set up as an administrator would: sudo, without a password.
    chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin bash -c '
      apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq sudo > /dev/null &&
      useradd --create-home --shell /bin/bash newcomer && chmod 700 /home/newcomer &&
      echo "newcomer ALL=(ALL) NOPASSWD: ALL" > /etc/sudoers.d/newcomer' > "$logs/sudo.log" 2>&1 || {
      tail -20 "$logs/sudo.log"; return 1; }
    workdir="/home/newcomer/strivex tree"
  fi
  mkdir -p "$system$workdir"
  tar -C "$system$workdir" -xf "$logs/tree.tar"
  [[ $who == root ]] || chroot "$system" chown -R newcomer: "$workdir"
}

# Runs `script` in the system as `who` with a login's clean environment (no display).
run_as() {
  local who=$1 script=$2
  local quoted
  quoted=$(printf '%q' "$workdir")
  if [[ $who == root ]]; then
    chroot "$system" /usr/bin/env -i HOME=/root LANG=C.UTF-8 PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      bash -c "cd $quoted && $script"
  else
    chroot "$system" runuser -l newcomer -c "cd $quoted && $script"
  fi
}

# With a display, run.sh must open the viewer's window. This machine's Xvfb serves as the display,
# its socket bound into the system, and the command runs again there (nothing is left to install
# or build). Prints how it went; false when no window came.
opens_window() {
  local who=$1 log=$2 number="" shown=""
  if ! command -v Xvfb > /dev/null || ! command -v xdotool > /dev/null; then
    echo "   the window was not checked: this machine has no Xvfb or xdotool (scripts/install-deps.sh --tests)"
    return 0
  fi
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3> "$logs/display" 2> /dev/null &
  local server=$!
  for _ in $(seq 100); do [[ -s "$logs/display" ]] && break; sleep 0.1; done
  number=$(head -1 "$logs/display")
  mkdir -p "$system/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$system/tmp/.X11-unix"
  run_as "$who" "DISPLAY=:$number scripts/run.sh" > "$log" 2>&1 &
  for _ in $(seq 120); do
    shown=$(DISPLAY=:$number xdotool search --onlyvisible --name '^Ambulon$' 2> /dev/null || true)
    [[ -n "$shown" ]] && break
    sleep 1
  done
  [[ -n "$shown" ]] && echo "   with a display (Xvfb :$number) it opened the window \"Ambulon\""
  unmount_system  # ends the viewer with the rest of what runs in the system
  kill "$server" 2> /dev/null
  wait 2> /dev/null || true
  [[ -n "$shown" ]]
}

failed=0
for command in "${commands[@]}"; do
  for who in "${users[@]}"; do
    log="$logs/$command-$who.log"
    echo "== scripts/$command.sh as $who in $( [[ $who == root ]] && echo /root/strivex || echo '~/strivex tree' )"
    new_system "$who"
    start=$(date +%s)
    status=0
    run_as "$who" "scripts/$command.sh" > "$log" 2>&1 || status=$?
    if [[ $command == run && $status -eq 0 ]]; then
      # It must end naming the first frame of the walk, and that frame must be there.
      first=$(compgen -G "$system$workdir/build/walk/image000.*" | head -1 || true)
      if [[ ! -s "$first" ]] || ! tail -1 "$log" | grep -qF "${first#"$system"}"; then
        echo "fresh-debian: the run did not end by naming a frame of the walk that is there" >> "$log"
        status=1
      fi
    fi
    seconds=$(( $(date +%s) - start ))
    if (( status == 0 )); then
      echo "   passed in $((seconds / 60)) min $((seconds % 60)) s; its last line: $(tail -1 "$log")"
      # What the tests ran and what they could not check here.
      grep -E "tests passed|\*\*\*Skipped|\[  SKIPPED \]" "$log" | sed 's/^/   | /' || true
    else
      echo "   FAILED (status $status) after $((seconds / 60)) min $((seconds % 60)) s; its last lines:"
      tail -40 "$log" | sed 's/^/   | /'
      failed=1
    fi
    if [[ $command == run && $status -eq 0 ]] && ! opens_window "$who" "$log.window"; then
      echo "   FAILED: with a display, no window came in 120 s; the run's last lines:"
      tail -40 "$log.window" | sed 's/^/   | /'
      failed=1
    fi
    unmount_system
  done
done
rm -rf "$logs"
exit $failed
