#!/usr/bin/env bash
# Makes the built-in recordings in sounds/: the ring, the standard beep and
# the 24 spoken hour announcements. The WAV files are committed, so building
# the program needs neither espeak-ng nor sox; run this after changing a text.
#   ring.wav     about 2 s, PCM 16-bit, stereo, 48000 Hz
#   beep.wav     a short beep, PCM 16-bit, mono, 48000 Hz
#   t1..t24.wav  "现在时刻，N点整" after a two-note chime, PCM 16-bit, mono, 8000 Hz
# With --list it prints each announcement's text and espeak-ng's phonemes.
set -euo pipefail
cd "$(dirname "$0")/sounds"

# The Mandarin voice that reads the characters' pinyin as Mandarin (the plain
# "cmn" voice reads part of it with English sounds).
voice=cmn-latn-pinyin
digits=(零 一 二 三 四 五 六 七 八 九)

hour_words() {
    local n=$1
    if ((n == 2)); then
        echo 两
    elif ((n < 10)); then
        echo "${digits[n]}"
    elif ((n == 10)); then
        echo 十
    elif ((n < 20)); then
        echo "十${digits[n - 10]}"
    elif ((n == 20)); then
        echo 二十
    else
        echo "二十${digits[n - 20]}"
    fi
}

announcement() {
    echo "翎鹊时间管理器整点报时。现在时刻，$(hour_words "$1")点整。"
}

if [[ ${1:-} == --list ]]; then
    for n in $(seq 1 24); do
        printf 't%s\t%s\t%s\n' "$n" "$(announcement "$n")" "$(espeak-ng -v "$voice" -q -x "$(announcement "$n")" | tr -d '\n')"
    done
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# -D: no dither, -R: repeatable, so the same texts give the same bytes.
sox_() { sox -D -R "$@"; }

# The ring: two bursts of a warbling two-tone bell.
sox_ -n -r 48000 -b 16 -c 1 "$work/burst.wav" synth 0.8 sine 880 sine 1175 remix 1,2 tremolo 18 70 fade q 0.02 0.8 0.15
sox_ -n -r 48000 -b 16 -c 1 "$work/gap.wav" trim 0 0.2
sox_ "$work/burst.wav" "$work/gap.wav" "$work/burst.wav" "$work/gap.wav" -c 2 ring.wav gain -n -3

sox_ -n -r 48000 -b 16 -c 1 beep.wav synth 0.15 sine 1000 fade q 0.01 0.15 0.03 gain -6

# The chime before each announcement: a falling major third.
sox_ -n -r 8000 -b 16 -c 1 "$work/ding.wav" synth 0.45 pluck E5 fade q 0 0.45 0.3 gain -6
sox_ -n -r 8000 -b 16 -c 1 "$work/dong.wav" synth 0.6 pluck C5 fade q 0 0.6 0.4 gain -6
sox_ -n -r 8000 -b 16 -c 1 "$work/pause.wav" trim 0 0.25
for n in $(seq 1 24); do
    espeak-ng -v "$voice" -w "$work/speech.wav" "$(announcement "$n")"
    sox_ "$work/speech.wav" -r 8000 -b 16 -c 1 "$work/speech8k.wav" gain -n -3
    sox_ "$work/ding.wav" "$work/dong.wav" "$work/pause.wav" "$work/speech8k.wav" "$work/pause.wav" "t$n.wav"
done
