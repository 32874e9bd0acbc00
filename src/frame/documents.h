// The documents: every reader, written once as a function of the loaded
// document, and the table of document kinds that everything else is driven
// by. The exported functions run a reader with the system's file layer and
// no observer, the diagnosis with an observer and containers of its own.
// Each reader returns why it refused the document, or success. The writers
// that take the host's containers are here too; the others are those of
// talvoro/diagnose.h.
#ifndef TALVORO_FRAME_DOCUMENTS_H_
#define TALVORO_FRAME_DOCUMENTS_H_

#include "frame/document.h"
#include "talvoro/diagnose.h"
#include "talvoro/records.h"

namespace talvoro {

// Each reader is written once over its containers, and instantiated for the
// exported class's (the records' CArrayTemplate and CList members, CString)
// and for the C interface's (frame/sink.h).
template <class Info>
Status ReadServiceList(const Document& doc, const TiXmlElement& root, Info& info);
template <class Info>
Status ReadPartList(const Document& doc, const TiXmlElement& root, Info& info);
template <class Info>
Status ReadZoneAreas(const Document& doc, const TiXmlElement& root, Info& info);
template <class Weather>
Status ReadWeather(const Document& doc, const TiXmlElement& root, Weather& weather);
template <class List>
Status ReadServerList(const Document& doc, const TiXmlElement& root, List& list);
template <class List>
Status ReadServerServices(const Document& doc, const TiXmlElement& root, List& list);
template <class Text>
Status ReadVersion(const Document& doc, const TiXmlElement& root, Text& version, Text& updateTime);
template <class List>
Status ReadSoftware(const Document& doc, const TiXmlElement& root, List& list);
template <class Array>
Status ReadShortcuts(const Document& doc, const TiXmlElement& root, Array& array);
template <class List>
Status ReadUpdates(const Document& doc, const TiXmlElement& root, List& list);

// Loads the file at `path` into `doc` and runs `reader` on its document
// element; the loader's reason when the document is refused.
template <typename... Containers>
Status ReadDocument(Document& doc, const char* path,
                    Status (*reader)(const Document&, const TiXmlElement&, Containers&...),
                    Containers&... containers) {
  const Document::Loaded loaded = doc.Load(path);
  if (!loaded.root) return loaded.status;
  return reader(doc, *loaded.root, containers...);
}

// The writers, each over the file layer `env` (the exported functions pass
// the system's; tests pass one that fails a call or loses power), with what
// they changed:
// - sets the version of every component whose "id" agrees with soft.id in its
//   low 16 bits, and saves the document back (*updated: how many);
Status SaveSoftVersion(Env& env, const tagSoftData& soft, const char* path, int* updated);
// - removes the first "item" whose "file" is the shortcut's text, and saves
//   the document back (*removed: 1 or 0);
Status SaveWithoutShortcut(Env& env, const char* path, const tagShortCutInfo& shortcut,
                           int* removed);
// - replaces the document with the records' items, in order.
Status SaveShortcuts(Env& env, const char* path, const tagShortCutInfo* shortcuts, int count);
Status SaveUpdates(Env& env, const char* path, const tagUpdateData* updates, int count);
Status SaveUpdates(Env& env, const char* path,
                   const CList<tagUpdateData, const tagUpdateData&>& list);

// One document kind: how the library names it, and its reader run into
// containers of its own, as the diagnosis runs it.
struct DocumentRow {
  DocumentType type;
  Status (*diagnose)(Document& doc, const char* path);
};

// The row of `kind`; null for a value that names no kind.
const DocumentRow* FindDocument(DocumentKind kind);

}  // namespace talvoro

#endif  // TALVORO_FRAME_DOCUMENTS_H_
