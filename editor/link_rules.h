// Text rules behind links to topics and inserted pictures: the anchor pasted
// for a link, and where a picture's SRC points once it belongs to the project.
#pragma once

#include <QString>

#include "platform/result.h"

// <A href="file">text</A>, with the file name and the text escaped, so a
// title or a selection holding markup characters stays text.
QString TopicAnchor(const QString& fileName, const QString& text);

// The first SRC attribute with a value in a piece of page HTML, read as a
// browser reads tags (see `HtmlTokenizer`: any letter case, quoted with " or
// ' or not quoted, never inside a comment or another attribute's value): Head
// runs up to the value, its opening quote included, Path is the value with
// its entities decoded, Tail runs from its closing quote on. Head + a new
// value + Tail is the piece with the new value in the old one's place; an
// unquoted value gets double quotes there.
struct PictureSource {
  bool found = false;
  QString head;
  QString path;
  QString tail;
};
PictureSource FindPictureSrc(const QString& html);

// Where a picture named by an SRC value is on disk: a local path (absolute, a
// file: URL, or relative to the project folder); empty for other URLs.
QString PictureFileOf(const QString& srcValue, const QString& projectFolder);

// The SRC value that refers to a picture file from a page in the project
// folder: its path relative to that folder, with "/" separators and the
// characters that would end or break a URL path ('%', '#', '?') encoded.
// Empty when the file is not inside the project folder.
QString ProjectRelativeSrc(const QString& pictureFile, const QString& projectFolder);

// Copies a picture file into the project folder under its own name,
// replacing a file of that name (a link of that name is replaced, never
// written through). The copy's path; a failure names the picture and why.
Result<QString> CopyPictureInto(const QString& picture, const QString& projectFolder);

// What becomes of a picture's SRC value after it was inserted. A picture
// from outside the project folder is copied into it (see `CopyPictureInto`);
// the answer then refers to the copy by its name. A picture inside the
// folder is referred to relative to it. The value is left alone (answer
// empty) for relative values, other URLs and missing files; a copy that
// fails is a failure. Values are attribute text (entities decoded on the way
// in, escaped on the way out).
Result<QString> AdoptPicture(const QString& srcValue, const QString& projectFolder);
