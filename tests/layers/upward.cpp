// Compiled against platform/: a header of a folder above must not resolve.
#include "units/length_parser_internal.h"
