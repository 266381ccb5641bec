#pragma once
// The text of the files a help project is compiled from. A file says how
// it is encoded when it can (a byte-order mark, a page's "charset="); files
// that say nothing are in the project's code page, unless they are valid
// UTF-8 with characters beyond ASCII, which text in a Windows code page
// practically never is (generators write UTF-8 pages and sitemaps beside a
// project whose language names another code page).

#include <QByteArray>
#include <QString>

namespace orvex {

enum class InputEncoding { CodePage, Utf8, Utf16LE, Utf16BE };

// How bytes are encoded. html: look for a "charset=" in the first 1024 bytes.
InputEncoding DetectInputEncoding(const QByteArray& bytes, bool html);

// The bytes as text, decoded as DetectInputEncoding says (codePage for
// CodePage), without the byte-order mark.
QString DecodeInputText(const QByteArray& bytes, int codePage, bool html);

}  // namespace orvex
