// A test add-in: its caption and its one topic's title come from the build
// (ADDIN_CAPTION, ADDIN_TOPIC).
#include <cstring>

#include "app/orvex_addin.h"

namespace {
int Calls = 0;
}

extern "C" ORVEX_ADDIN_EXPORT void Name(char* caption) { std::strcpy(caption, ADDIN_CAPTION); }

extern "C" ORVEX_ADDIN_EXPORT void FirstTopic(char* title, const char** html) {
  Calls = 0;
  std::strcpy(title, ADDIN_TOPIC);
  *html = "<p>" ADDIN_TOPIC " text</p>";
}

extern "C" ORVEX_ADDIN_EXPORT void NextTopic(char* title, const char** html) {
  ++Calls;
  title[0] = '\0';
  *html = nullptr;
}
