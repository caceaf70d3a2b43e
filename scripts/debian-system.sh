# Sourced by the scripts that build or install in a fresh Debian system of
# their own: debootstrap makes it in a directory, from the archive the
# machine's apt already uses. Needs root.
#   debian_archive                    prints the Debian archive's URI
#   system_make <release> <dir> [debootstrap option]...
#                                     a fresh minimal system in <dir>
#   system_mount <dir>                /proc, /sys and /dev inside it
#   system_run <dir> <command>...     runs a command in it as root, with a
#                                     clean environment (CI passes through)
#   system_remove <dir>               unmounts and removes it; a directory
#                                     with a mount left is left in place
#   foreign_cpu_ready <arch>          the machine runs programs of Debian's
#                                     <arch> (arm64, armhf, s390x, ppc64el)
#                                     through qemu-user, in chroots too

# The archive apt reads Debian's own suites from (not security, not a
# third party's), as apt itself reports it.
debian_archive() {
  local site
  site=$(apt-get indextargets --format '$(ORIGIN) $(LABEL) $(SITE)' 2>/dev/null |
    awk '$1 == "Debian" && $2 == "Debian" {print $3; exit}')
  if [[ -z $site ]]; then
    apt-get update -qq >&2
    site=$(apt-get indextargets --format '$(ORIGIN) $(LABEL) $(SITE)' |
      awk '$1 == "Debian" && $2 == "Debian" {print $3; exit}')
  fi
  [[ -n $site ]] || { echo "debian-system: apt uses no Debian archive" >&2; return 1; }
  echo "$site"
}

ensure_debootstrap() {
  command -v debootstrap >/dev/null && return 0
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
}

system_make() {
  local release=$1 dir=$2
  shift 2
  local archive
  archive=$(debian_archive)
  ensure_debootstrap
  echo "== debootstrap $release from $archive into $dir"
  mkdir -p "$dir"
  debootstrap --variant=minbase "$@" "$release" "$dir" "$archive" >"$dir.debootstrap.log" 2>&1 || {
    echo "debian-system: debootstrap failed:" >&2
    tail -n 5 "$dir.debootstrap.log" >&2
    return 1
  }
  cp /etc/resolv.conf "$dir/etc/resolv.conf"
  # Unstable's and testing's Release files say they expire within a week; a
  # snapshot of the archive outlives that. The system lives for one run, so
  # its apt, and only its apt, takes the Release file as it is.
  echo 'Acquire::Check-Valid-Until "false";' >"$dir/etc/apt/apt.conf.d/90valid-until"
  # Packages set up in the system start no services.
  printf '#!/bin/sh\nexit 101\n' >"$dir/usr/sbin/policy-rc.d"
  chmod 755 "$dir/usr/sbin/policy-rc.d"
}

system_mount() {
  local dir=$1
  mount -t proc proc "$dir/proc"
  mount -t sysfs sysfs "$dir/sys"
  # /dev with /dev/pts and /dev/shm; a slave, so that unmounting inside
  # never reaches the machine's own.
  mount --rbind /dev "$dir/dev"
  mount --make-rslave "$dir/dev"
}

system_run() {
  local dir=$1
  shift
  chroot "$dir" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" DEBIAN_FRONTEND=noninteractive ${CI:+CI=$CI} "$@"
}

system_remove() {
  local dir=$1 target
  [[ -d $dir ]] || return 0
  # Deepest first, each lazily, so that a process still in the system does
  # not keep it.
  for target in $(findmnt -rn -o TARGET | grep "^$dir/" | sort -r); do
    umount -l "$target" 2>/dev/null || true
  done
  # Never remove through a mount that is still there: it would reach the
  # machine's /dev or /sys.
  if findmnt -rn -o TARGET | grep -q "^$dir/"; then
    echo "debian-system: $dir still has mounts; left in place" >&2
    return 1
  fi
  rm -rf "$dir" "$dir.debootstrap.log"
}

# qemu-user's name of each Debian CPU.
declare -A qemu_cpus=([arm64]=aarch64 [armhf]=arm [s390x]=s390x [ppc64el]=ppc64le [i386]=i386 [riscv64]=riscv64)

foreign_cpu_ready() {
  local arch=$1 cpu binfmt=/proc/sys/fs/binfmt_misc
  cpu=${qemu_cpus[$arch]:-}
  [[ -n $cpu ]] || { echo "debian-system: qemu has no CPU for $arch" >&2; return 1; }
  if [[ ! -e /usr/lib/binfmt.d/qemu-$cpu.conf ]]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null
  fi
  # A machine without systemd-binfmt or binfmt-support has neither mounted
  # binfmt_misc nor told it about qemu. qemu-user-static's entry carries the
  # F flag: the kernel opens qemu once, so a chroot needs no copy of it.
  [[ -e $binfmt/register ]] || mount -t binfmt_misc binfmt_misc "$binfmt"
  [[ -e $binfmt/qemu-$cpu ]] || grep -v '^#' "/usr/lib/binfmt.d/qemu-$cpu.conf" >"$binfmt/register"
  [[ $(head -n1 "$binfmt/qemu-$cpu") == enabled ]] || {
    echo "debian-system: binfmt_misc has qemu-$cpu disabled" >&2
    return 1
  }
}
