// The finder of swallowed quotes. Reading UTF-8, TinyXML takes a lead byte's
// whole sequence as one character, whatever the bytes after it are: a stray
// lead byte at the end of a value (text in a code page declared as UTF-8,
// say) takes the closing quote along, and TinyXML then reports an error far
// from the cause. The finder scans the text as TinyXML read it (xml/scan.h)
// for the first lead byte that took a quote or an angle bracket along.
#ifndef TALVORO_DIAGNOSE_SWALLOWED_H_
#define TALVORO_DIAGNOSE_SWALLOWED_H_

#include "os/status.h"

namespace talvoro {

// TinyXML's `error` on the zero-terminated `text`, said again where a lead
// byte took a quote or an angle bracket along: placed at that byte, with
// what it swallowed. The error as it is otherwise. For XmlDocument::Detail.
Status ExplainMalformed(const Status& error, const char* text);

}  // namespace talvoro

#endif  // TALVORO_DIAGNOSE_SWALLOWED_H_
