// Text and Markdown files as HTML for topic pages (plain C++, no Qt, so the
// add-in stays small).
#pragma once

#include <string>

namespace textfiles {

// &, <, > and " as entities.
std::string EscapeHtml(const std::string& text);

// A common subset of Markdown: ATX headings, paragraphs, "-", "*" and "+"
// lists, numbered lists, block quotes, fenced code blocks, rules, and inline
// `code`, **bold**, *italic*, _italic_ and [links](url). Everything else is
// text. Links with a "javascript:" address lose the address.
std::string MarkdownToHtml(const std::string& markdown);

// Plain text: paragraphs at blank lines, line breaks kept.
std::string PlainTextToHtml(const std::string& text);

// The topic of a file: its title and its HTML. A Markdown file whose first
// non-blank line is a level-1 heading takes its title from it (and the
// heading leaves the body, the page has one of its own); otherwise the title
// is the file's name without its extension.
struct FileTopic {
  std::string title;
  std::string html;
};
FileTopic TopicOfFile(const std::string& fileName, const std::string& content);

// The text cut to at most maxBytes bytes without splitting a UTF-8 character.
std::string CutUtf8(const std::string& text, std::size_t maxBytes);

}  // namespace textfiles
