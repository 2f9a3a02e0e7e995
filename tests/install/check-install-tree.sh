#!/usr/bin/env bash
# Installs a build with `cmake --install --prefix /usr` into a scratch
# DESTDIR and checks what a packager and a user get: manual pages that render
# without warnings, the bash completion, valid AppStream metainfo, the
# library's SONAME and symlinks, pkg-config and CMake files that build a C
# client, and a kalvara-cli that runs from the tree. Every failed check is
# named; the exit status is 1 when any failed.
set -uo pipefail

while (($# > 1)); do
    case $1 in
        --build) build=$2 ;;
        --scratch) scratch_parent=$2 ;;
        --cmake) cmake=$2 ;;
        --cc) cc=$2 ;;
        --gui) gui=$2 ;;
        --man) man_pages=$2 ;;
        --client) client_source=$2 ;;
        --metainfo-check) metainfo_check=$2 ;;
        *) echo "unknown argument $1" >&2; exit 2 ;;
    esac
    shift 2
done

mkdir -p "$scratch_parent"
scratch=$(mktemp -d "$scratch_parent/tree.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
usr=$root/usr
# Nothing below may read or write the real home folder.
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config
export XDG_CACHE_HOME=$scratch/home/cache XDG_DATA_HOME=$scratch/home/data
unset KALVARA_HOME
mkdir -p "$HOME"

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

if ! DESTDIR=$root "$cmake" --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log"
    echo "FAILED: cmake --install"
    exit 1
fi

# Every file installed lies below the prefix and landed inside DESTDIR.
while read -r installed; do
    [[ $installed == /usr/* && -e $root$installed ]] || fail "installed outside DESTDIR: $installed"
done <"$build/install_manifest.txt"
# The tree is for /usr, whatever prefix the build was configured with.
grep -qx 'prefix=/usr' "$usr/lib/pkgconfig/kalvaraproc.pc" || fail "kalvaraproc.pc is not for /usr"

# --- programs, doc, desktop data -------------------------------------------
[[ -x $usr/bin/kalvara-cli ]] || fail "no bin/kalvara-cli"
for doc in README.md LICENSE; do
    [[ -f $usr/share/doc/kalvara/$doc ]] || fail "no share/doc/kalvara/$doc"
done
desktop_data=(
    share/applications/com.kalvara.kalvara.desktop
    share/metainfo/com.kalvara.kalvara.metainfo.xml
    share/icons/hicolor/256x256/apps/kalvara.png
    share/icons/hicolor/scalable/apps/kalvara.svg
    share/kalvara/History.rtf
    share/kalvara/help
    share/kalvara/Graphics
)
for entry in "${desktop_data[@]}" bin/kalvara; do
    if [[ $gui == 1 && ! -e $usr/$entry ]]; then
        fail "desktop program without $entry"
    elif [[ $gui != 1 && -e $usr/$entry ]]; then
        fail "command-line-only build installs $entry"
    fi
done
if [[ $gui == 1 ]]; then
    sh "$metainfo_check" "$usr/share/metainfo/com.kalvara.kalvara.metainfo.xml"
    case $? in
        0 | 77) ;;
        *) fail "installed metainfo does not validate" ;;
    esac
    if command -v desktop-file-validate >/dev/null; then
        desktop-file-validate "$usr/share/applications/com.kalvara.kalvara.desktop" ||
            fail "installed desktop entry does not validate"
    fi
fi

# --- manual pages -----------------------------------------------------------
if [[ $man_pages == 1 ]]; then
    pages=(kalvara-cli)
    [[ $gui == 1 ]] && pages+=(kalvara)
    for page in "${pages[@]}"; do
        file=$usr/share/man/man1/$page.1.gz
        if [[ ! -f $file ]]; then
            fail "no manual page $page(1)"
            continue
        fi
        gzip -t "$file" || fail "$page.1.gz is not gzip"
        if command -v man >/dev/null; then
            warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 >"$scratch/$page.txt")
            [[ -z $warnings ]] || fail "$page(1) renders with warnings: $warnings"
            grep -q "EXIT STATUS" "$scratch/$page.txt" || fail "$page(1) has no EXIT STATUS"
            grep -q "KALVARA_HOME" "$scratch/$page.txt" || fail "$page(1) has no environment"
        fi
    done
    if command -v man >/dev/null; then
        for command in months weeks date week month quarter ics generate; do
            grep -Eq "^ +$command( |$)" "$scratch/kalvara-cli.txt" ||
                fail "kalvara-cli(1) does not describe $command"
        done
    fi
fi

# --- bash completion --------------------------------------------------------
completion=$usr/share/bash-completion/completions/kalvara-cli
if [[ ! -f $completion ]]; then
    fail "no bash completion in share/bash-completion/completions"
else
    styles=$(bash -c 'source "$1" && COMP_WORDS=(kalvara-cli generate --style "") &&
        COMP_CWORD=3 && _kalvara_cli && echo "${COMPREPLY[*]}"' _ "$completion")
    [[ $styles == "month quarter year 3years strips planning" ]] ||
        fail "completion of --style gives '$styles'"
fi

# --- the process library ----------------------------------------------------
lib=$usr/lib
[[ $(readlink "$lib/libkalvaraproc.so") == libkalvaraproc.so.1 ]] ||
    fail "libkalvaraproc.so does not point at libkalvaraproc.so.1"
real=$lib/$(readlink "$lib/libkalvaraproc.so.1")
if [[ ! -f $real ]]; then
    fail "libkalvaraproc.so.1 points at nothing"
else
    soname=$(readelf -d "$real" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
    [[ $soname == libkalvaraproc.so.1 ]] || fail "SONAME is '$soname'"
fi

# pkg-config with the sysroot prefix, as a cross or staged build would use it.
flags=$(PKG_CONFIG_PATH=$lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=$root \
    pkg-config --cflags --libs kalvaraproc)
if [[ $? -ne 0 ]]; then
    fail "pkg-config does not know kalvaraproc"
else
    client=$scratch/pc-client
    # shellcheck disable=SC2086
    if ! "$cc" -std=c11 -Wall -Werror -o "$client" "$client_source" $flags; then
        fail "the C client does not build with: $flags"
    elif ! LD_LIBRARY_PATH=$lib "$client"; then
        fail "the pkg-config client does not run"
    fi
fi

# find_package, from a project of its own.
project=$scratch/cmake-client
mkdir -p "$project"
cp "$client_source" "$project/client.c"
cat >"$project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(client C)
find_package(kalvaraproc 1 REQUIRED)
add_executable(cmake-client client.c)
target_link_libraries(cmake-client PRIVATE kalvaraproc::kalvaraproc)
CMAKE
if ! "$cmake" -S "$project" -B "$project/build" -DCMAKE_PREFIX_PATH="$usr" \
    -DCMAKE_C_COMPILER="$cc" -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$scratch/client.log" 2>&1 ||
    ! "$cmake" --build "$project/build" >>"$scratch/client.log" 2>&1; then
    cat "$scratch/client.log"
    fail "find_package(kalvaraproc) does not build the C client"
elif ! LD_LIBRARY_PATH=$lib "$project/build/cmake-client"; then
    fail "the find_package client does not run"
fi

# --- the installed command line ---------------------------------------------
months=$("$usr/bin/kalvara-cli" --home "$scratch/home/kalvara" months 2026 --format csv)
[[ $? -eq 0 && $months == year,month,name,first,last,weeks* && $(wc -l <<<"$months") -eq 13 ]] ||
    fail "installed kalvara-cli months 2026 gave: $months"
pdf=$scratch/year.pdf
"$usr/bin/kalvara-cli" --home "$scratch/home/kalvara" generate --style year --year 2026 \
    -o "$pdf" >/dev/null || fail "installed kalvara-cli cannot generate"
[[ $(head -c 5 "$pdf" 2>/dev/null) == %PDF- ]] || fail "installed kalvara-cli wrote no PDF"

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install tree under $root checked"
