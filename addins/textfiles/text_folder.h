// Which folder the add-in reads, and which of its files become topics.
#pragma once

#include <string>
#include <vector>

namespace textfiles {

// The environment variable that names the folder.
inline constexpr char kFolderVariable[] = "ORVEX_TEXTFILES_DIR";
// The configuration file beside the add-in, with a line "folder=PATH".
inline constexpr char kConfigName[] = "textfiles.conf";

// The folder configured for the add-in: the variable's value when set and
// not empty, else the "folder=" line of the configuration text ("#" starts
// a comment line); empty when neither names one.
std::string ChosenFolder(const char* variableValue, const std::string& configText);

// The ".md", ".markdown" and ".txt" files of a folder (not its subfolders,
// no hidden files), full paths, sorted by file name.
std::vector<std::string> TextFilesOf(const std::string& folder);

// A whole file, empty when it cannot be read; at most maxBytes bytes.
std::string ReadWholeFile(const std::string& path, std::size_t maxBytes = 4u << 20);

}  // namespace textfiles
