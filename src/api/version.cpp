// The version of the library that is loaded, for hosts and the inspector.
#include "talvoro/version.h"

const char* talvoro_version(void) {
  return TALVORO_VERSION_STRING;
}
