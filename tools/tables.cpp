#include <algorithm>
#include <string>
#include <vector>

#include "inspector.h"

namespace inspector {
namespace {

std::string Cell(const Json& value) {
  return value.is_string() ? value.get<std::string>() : value.dump();
}

// Prints rows of flat objects as a table: a header of the field names, then
// one line per record, every column as wide as its widest cell.
void PrintTable(const std::string& title, const std::vector<const Json*>& rows, std::ostream& out) {
  out << title << " (" << rows.size() << ")\n";
  if (rows.empty()) return;
  std::vector<std::string> columns;
  for (const auto& item : rows.front()->items()) {
    if (!item.value().is_structured()) columns.push_back(item.key());
  }
  std::vector<std::size_t> widths;
  for (const auto& column : columns) {
    std::size_t width = column.size();
    for (const Json* row : rows)
      width = std::max(width, Columns(Cell(row->at(column))));
    widths.push_back(width);
  }
  auto line = [&](auto cell) {
    std::string text;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      std::string value = cell(i);
      if (i + 1 < columns.size()) value.append(widths[i] - Columns(value), ' ');
      text += (i ? "  " : "") + value;
    }
    out << "  " << text << '\n';
  };
  line([&](std::size_t i) { return columns[i]; });
  line([&](std::size_t i) { return std::string(widths[i], '-'); });
  for (const Json* row : rows)
    line([&](std::size_t i) { return Cell(row->at(columns[i])); });
}

void PrintNamed(const std::string& name, const Json& value, std::ostream& out) {
  std::vector<const Json*> rows;
  if (value.is_array()) {
    for (const Json& row : value)
      rows.push_back(&row);
    PrintTable(name, rows, out);
    return;
  }
  // A single record: its flat fields as a one-row table, then its nested
  // arrays as tables of their own.
  PrintTable(name, {&value}, out);
  for (const auto& item : value.items()) {
    if (item.value().is_structured()) {
      out << '\n';
      PrintNamed(name + "." + item.key(), item.value(), out);
    }
  }
}

}  // namespace

void PrintTables(const Json& document, std::ostream& out) {
  bool first = true;
  for (const auto& item : document.items()) {
    if (!first) out << '\n';
    first = false;
    PrintNamed(item.key(), item.value(), out);
  }
}

}  // namespace inspector
