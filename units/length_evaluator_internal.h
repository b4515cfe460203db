// The evaluator's view of the length parser, shared with its tests.
#pragma once

#include "FolianUtils/ustring.h"

namespace velmar::units {

// Whether CLengthFormatter::Parse reads `text` otherwise than the evaluator,
// passing over part of it or giving a sign to one part alone: text after
// the number before the foot mark («2 * 3'» reads as 2'), a slash right
// after the foot mark («6'/2» reads as 6' and an empty fraction), a decimal
// part after a blank or hyphen («3-.5"» reads as 3"), and a second minus
// sign, which goes to the feet alone («~ -5'6"» reads as -4'-6").
bool LengthParserReadsOtherwise(const utils::velmar_ustring& text);

}  // namespace velmar::units
