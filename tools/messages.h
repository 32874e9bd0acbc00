// The inspector's messages in the reader's language, through gettext: the
// catalog of the domain "talvoro" for the language that LANGUAGE and
// LC_MESSAGES choose (as GNU tools choose), from the locale folder of the
// program's prefix (PREFIX/share/locale beside PREFIX/bin, in the build tree
// as once installed); English, the source, where there is none. Messages
// built of parts are patterns with numbered places, "{1} is cut to {2}
// bytes", so that a translation puts them in its own order.
#ifndef TALVORO_TOOLS_MESSAGES_H_
#define TALVORO_TOOLS_MESSAGES_H_

#include <initializer_list>
#include <string>

#if defined(TALVORO_GETTEXT)
#include <libintl.h>
#define _(text) ::gettext(text)
#else
#define _(text) (text)
#endif
// Marks a text for the catalog where it is translated later.
#define N_(text) text

namespace inspector {

// Chooses the messages' language from the locale and finds the catalog;
// every message is UTF-8 after it.
void StartMessages();

// `pattern` with each "{N}" replaced by the N-th of `parts`, from 1.
std::string Format(const std::string& pattern, std::initializer_list<std::string> parts);

}  // namespace inspector

#endif  // TALVORO_TOOLS_MESSAGES_H_
