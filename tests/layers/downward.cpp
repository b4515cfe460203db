// Compiled against units/: its own headers and those of the folders below
// it resolve.
#include "base/ascii.h"
#include "foundation/number_reader.h"
#include "platform/file_system.h"
#include "units/length_parser_internal.h"
