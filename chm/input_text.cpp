#include "chm/input_text.h"

#include "platform/codepage.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace orvex {
namespace {

constexpr qsizetype kCharsetWindow = 1024;

bool StartsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
  if (bytes.size() < qsizetype(mark.size())) return false;
  qsizetype i = 0;
  for (unsigned char c : mark)
    if (static_cast<unsigned char>(bytes.at(i++)) != c) return false;
  return true;
}

bool HasNonAscii(const QByteArray& bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

bool IsValidUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  return !decoder.hasError();
}

// The charset a page declares in its head; empty when none.
QByteArray DeclaredCharset(const QByteArray& bytes) {
  static const QRegularExpression charsetRe(
      QStringLiteral(R"re(charset\s*=\s*["']?\s*([A-Za-z0-9_.:\-]+))re"),
      QRegularExpression::CaseInsensitiveOption);
  const QString head = QString::fromLatin1(bytes.left(kCharsetWindow));
  const auto m = charsetRe.match(head);
  return m.hasMatch() ? m.captured(1).toLower().toLatin1() : QByteArray();
}

}  // namespace

InputEncoding DetectInputEncoding(const QByteArray& bytes, bool html) {
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return InputEncoding::Utf8;
  if (StartsWith(bytes, {0xFF, 0xFE})) return InputEncoding::Utf16LE;
  if (StartsWith(bytes, {0xFE, 0xFF})) return InputEncoding::Utf16BE;
  if (!HasNonAscii(bytes)) return InputEncoding::CodePage;
  if (html) {
    const QByteArray charset = DeclaredCharset(bytes);
    if (charset == "utf-8" || charset == "utf8") return InputEncoding::Utf8;
    if (!charset.isEmpty()) return InputEncoding::CodePage;
  }
  return IsValidUtf8(bytes) ? InputEncoding::Utf8 : InputEncoding::CodePage;
}

QString DecodeInputText(const QByteArray& bytes, int codePage, bool html) {
  switch (DetectInputEncoding(bytes, html)) {
    case InputEncoding::Utf8:
      return QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    case InputEncoding::Utf16LE:
      return QStringDecoder(QStringDecoder::Utf16LE).decode(bytes.mid(2));
    case InputEncoding::Utf16BE:
      return QStringDecoder(QStringDecoder::Utf16BE).decode(bytes.mid(2));
    case InputEncoding::CodePage:
      break;
  }
  return DecodeCodePage(bytes, codePage);
}

}  // namespace orvex
