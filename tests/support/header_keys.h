// The keywords of a script that writes every header value and both definition tables, for
// records built by hand in tests.
#pragma once
#include "chartfmt/docdata.h"

namespace testsupport {

// Title TITLE, artist ARTIST, genre GENRE, BPM BPM, base BPM BASEBPM, levels PLAYLEVEL, RANK and
// LEVEL3, preview PREVIEW, wallpaper STAGEFILE, definitions WAV and BMP; the other keywords stay.
inline void SetHeaderKeys(mk::ScrKeys& k) {
  k.Title = "TITLE";
  k.Artist = "ARTIST";
  k.Genre = "GENRE";
  k.Bpm = "BPM";
  k.BaseBpm = "BASEBPM";
  k.Level = {"PLAYLEVEL", "RANK", "LEVEL3"};
  k.Pre = "PREVIEW";
  k.Wall = "STAGEFILE";
  k.Wav = "WAV";
  k.Bga = "BMP";
}

}  // namespace testsupport
