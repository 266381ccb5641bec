// The "Text files" add-in: one topic per Markdown or text file of a folder.
//
// The folder is named by the environment variable ORVEX_TEXTFILES_DIR or,
// when that is not set, by a line "folder=PATH" in textfiles.conf beside
// this library. Without either, Orvex asks the user for the folder. Files
// ending in .md, .markdown and .txt become topics in the order of their
// names; Markdown is converted to HTML (a first "# Heading" becomes the
// topic's title), plain text becomes paragraphs.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/orvex_addin.h"
#include "text_folder.h"
#include "text_to_html.h"

namespace {

// What one run hands over. The add-in interface keeps its place between
// calls, so the run's state lives here until the next FirstTopic.
struct Run {
  std::vector<std::string> files;
  std::size_t next = 0;
  std::string html;  // the current topic's HTML, valid until the next call
};

Run& CurrentRun() {
  static Run run;
  return run;
}

std::string ConfigFilePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CurrentRun), &info) == 0 || !info.dli_fname) return std::string();
  return (std::filesystem::path(info.dli_fname).parent_path() / textfiles::kConfigName).string();
}

void CopyTitle(char* title, const std::string& text) {
  const std::string cut = textfiles::CutUtf8(text, ORVEX_ADDIN_TEXT_SIZE - 1);
  std::memcpy(title, cut.data(), cut.size());
  title[cut.size()] = '\0';
}

void Advance(char* title, const char** html) {
  Run& run = CurrentRun();
  title[0] = '\0';
  *html = nullptr;
  while (run.next < run.files.size()) {
    const std::string path = run.files[run.next++];
    const std::string name = std::filesystem::path(path).filename().string();
    const textfiles::FileTopic topic = textfiles::TopicOfFile(name, textfiles::ReadWholeFile(path));
    // A topic needs a title; a file named only by its extension gets its name.
    CopyTitle(title, topic.title.empty() ? name : topic.title);
    run.html = topic.html;
    *html = run.html.c_str();
    return;
  }
}

}  // namespace

extern "C" ORVEX_ADDIN_EXPORT void Name(char* caption) { CopyTitle(caption, "Topics from text files"); }

namespace {

std::string ConfiguredFolder() {
  return textfiles::ChosenFolder(std::getenv(textfiles::kFolderVariable),
                                 textfiles::ReadWholeFile(ConfigFilePath(), 65536));
}

}  // namespace

extern "C" ORVEX_ADDIN_EXPORT void FolderPrompt(char* prompt) {
  CopyTitle(prompt, ConfiguredFolder().empty() ? "Folder of text files" : "");
}

extern "C" ORVEX_ADDIN_EXPORT void FirstTopic(char* title, const char** html) {
  Run& run = CurrentRun();
  std::string folder = ConfiguredFolder();
  if (folder.empty()) {
    const char* chosen = std::getenv(ORVEX_ADDIN_FOLDER_VARIABLE);
    folder = chosen ? chosen : "";
  }
  run = Run();
  if (folder.empty())
    std::fprintf(stderr, "Text files add-in: no folder chosen; set %s or write folder=PATH into %s\n",
                 textfiles::kFolderVariable, ConfigFilePath().c_str());
  else
    run.files = textfiles::TextFilesOf(folder);
  Advance(title, html);
}

extern "C" ORVEX_ADDIN_EXPORT void NextTopic(char* title, const char** html) { Advance(title, html); }
