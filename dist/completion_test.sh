#!/usr/bin/env bash
# The bash completion of vorlix-cli, against the built program: it offers
# only commands and options that the program takes, the values of options,
# and the files that each argument wants; words the program's --help does
# not name stay out until it does.
#
# Usage: completion_test.sh COMPLETION_FILE VORLIX_CLI
set -uo pipefail
completion=$1
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VORLIX_SETTINGS="$work/settings.ini" LC_ALL=C

# shellcheck source=/dev/null
source "$completion"
failures=0
passes=0

# The words offered for the command line $1, whose last word is being typed,
# sorted, on one line.
offered() {
    local line=$1
    read -r -a COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vorlix_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local what=$1 got=$2 want=$3
    if [[ $got == "$want" ]]; then
        passes=$((passes + 1))
    else
        echo "FAIL: $what: offered \"$got\", expected \"$want\""
        failures=$((failures + 1))
    fi
}

# Everything offered as a command is a command the program takes, and
# everything offered as its option is an option it takes.
commands=$(offered "$cli ")
for word in info list export patch apply fill sample --help --version; do
    [[ " $commands " == *" $word "* ]] || { echo "FAIL: $word not offered"; failures=$((failures + 1)); }
done
for command in $commands; do
    [[ $command == -* ]] && continue
    if "$cli" "$command" 2>&1 | grep -q "unknown command"; then
        echo "FAIL: offered command $command is unknown to vorlix-cli"
        failures=$((failures + 1))
    fi
    for option in $(offered "$cli $command -"); do
        if "$cli" "$command" "$option" 2>&1 | grep -qi "unknown option"; then
            echo "FAIL: offered option $option of $command is unknown to vorlix-cli"
            failures=$((failures + 1))
        else
            passes=$((passes + 1))
        fi
    done
done

expect "option values" "$(offered "$cli list x.fls --search ")" "records tables"
expect "known models" "$(offered "$cli list x.fls --model S")" "S45i S55 SL45i"
expect "options of info" "$(offered "$cli info x.fls -")" "--lang --model --settings --with"
# Words that other versions of vorlix-cli take, when this one names them.
patch_options=(--author --line-length --plain --settings)
for word in --lang --with --model; do
    "$cli" --help | grep -qE -- "$word([^[:alnum:]-]|\$)" && patch_options+=("$word")
done
expect "options of patch" "$(offered "$cli patch x.fls --")" \
    "$(printf '%s\n' "${patch_options[@]}" | sort | tr '\n' ' ' | sed 's/ $//')"

mkdir -p "$work/pics/sub"
touch "$work/pics/a.fls" "$work/pics/b.BIN" "$work/pics/c.vkp" "$work/pics/d.bmp" \
    "$work/pics/e.ini"
cd "$work/pics" || exit 1
expect "a FullFlash first" "$(offered "$cli info ")" "a.fls b.BIN sub"
expect "a patch second" "$(offered "$cli apply a.fls ")" "c.vkp sub"
expect "patches repeat" "$(offered "$cli apply a.fls c.vkp ")" "c.vkp sub"
expect "nothing after the last argument" "$(offered "$cli export a.fls sub ")" ""
expect "pictures repeat" "$(offered "$cli patch a.fls d.bmp -o out.vkp ")" \
    "a.fls b.BIN c.vkp d.bmp e.ini sub"
expect "a folder to export to" "$(offered "$cli export a.fls ")" "sub"
expect "a settings file" "$(offered "$cli info a.fls --settings ")" "e.ini sub"
expect "an unknown command" "$(offered "$cli frobnicate ")" ""

# A vorlix-cli whose help names the words of a newer program gets them offered.
cat >"$work/vorlix-cli" <<'EOF'
#!/bin/sh
cat <<'HELP'
Usage: vorlix-cli COMMAND ARGUMENTS [--settings FILE] [--lang en|original]
  info FLASH [--with PATCH]
  apply FLASH PATCH... [--yes] [--undo] [-o OUT]
  parse PATCH...
HELP
EOF
chmod +x "$work/vorlix-cli"
expect "newer commands" "$(offered "$work/vorlix-cli ")" "--help --version apply info parse"
expect "newer options" "$(offered "$work/vorlix-cli apply a.fls -")" "--lang --settings --undo --yes -o"
expect "repeated patches" "$(offered "$work/vorlix-cli parse c.vkp ")" "c.vkp sub"
expect "language values" "$(offered "$work/vorlix-cli info a.fls --lang ")" "en original"

echo "$passes passed, $failures failed"
[[ $failures -eq 0 ]]
