#include "text_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace textfiles {

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

}  // namespace

std::string ChosenFolder(const char* variableValue, const std::string& configText) {
  if (variableValue && *variableValue) return variableValue;
  std::istringstream lines(configText);
  std::string line;
  while (std::getline(lines, line)) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    const auto eq = t.find('=');
    if (eq == std::string::npos) continue;
    std::string key = Trim(t.substr(0, eq));
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key == "folder") return Trim(t.substr(eq + 1));
  }
  return std::string();
}

std::vector<std::string> TextFilesOf(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::pair<std::string, std::string>> found;  // name, path
  std::error_code error;
  if (folder.empty()) return {};
  fs::directory_iterator it(folder, error);
  if (error) return {};
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    const fs::path& path = it->path();
    const std::string name = path.filename().string();
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeError;
    if (!it->is_regular_file(typeError) || typeError) continue;
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".md" || ext == ".markdown" || ext == ".txt") found.emplace_back(name, path.string());
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (const auto& entry : found) paths.push_back(entry.second);
  return paths;
}

std::string ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  std::string data(maxBytes, '\0');
  in.read(data.data(), static_cast<std::streamsize>(maxBytes));
  data.resize(static_cast<std::size_t>(in.gcount()));
  return data;
}

}  // namespace textfiles
