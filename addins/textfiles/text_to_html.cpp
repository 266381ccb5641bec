#include "text_to_html.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace textfiles {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool IsBlank(const std::string& s) { return Trim(s).empty(); }

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// Heading level of an ATX heading line (1..6), 0 when it is none.
int HeadingLevel(const std::string& line) {
  const std::string t = Trim(line);
  int level = 0;
  while (level < static_cast<int>(t.size()) && t[level] == '#') ++level;
  if (level == 0 || level > 6) return 0;
  if (level < static_cast<int>(t.size()) && t[level] != ' ') return 0;
  return level;
}

std::string HeadingText(const std::string& line) {
  std::string t = Trim(line);
  t = Trim(t.substr(t.find_first_not_of('#') == std::string::npos ? t.size() : t.find_first_not_of('#')));
  // Closing hashes are decoration.
  while (!t.empty() && t.back() == '#') t.pop_back();
  return Trim(t);
}

bool IsRule(const std::string& line) {
  const std::string t = Trim(line);
  if (t.size() < 3) return false;
  const char c = t[0];
  if (c != '-' && c != '*' && c != '_') return false;
  return std::all_of(t.begin(), t.end(), [c](char x) { return x == c || x == ' '; });
}

// The text after a bullet ("- ", "* ", "+ "), or nothing.
bool BulletItem(const std::string& line, std::string& text) {
  const std::string t = Trim(line);
  if (t.size() >= 2 && (t[0] == '-' || t[0] == '*' || t[0] == '+') && t[1] == ' ') {
    text = Trim(t.substr(2));
    return true;
  }
  return false;
}

bool NumberedItem(const std::string& line, std::string& text) {
  const std::string t = Trim(line);
  std::size_t i = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
  if (i == 0 || i > 9 || i + 1 >= t.size() || (t[i] != '.' && t[i] != ')') || t[i + 1] != ' ') return false;
  text = Trim(t.substr(i + 2));
  return true;
}

std::string SafeUrl(const std::string& url) {
  std::string lower;
  for (char c : url)
    if (!std::isspace(static_cast<unsigned char>(c)))
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (StartsWith(lower, "javascript:") || StartsWith(lower, "vbscript:") || StartsWith(lower, "data:"))
    return std::string();
  return url;
}

