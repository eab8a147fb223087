#!/usr/bin/env bash
# Installs the Debian packages the suite needs, and the locales of the languages
# PioScreen is shown in. Quiet and quick when all are there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The fonts of Chinese, Japanese, Korean and Thai machines stand in for those of
# Windows: WenQuanYi Micro Hei (Chinese), VL Gothic (Japanese), Nanum (Korean),
# Loma (Thai). Without Wine's preloader, Linux may place a library where Wine must
# map the shared user data: about one start in 3,000 then ends at once with code 1
# and nothing printed (a test's driver or the program itself never ran).
packages=(cmake g++ ninja-build mingw-w64 g++-mingw-w64-x86-64 g++-mingw-w64-i686
          wine wine64 wine64-preloader xvfb xauth xdotool imagemagick x11-apps googletest
          libbenchmark-dev fonts-dejavu-core fonts-dejavu-extra python3 python3-pil file
          wixl msitools
          locales fonts-wqy-microhei fonts-vlgothic fonts-nanum fonts-tlwg-loma-ttf)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine gives a program the ANSI code page of the locale it starts in (LANG), but
# only of a locale that glibc has: each language file names its machine's locale.
have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
for locale in $(sed -n 's/^; locale \([A-Za-z_]*\).*/\1/p' \
                  "$root"/standins/DiZovadAzir/Languages/*.txt | sort -u); do
  lower=$(echo "$locale.utf8" | tr 'A-Z' 'a-z')
  grep -qx "$lower" <<<"$have" && continue
  echo "Making the locale $locale.UTF-8"
  $SUDO localedef -i "$locale" -f UTF-8 "$locale.UTF-8" || echo "localedef: $locale.UTF-8 not made"
done
