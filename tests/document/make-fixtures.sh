#!/usr/bin/env bash
# Writes the fixtures of the document tests, independent of the code under test:
# the encoded copies of fixtures/corpus.txt (UTF-8, LF, no break after the
# last line) made by nkf and iconv, and a short WAV file. They are checked in;
# run this again after changing the corpus.
set -eu
cd "$(dirname "$0")/fixtures"
src=corpus.txt
crlf() { perl -pe 's/\n/\r\n/'; }
cr() { perl -pe 's/\n/\r/'; }
iconv -f UTF-8 -t CP932 "$src" > sjis.txt
iconv -f UTF-8 -t CP932 "$src" | crlf > sjis-crlf.txt
# -x keeps half-width katakana (as ESC ( I runs) instead of widening them.
nkf -W -j -x "$src" > jis.txt
nkf -W -j -x "$src" | crlf > jis-crlf.txt
iconv -f UTF-8 -t EUC-JP "$src" > euc.txt
iconv -f UTF-8 -t EUC-JP "$src" | cr > euc-cr.txt
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$src"; } > utf16le.txt
{ printf '\xff\xfe'; crlf < "$src" | iconv -f UTF-8 -t UTF-16LE; } > utf16le-crlf.txt
{ printf '\xfe\xff'; iconv -f UTF-8 -t UTF-16BE "$src"; } > utf16be.txt
cp "$src" utf8.txt
{ printf '\xef\xbb\xbf'; crlf < "$src"; } > utf8-bom-crlf.txt
# iconv may end a base64 run without '-' (before a space or a line break, say);
# the explicit form closes every run with '-', which decoders absorb.
iconv -f UTF-8 -t UTF-7 "$src" > utf7-implicit.txt
perl -pe 's{(\+[A-Za-z0-9+/]+)(?!-)(?![A-Za-z0-9+/])}{$1-}g' utf7-implicit.txt > utf7.txt
# A fifth of a second of silence: 8000 samples a second, 16-bit PCM, mono.
perl -e 'print "RIFF", pack("V", 36 + 3200), "WAVEfmt ", pack("VvvVVvv", 16, 1, 1, 8000, 16000, 2, 16),
  "data", pack("V", 3200), "\0" x 3200' > silence.wav
