// The evaluator's view of the length parser, shared with its tests.
#pragma once

#include "FolianUtils/ustring.h"

namespace velmar::units {

// Whether CLengthFormatter::Parse would pass over part of `text` without
// reading it, where the evaluator reads arithmetic instead: text after the
// number before the foot mark («2 * 3'» reads as 2'), a slash right after
// the foot mark («6'/2» reads as 6' and an empty fraction), and a decimal
// part after a blank or hyphen («3-.5"» reads as 3").
bool LengthParserSkipsText(const utils::velmar_ustring& text);

}  // namespace velmar::units
