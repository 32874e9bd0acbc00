// Talvoro: reads and writes the XML configuration documents of the trading
// client as fixed-width records. Include this header to get everything.
#ifndef TALVORO_TALVORO_H_
#define TALVORO_TALVORO_H_

#include "talvoro/array.h"
#include "talvoro/helper.h"
#include "talvoro/platform.h"
#include "talvoro/records.h"
#include "talvoro/version.h"

#endif  // TALVORO_TALVORO_H_
