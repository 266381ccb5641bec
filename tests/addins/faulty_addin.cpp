// Test add-ins that misbehave, chosen by FAULT at build time:
//   1 no "Name" export; 2 "Name" crashes; 3 "Name" never returns;
//   4 the caption fills the buffer without a zero byte and has a "&";
//   5 the second topic crashes; 6 "Name" but no topic exports.
#include <csignal>
#include <cstring>
#include <unistd.h>

#include "app/orvex_addin.h"

#if FAULT != 1
extern "C" ORVEX_ADDIN_EXPORT void Name(char* caption) {
  (void)caption;
#if FAULT == 2
  std::raise(SIGSEGV);
#elif FAULT == 3
  for (;;) pause();
#elif FAULT == 4
  std::memset(caption, 'x', ORVEX_ADDIN_TEXT_SIZE);
  std::memcpy(caption, "R&D ", 4);
#else
  std::strcpy(caption, "Faulty");
#endif
}
#endif

#if FAULT != 6
extern "C" ORVEX_ADDIN_EXPORT void FirstTopic(char* title, const char** html) {
  std::strcpy(title, "Before the crash");
  *html = "<p>kept</p>";
}
extern "C" ORVEX_ADDIN_EXPORT void NextTopic(char* title, const char** html) {
#if FAULT == 5
  std::raise(SIGSEGV);
#endif
  title[0] = '\0';
  *html = nullptr;
}
#endif
