#!/bin/sh
# Remakes the recorded pictures of the editor panel (tests/editor/golden) from what the
# toolkit draws now: run it after a change to the artwork, the layout or the drawing,
# then review the pictures (git diff shows which changed) before committing them.
#   tools/remake-editor-goldens.sh [BUILD_DIR]   (default build/release)
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-$source_dir/build/release}
golden="$source_dir/tests/editor/golden"

cmake --build "$build_dir" --target editor_panel_tests
# A test that finds its picture changed leaves the new one beside it as NAME.got.png.
"$build_dir/tests/editor/editor_panel_tests" --gtest_filter='EditorRender.TheDefaultPanel*:EditorRender.TheMonoView*' >/dev/null || true
for got in "$golden"/*.got.png; do
  [ -e "$got" ] || continue
  mv "$got" "${got%.got.png}.png"
  rm -f "${got%.got.png}.diff.png"
  echo "remade ${got%.got.png}.png"
done
"$build_dir/tests/editor/editor_panel_tests" --gtest_filter='EditorRender.TheDefaultPanel*:EditorRender.TheMonoView*'
