/// @file
/// Dictionary: the ordered map from string to Variant exchanged with the
/// common preference library (keys ascending by code unit, unique). The
/// alias lives beside Variant, whose complete type every user needs.
/// Threads: as Variant, distinct maps may be used on distinct threads.
///
/// @stable
#pragma once

#include "FolianUtils/variant.h"
