#!/usr/bin/env bash
# Records the commentary into the folder given as the first argument:
# 1.wav .. 180.wav (every visit score, called the way a darts caller calls
# it: "one hundred and eighty!"), noscore.wav ("No score") and gameshot.wav
# ("Game shot!"). Needs espeak-ng; without it the step is skipped with a
# warning and the program simply stays silent.
set -euo pipefail

out="${1:?usage: make-sounds.sh OUTPUT_FOLDER}"
mkdir -p "$out"
if ! command -v espeak-ng >/dev/null 2>&1; then
  echo "warning: espeak-ng is not installed; no commentary sounds were made" >&2
  exit 0
fi

ones=(zero one two three four five six seven eight nine ten eleven twelve thirteen
      fourteen fifteen sixteen seventeen eighteen nineteen)
tens=("" "" twenty thirty forty fifty sixty seventy eighty ninety)

# The British way of saying a number below 1000: "one hundred and twenty-six".
words() {
  local n=$1 text=""
  if (( n >= 100 )); then
    text="${ones[n / 100]} hundred"
    n=$(( n % 100 ))
    (( n == 0 )) && { echo "$text"; return; }
    text+=" and "
  fi
  if (( n < 20 )); then
    text+="${ones[n]}"
  else
    text+="${tens[n / 10]}"
    (( n % 10 )) && text+="-${ones[n % 10]}"
  fi
  echo "$text"
}

say() { # file text
  espeak-ng -v en-gb -s 145 -p 40 -a 180 -w "$1" "$2"
}

for n in $(seq 1 180); do
  text="$(words "$n")"
  # The tons are shouted.
  (( n >= 100 )) && text="${text}!"
  say "$out/$n.wav" "$text"
done
say "$out/noscore.wav" "No score"
say "$out/gameshot.wav" "Game shot!"
echo "commentary recorded in $out"
