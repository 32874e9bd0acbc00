// The terminal on Windows: the inspector writes UTF-8 (as Windows Terminal and
// consoles set to code page 65001 show it), and draws with box-drawing
// characters where the locale's variables ask for UTF-8.
#include <string>

#include "text.h"

namespace inspector {

std::string TerminalEncoding() {
  return LocaleVariablesEncoding();
}

bool TerminalHas(char32_t) {
  return true;
}

std::string ForTerminal(const std::string& utf8) {
  return utf8;
}

std::string ProgramFolder() {
  return "";
}

}  // namespace inspector
