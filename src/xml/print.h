// Printing a document as TinyXML's SaveFile prints it, into memory, so that
// the bytes can be checked and then written through the file layer.
#ifndef TALVORO_XML_PRINT_H_
#define TALVORO_XML_PRINT_H_

#include <string>

#include <tinyxml.h>

namespace talvoro {

// The bytes TiXmlDocument::SaveFile writes for `doc`: the UTF-8 byte-order
// mark when `byteOrderMark` (TinyXML writes it back when the loaded text began
// with one), four blanks of indentation per level, a line break after each
// top-level node, each line ending in "\n". Appends to `out`.
void PrintDocument(const TiXmlDocument& doc, bool byteOrderMark, std::string* out);

}  // namespace talvoro

#endif  // TALVORO_XML_PRINT_H_
