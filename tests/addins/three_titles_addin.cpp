// A test add-in with three topics: one paragraph of HTML, an empty text,
// and a text of two characters.
#include <cstring>

#include "app/orvex_addin.h"

namespace {
int Index = 0;
const char* const Titles[] = {"First from add-in", "Second from add-in", "Third from add-in", ""};
const char* const Texts[] = {"<p>Paragraph from the add-in</p>", "", "Zq", nullptr};

void Give(char* title, const char** html) {
  std::strcpy(title, Titles[Index]);
  *html = Texts[Index];
  if (Index < 3) ++Index;
}
}  // namespace

extern "C" ORVEX_ADDIN_EXPORT void Name(char* caption) { std::strcpy(caption, "Three titles"); }
extern "C" ORVEX_ADDIN_EXPORT void FirstTopic(char* title, const char** html) {
  Index = 0;
  Give(title, html);
}
extern "C" ORVEX_ADDIN_EXPORT void NextTopic(char* title, const char** html) { Give(title, html); }
