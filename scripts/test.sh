#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: a short run of each fuzz target
# (clang and libFuzzer), then the whole suite (the real-window test under Xvfb among it).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/prepare.sh" xvfb xdotool imagemagick clang libclang-rt-dev \
  desktop-file-utils appstream shared-mime-info qt6-image-formats-plugins
cmake --build "$build" --parallel "$(nproc)"

fuzz_briefly() {
  local fuzz_build="$root/build-fuzz" probe
  probe=$(mktemp -d)
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' > "$probe/probe.cpp"
  if ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/log"; then
    cat "$probe/log" >&2
    rm -rf "$probe"
    echo "runeplot: clang++ cannot link libFuzzer here (Debian: clang, libclang-rt-dev)" >&2
    return 1
  fi
  rm -rf "$probe"
  cmake -S "$root" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRUNEPLOT_FUZZ=ON -DRUNEPLOT_BUILD_UI=OFF -DRUNEPLOT_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$fuzz_build" --parallel "$(nproc)" >/dev/null
  local target corpus log
  for target in font_load_fuzz text_fuzz dump_parse_fuzz bmp_decode_fuzz rle_decode_fuzz tga_decode_fuzz ttf_draw_fuzz; do
    corpus=$(mktemp -d)
    [ -d "$root/fuzz/corpus/$target" ] && cp "$root/fuzz/corpus/$target"/* "$corpus/"
    log="$fuzz_build/$target.log"
    # A crash leaves its input beside the log, to be replayed with: $fuzz_build/fuzz/$target FILE
    if "$fuzz_build/fuzz/$target" -max_total_time="${RUNEPLOT_FUZZ_SECONDS:-5}" -max_len=2048 \
         -artifact_prefix="$fuzz_build/$target-" "$corpus" >"$log" 2>&1; then
      echo "runeplot: $target: $(grep -m1 -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), no failure"
      rm -rf "$corpus"
    else
      rm -rf "$corpus"
      tail -n 40 "$log" >&2
      echo "runeplot: $target found a failing input (see $log)" >&2
      return 1
    fi
  done
}
fuzz_briefly

# The window tests draw offscreen; the real-window test starts its own Xvfb.
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure --timeout 300
