#include "messages.h"

#include <clocale>
#include <vector>

#include "text.h"

namespace inspector {

void StartMessages() {
#if defined(TALVORO_GETTEXT)
  std::setlocale(LC_MESSAGES, "");
  const std::string folder = ProgramFolder();
  if (!folder.empty()) ::bindtextdomain("talvoro", (folder + "/../share/locale").c_str());
  ::bind_textdomain_codeset("talvoro", "UTF-8");
  ::textdomain("talvoro");
#endif
}

std::string Format(const std::string& pattern, std::initializer_list<std::string> parts) {
  const std::vector<std::string> all(parts);
  std::string out;
  for (std::size_t at = 0; at < pattern.size();) {
    const std::size_t open = pattern.find('{', at);
    const std::size_t close = open == std::string::npos ? open : pattern.find('}', open);
    if (close == std::string::npos) {
      out += pattern.substr(at);
      break;
    }
    out += pattern.substr(at, open - at);
    const std::string number = pattern.substr(open + 1, close - open - 1);
    const std::size_t n = number.size() == 1 && number[0] >= '1' && number[0] <= '9'
                              ? static_cast<std::size_t>(number[0] - '0')
                              : 0;
    out += n && n <= all.size() ? all[n - 1] : pattern.substr(open, close - open + 1);
    at = close + 1;
  }
  return out;
}

}  // namespace inspector
