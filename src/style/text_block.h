#pragma once
// TEXTBLOCK: one coloured run of a line, as a parser hands it to the painter.

namespace quill {

// From charPos to the next run's charPos (the last run to the end of the line), drawn
// with two colour indexes.
struct TEXTBLOCK {
  int charPos;
  int fgColorIndex;
  int bgColorIndex;
};

}  // namespace quill
