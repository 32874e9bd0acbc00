#include "tinyxml_depth.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <tinyxml.h>

namespace testutil {

TinyXmlParse ParseWithTinyXml(const std::string& text) {
  std::string padded(text.c_str());
  padded.append(4, '\0');
  TiXmlDocument doc;
  doc.SetTabSize(0);
  doc.Parse(padded.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  int deepest = 0, attributes = 0;
  std::vector<std::pair<const TiXmlNode*, int>> pending;
  for (const TiXmlNode* c = doc.FirstChild(); c; c = c->NextSibling())
    pending.emplace_back(c, 1);
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    if (!node->ToElement()) continue;
    deepest = std::max(deepest, depth);
    int count = 0;
    for (const TiXmlAttribute* a = node->ToElement()->FirstAttribute(); a; a = a->Next())
      ++count;
    attributes = std::max(attributes, count);
    for (const TiXmlNode* c = node->FirstChild(); c; c = c->NextSibling())
      pending.emplace_back(c, depth + 1);
  }
  return {deepest, attributes, doc.Error()};
}

}  // namespace testutil
