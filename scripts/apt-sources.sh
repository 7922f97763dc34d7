# Sourced: the Debian archives this machine's apt fetches from (a local mirror or proxy included),
# read from its deb822 .sources files and its one-line sources.list and .list files, so that the
# scripts fetch from the same place and name no host of their own.
#   debian_mirror            QUAVERLINE_MIRROR, else the archive of this release's own suite
#   debian_security_mirror   QUAVERLINE_SECURITY_MIRROR, else the archive of its -security suite
# APT_SOURCES_DIR reads another apt configuration folder than /etc/apt.

# apt_source_uri <suite>: the first URI of the first enabled "deb" source for exactly that suite.
apt_source_uri() {
  local suite=$1 dir=${APT_SOURCES_DIR:-/etc/apt} file uri
  for file in "$dir"/sources.list "$dir"/sources.list.d/*.list; do
    [[ -f $file ]] || continue
    uri=$(awk -v suite="$suite" '
      $1 == "deb" {
        i = 2
        if ($i ~ /^\[/) { while (i <= NF && $i !~ /\]$/) i++; i++ }
        if ($(i + 1) == suite) { print $i; exit }
      }' "$file")
    [[ -z $uri ]] || { echo "${uri%/}"; return; }
  done
  for file in "$dir"/sources.list.d/*.sources; do
    [[ -f $file ]] || continue
    uri=$(grep -v '^[[:space:]]*#' "$file" | awk -v suite="$suite" '
      BEGIN { RS = ""; FS = "\n" }
      {
        delete field
        for (i = 1; i <= NF; i++) {
          colon = index($i, ":")
          if (colon == 0) continue
          key = tolower(substr($i, 1, colon - 1))
          field[key] = " " substr($i, colon + 1) " "
          gsub(/[ \t]+/, " ", field[key])
        }
        if (field["enabled"] ~ / no /) next
        if (field["types"] ~ / deb / && field["suites"] ~ (" " suite " ")) {
          split(field["uris"], uris, " ")
          print uris[1]
          exit
        }
      }')
    [[ -z $uri ]] || { echo "${uri%/}"; return; }
  done
  return 1
}

# This machine's Debian release, e.g. bookworm.
debian_codename() { (. "${OS_RELEASE:-/etc/os-release}" && echo "${VERSION_CODENAME:?no VERSION_CODENAME in os-release}"); }

debian_mirror() {
  [[ -z ${QUAVERLINE_MIRROR:-} ]] || { echo "$QUAVERLINE_MIRROR"; return; }
  local codename
  codename=$(debian_codename) && apt_source_uri "$codename" ||
    { echo "no apt source for Debian $codename here; set QUAVERLINE_MIRROR" >&2; return 1; }
}

debian_security_mirror() {
  [[ -z ${QUAVERLINE_SECURITY_MIRROR:-} ]] || { echo "$QUAVERLINE_SECURITY_MIRROR"; return; }
  local codename
  codename=$(debian_codename) && apt_source_uri "$codename-security" ||
    { echo "no apt source for Debian $codename-security here; set QUAVERLINE_SECURITY_MIRROR" >&2; return 1; }
}
