// The one include of a layer probe, named by the build.
#include FOLIAN_PROBE_HEADER