// Emphasis, code and links of one line of text.
std::string Inline(const std::string& text) {
  std::string out;
  std::size_t i = 0;
  bool bold = false;
  bool italicStar = false;
  bool italicUnderscore = false;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size() && std::ispunct(static_cast<unsigned char>(text[i + 1]))) {
      out += EscapeHtml(std::string(1, text[i + 1]));
      i += 2;
      continue;
    }
    if (c == '`') {
      const auto end = text.find('`', i + 1);
      if (end != std::string::npos) {
        out += "<code>" + EscapeHtml(text.substr(i + 1, end - i - 1)) + "</code>";
        i = end + 1;
        continue;
      }
    }
    if (c == '[') {
      const auto close = text.find(']', i + 1);
      if (close != std::string::npos && close + 1 < text.size() && text[close + 1] == '(') {
        const auto end = text.find(')', close + 2);
        if (end != std::string::npos) {
          const std::string label = text.substr(i + 1, close - i - 1);
          const std::string url = SafeUrl(Trim(text.substr(close + 2, end - close - 2)));
          if (url.empty())
            out += Inline(label);
          else
            out += "<a href=\"" + EscapeHtml(url) + "\">" + Inline(label) + "</a>";
          i = end + 1;
          continue;
        }
      }
    }
    if (c == '*' && i + 1 < text.size() && text[i + 1] == '*') {
      // Opening only when a closing pair follows.
      if (bold || text.find("**", i + 2) != std::string::npos) {
        out += bold ? "</b>" : "<b>";
        bold = !bold;
        i += 2;
        continue;
      }
    }
    if (c == '*' && (italicStar || text.find('*', i + 1) != std::string::npos)) {
      out += italicStar ? "</i>" : "<i>";
      italicStar = !italicStar;
      ++i;
      continue;
    }
    if (c == '_') {
      const bool wordBefore = i > 0 && std::isalnum(static_cast<unsigned char>(text[i - 1]));
      const bool wordAfter = i + 1 < text.size() && std::isalnum(static_cast<unsigned char>(text[i + 1]));
      if (italicUnderscore ? !wordAfter
                           : (!wordBefore && wordAfter && text.find('_', i + 1) != std::string::npos)) {
        out += italicUnderscore ? "</i>" : "<i>";
        italicUnderscore = !italicUnderscore;
        ++i;
        continue;
      }
    }
    out += EscapeHtml(std::string(1, c));
    ++i;
  }
  if (italicUnderscore) out += "</i>";
  if (italicStar) out += "</i>";
  if (bold) out += "</b>";
  return out;
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string MarkdownToHtml(const std::string& markdown) {
  const std::vector<std::string> lines = SplitLines(markdown);
  std::ostringstream html;
  std::size_t i = 0;
  while (i < lines.size()) {
    const std::string& line = lines[i];
    std::string item;
    if (IsBlank(line)) {
      ++i;
    } else if (StartsWith(Trim(line), "```") || StartsWith(Trim(line), "~~~")) {
      const std::string fence = Trim(line).substr(0, 3);
      html << "<pre><code>";
      ++i;
      bool first = true;
      while (i < lines.size() && !StartsWith(Trim(lines[i]), fence)) {
        if (!first) html << "\n";
        html << EscapeHtml(lines[i]);
        first = false;
        ++i;
      }
      if (i < lines.size()) ++i;  // the closing fence
      html << "</code></pre>\n";
    } else if (const int level = HeadingLevel(line)) {
      html << "<h" << level << ">" << Inline(HeadingText(line)) << "</h" << level << ">\n";
      ++i;
    } else if (IsRule(line)) {
      html << "<hr>\n";
      ++i;
    } else if (BulletItem(line, item)) {
      html << "<ul>\n";
      while (i < lines.size() && BulletItem(lines[i], item)) {
        html << "<li>" << Inline(item) << "</li>\n";
        ++i;
      }
      html << "</ul>\n";
    } else if (NumberedItem(line, item)) {
      html << "<ol>\n";
      while (i < lines.size() && NumberedItem(lines[i], item)) {
        html << "<li>" << Inline(item) << "</li>\n";
        ++i;
      }
      html << "</ol>\n";
    } else if (StartsWith(Trim(line), ">")) {
      std::string quoted;
      while (i < lines.size() && StartsWith(Trim(lines[i]), ">")) {
        if (!quoted.empty()) quoted += ' ';
        quoted += Trim(Trim(lines[i]).substr(1));
        ++i;
      }
      html << "<blockquote><p>" << Inline(quoted) << "</p></blockquote>\n";
    } else {
      std::string paragraph;
      while (i < lines.size() && !IsBlank(lines[i]) && !HeadingLevel(lines[i]) &&
             !StartsWith(Trim(lines[i]), "```") && !StartsWith(Trim(lines[i]), "~~~") &&
             !BulletItem(lines[i], item) && !NumberedItem(lines[i], item) &&
             !StartsWith(Trim(lines[i]), ">") && !IsRule(lines[i])) {
        if (!paragraph.empty()) paragraph += ' ';
        paragraph += Trim(lines[i]);
        ++i;
      }
      html << "<p>" << Inline(paragraph) << "</p>\n";
    }
  }
  return html.str();
}

std::string PlainTextToHtml(const std::string& text) {
  const std::vector<std::string> lines = SplitLines(text);
  std::ostringstream html;
  std::size_t i = 0;
  while (i < lines.size()) {
    if (IsBlank(lines[i])) {
      ++i;
      continue;
    }
    html << "<p>";
    bool first = true;
    while (i < lines.size() && !IsBlank(lines[i])) {
      if (!first) html << "<br>\n";
      html << EscapeHtml(lines[i]);
      first = false;
      ++i;
    }
    html << "</p>\n";
  }
  return html.str();
}

std::string CutUtf8(const std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes to the start of the cut character.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

FileTopic TopicOfFile(const std::string& fileName, const std::string& content) {
  FileTopic topic;
  const auto dot = fileName.find_last_of('.');
  const std::string base = dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
  std::string ext = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool markdown = ext == "md" || ext == "markdown";
  topic.title = base;
  if (!markdown) {
    topic.html = PlainTextToHtml(content);
  } else {
    std::vector<std::string> lines = SplitLines(content);
    auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !IsBlank(l); });
    std::string body = content;
    if (first != lines.end() && HeadingLevel(*first) == 1 && !HeadingText(*first).empty()) {
      topic.title = HeadingText(*first);
      lines.erase(first);
      body.clear();
      for (const std::string& l : lines) body += l + "\n";
    }
    topic.html = MarkdownToHtml(body);
  }
  topic.title = CutUtf8(topic.title, 255);
  return topic;
}

}  // namespace textfiles
