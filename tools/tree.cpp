// `talvoro show KIND FILE --tree`: a document drawn as the tree it is, its
// flat records joined back by their identifiers: types, their kinds and their
// servers; parts and their sub-parts; zones and their areas; the components
// of a software list. Records whose parent is not there are drawn last, under
// a node that says so.
#include <cstdlib>
#include <string>
#include <vector>

#include "inspector.h"
#include "messages.h"

namespace inspector {
namespace {

struct Node {
  std::string label;
  std::vector<Node> children;
};

std::string Text(const Json& value) {
  return value.is_string() ? value.get<std::string>() : value.dump();
}

using Fields = std::initializer_list<const char*>;

bool Among(const std::string& name, Fields fields) {
  for (const char* field : fields) {
    if (name == field) return true;
  }
  return false;
}

// The record as `what` and its `shown` fields' values, then its other fields
// as "name value" pairs; the `joined` fields, which its place in the tree
// says, left out.
std::string Label(const char* what, const Json& record, Fields shown, Fields joined = {}) {
  std::string label = _(what);
  for (const char* field : shown)
    label += " " + Text(record.at(field));
  std::string rest;
  for (const auto& item : record.items()) {
    if (Among(item.key(), shown) || Among(item.key(), joined)) continue;
    if (item.value().is_string() && item.value().get<std::string>().empty()) continue;
    rest += (rest.empty() ? "" : ", ") + item.key() + " " + Text(item.value());
  }
  return rest.empty() ? label : label + " (" + rest + ")";
}

// The node of the records that no parent takes, `whats`.
std::string Orphans(const char* whats) {
  return Format(_("({1} whose parent is not in the document)"), {_(whats)});
}

// The children of each parent, by the identifiers that `joined` tells apart;
// the records that no parent takes go under a node of their own.
template <typename Joined>
void Join(std::vector<Node>& parents, const Json& parentRecords, const Json& children,
          const char* what, const char* whats, Fields shown, Fields keys, Joined joined) {
  std::vector<bool> taken(children.size(), false);
  for (std::size_t p = 0; p < parents.size(); ++p) {
    for (std::size_t c = 0; c < children.size(); ++c) {
      if (taken[c] || !joined(parentRecords[p], children[c])) continue;
      taken[c] = true;
      parents[p].children.push_back({Label(what, children[c], shown, keys), {}});
    }
  }
  Node orphans{Orphans(whats), {}};
  for (std::size_t c = 0; c < children.size(); ++c) {
    if (!taken[c]) orphans.children.push_back({Label(what, children[c], shown), {}});
  }
  if (!orphans.children.empty()) parents.push_back(orphans);
}

std::vector<Node> Nodes(const Json& records, const char* what, Fields shown, Fields keys = {}) {
  std::vector<Node> nodes;
  for (const Json& record : records)
    nodes.push_back({Label(what, record, shown, keys), {}});
  return nodes;
}

// Types, their kinds (by the type's id) and their servers (by the kind's id
// and depend).
std::vector<Node> ServiceTree(const Json& document) {
  std::vector<Node> types = Nodes(document.at("types"), N_("type"), {"id", "typeName"});
  const Json& kinds = document.at("kinds");
  std::vector<Node> withServers = Nodes(kinds, N_("kind"), {"id", "kindName"}, {"typeId"});
  Join(withServers, kinds, document.at("servers"), N_("server"), N_("servers"),
       {"id", "serverName"}, {"kindId", "kindDepend"}, [](const Json& kind, const Json& server) {
         return kind.at("id") == server.at("kindId") &&
                kind.at("depend") == server.at("kindDepend");
       });
  // The kinds, servers and all, under their types; after the kinds may come
  // the servers whose kind is not there.
  std::vector<bool> taken(kinds.size(), false);
  const Json& typeRecords = document.at("types");
  for (std::size_t t = 0; t < types.size(); ++t) {
    for (std::size_t k = 0; k < kinds.size(); ++k) {
      if (taken[k] || typeRecords[t].at("id") != kinds[k].at("typeId")) continue;
      taken[k] = true;
      types[t].children.push_back(withServers[k]);
    }
  }
  Node orphans{Orphans(N_("kinds")), {}};
  for (std::size_t k = 0; k < withServers.size(); ++k) {
    if (k >= kinds.size() || !taken[k]) orphans.children.push_back(withServers[k]);
  }
  if (!orphans.children.empty()) types.push_back(orphans);
  return types;
}

std::vector<Node> Tree(talvoro::DocumentKind kind, const Json& document) {
  using talvoro::DocumentKind;
  switch (kind) {
    case DocumentKind::kServices:
      return ServiceTree(document);
    case DocumentKind::kParts: {
      std::vector<Node> parts = Nodes(document.at("parts"), N_("part"), {"id", "name"});
      Join(parts, document.at("parts"), document.at("subParts"), N_("sub-part"), N_("sub-parts"),
           {"id", "name"}, {"parentId"},
           [](const Json& part, const Json& sub) { return part.at("id") == sub.at("parentId"); });
      return parts;
    }
    case DocumentKind::kZones: {
      std::vector<Node> zones = Nodes(document.at("zones"), N_("zone"), {"id", "name"});
      Join(zones, document.at("zones"), document.at("areas"), N_("area"), N_("areas"),
           {"id", "name"}, {"zoneId"},
           [](const Json& zone, const Json& area) { return zone.at("id") == area.at("zoneId"); });
      return zones;
    }
    case DocumentKind::kSoftware:
      return Nodes(document.at("components"), N_("component"), {"id", "kindName"});
    default:
      return {};
  }
}

void Draw(const std::vector<Node>& nodes, const std::string& indent, bool unicode,
          std::ostream& out) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const bool last = i + 1 == nodes.size();
    out << indent << (unicode ? (last ? "└── " : "├── ") : (last ? "`-- " : "|-- "))
        << nodes[i].label << '\n';
    Draw(nodes[i].children, indent + (last ? "    " : (unicode ? "│   " : "|   ")), unicode, out);
  }
}

}  // namespace

bool HasTree(talvoro::DocumentKind kind) {
  using talvoro::DocumentKind;
  return kind == DocumentKind::kServices || kind == DocumentKind::kParts ||
         kind == DocumentKind::kZones || kind == DocumentKind::kSoftware;
}

void PrintTree(talvoro::DocumentKind kind, const std::string& title, const Json& document,
               bool unicode, std::ostream& out) {
  out << title << '\n';
  Draw(Tree(kind, document), "", unicode, out);
}

}  // namespace inspector
