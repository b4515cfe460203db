// Compiled against units/: a header of environment/, beside it, must not
// resolve.
#include "environment/paths_internal.h"
