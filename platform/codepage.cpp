#include "platform/codepage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// ICU's canonical names; some aliases ("windows-950") are ambiguous.
const char* ConverterName(int codePage) {
  switch (codePage) {
    case 1250:
      return "ibm-5346_P100-1998";
    case 1251:
      return "ibm-5347_P100-1998";
    case 1252:
      return "ibm-5348_P100-1997";
    case 1253:
      return "ibm-5349_P100-1998";
    case 1254:
      return "ibm-5350_P100-1998";
    case 1255:
      return "ibm-9447_P100-2002";
    case 1256:
      return "ibm-9448_X100-2005";
    case 1257:
      return "ibm-9449_P100-2002";
    case 1258:
      return "ibm-5354_P100-1998";
    case 874:
      return "windows-874-2000";
    case 932:
      return "ibm-943_P15A-2003";
    case 936:
      return "windows-936-2000";
    case 949:
      return "windows-949-2000";
    case 950:
      return "windows-950-2000";
    case 437:
      return "ibm-437_P100-1995";
    case 850:
      return "ibm-850_P100-1995";
    default:
      return nullptr;
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter OpenConverter(int codePage) {
  UErrorCode status = U_ZERO_ERROR;
  Converter cnv(ucnv_open(ConverterName(EffectiveCodePage(codePage)), &status));
  if (U_FAILURE(status)) cnv.reset();
  return cnv;
}

constexpr char16_t kByteEscapeBase = 0xDC00;  // lone low surrogates: never a decoded character

bool IsByteEscape(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// Decodes bytes[0..length) strictly: true when they form exactly one
// character (one code point), written to *out.
bool DecodeStrict(UConverter* cnv, const char* bytes, int length, std::u16string* out) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  char16_t buffer[8];
  status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(buffer), 8, bytes, length, &status);
  ucnv_reset(cnv);
  if (U_FAILURE(status) || n <= 0) return false;
  const bool oneCodePoint =
      n == 1 || (n == 2 && QChar::isHighSurrogate(buffer[0]) && QChar::isLowSurrogate(buffer[1]));
  if (!oneCodePoint) return false;
  out->assign(buffer, n);
  return true;
}

// Encodes without fallbacks; false when a character is unmappable.
bool EncodeStrict(UConverter* cnv, const std::u16string& text, QByteArray* out) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  char buffer[16];
  status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(cnv, buffer, sizeof buffer, reinterpret_cast<const UChar*>(text.data()),
                                    int32_t(text.size()), &status);
  ucnv_reset(cnv);
  if (U_FAILURE(status)) return false;
  *out = QByteArray(buffer, n);
  return true;
}

// ---- single-byte code pages: a 256-entry table built from ICU ----

struct ByteTable {
  std::array<char16_t, 256> toUnicode{};
  std::vector<int16_t> fromUnicode = std::vector<int16_t>(0x10000, -1);  // byte, or -1
};

ByteTable BuildByteTable(UConverter* cnv) {
  ByteTable table;
  std::array<bool, 256> defined{};
  for (int b = 0; b < 256; ++b) {
    const char byte = char(b);
    std::u16string ch;
    QByteArray back;
    if (DecodeStrict(cnv, &byte, 1, &ch) && ch.size() == 1 && !QChar::isSurrogate(ch[0]) &&
        EncodeStrict(cnv, ch, &back) && back == QByteArray(1, byte) && table.fromUnicode[ch[0]] < 0) {
      table.toUnicode[b] = ch[0];
      table.fromUnicode[ch[0]] = int16_t(b);
      defined[b] = true;
    }
  }
  for (int b = 0; b < 256; ++b) {
    if (defined[b]) continue;
    char16_t standIn = char16_t(kByteEscapeBase + b);
    if (b >= 0x80 && b <= 0x9F && table.fromUnicode[b] < 0) standIn = char16_t(b);
    table.toUnicode[b] = standIn;
    table.fromUnicode[standIn] = int16_t(b);
  }
  return table;
}

void AppendCharacterReference(QByteArray* out, char32_t codePoint) {
  out->append("&#");
  out->append(QByteArray::number(uint(codePoint)));
  out->append(';');
}

QString DecodeSingleByte(const QByteArray& bytes, const ByteTable& table) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = QChar(table.toUnicode[static_cast<unsigned char>(bytes[i])]);
  return text;
}

QByteArray EncodeSingleByte(const QString& text, const ByteTable& table) {
  const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype n = text.size();
  // One byte per character; references are rare and grow the buffer.
  QByteArray out(n, Qt::Uninitialized);
  qsizetype used = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = s[i];
    const int16_t byte = table.fromUnicode[c];
    if (byte >= 0) {
      if (used == out.size()) out.resize(used + (n - i) + 16);
      out.data()[used++] = char(byte);
      continue;
    }
    out.truncate(used);
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
      AppendCharacterReference(&out, QChar::surrogateToUcs4(c, s[i + 1]));
      ++i;
    } else {
      AppendCharacterReference(&out, c);
    }
    used = out.size();
    out.resize(used + (n - i));
  }
  out.truncate(used);
  return out;
}

// ---- multi-byte code pages (932, 936, 949, 950) ----

// Writes every byte of an illegal or unassigned sequence as its stand-in.
void EscapeBytesCallback(const void*, UConverterToUnicodeArgs* args, const char* codeUnits, int32_t length,
                         UConverterCallbackReason reason, UErrorCode* err) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
  *err = U_ZERO_ERROR;
  for (int32_t i = 0; i < length; ++i) {
    const UChar standIn = UChar(kByteEscapeBase + static_cast<unsigned char>(codeUnits[i]));
    ucnv_cbToUWriteUChars(args, &standIn, 1, 0, err);
  }
}

QByteArray EncodeMultiByte(const QString& text, UConverter* cnv) {
  QByteArray out;
  out.reserve(text.size() * 2);
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_ESCAPE, UCNV_ESCAPE_XML_DEC, nullptr, nullptr, &status);
  const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype n = text.size();
  std::vector<char> buffer;
  qsizetype runStart = 0;
  auto flushRun = [&](qsizetype end) {
    if (end <= runStart) return;
    const int32_t length = int32_t(end - runStart);
    buffer.resize(size_t(length) * 10 + 16);  // "&#1114111;" per unit at worst
    UErrorCode err = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(cnv, buffer.data(), int32_t(buffer.size()),
                                            reinterpret_cast<const UChar*>(s + runStart), length, &err);
    ucnv_reset(cnv);
    if (U_SUCCESS(err)) out.append(buffer.data(), written);
  };
  for (qsizetype i = 0; i < n; ++i) {
    // A stand-in is a low surrogate that does not follow a high one.
    if (IsByteEscape(s[i]) && (i == 0 || !QChar::isHighSurrogate(s[i - 1]))) {
      flushRun(i);
      out.append(char(s[i] - kByteEscapeBase));
      runStart = i + 1;
    }
  }
  flushRun(n);
  return out;
}

// Slow, exact decoding: each character is accepted only when it encodes back
// to its own bytes; anything else becomes byte stand-ins.
QString DecodeMultiByteExact(const QByteArray& bytes, UConverter* cnv) {
  const int maxCharSize = ucnv_getMaxCharSize(cnv);
  std::u16string out;
  out.reserve(size_t(bytes.size()));
  qsizetype i = 0;
  while (i < bytes.size()) {
    bool taken = false;
    for (int length = 1; length <= maxCharSize && i + length <= bytes.size(); ++length) {
      std::u16string ch;
      QByteArray back;
      if (DecodeStrict(cnv, bytes.constData() + i, length, &ch) && !IsByteEscape(ch[0]) &&
          EncodeStrict(cnv, ch, &back) && back == bytes.mid(i, length)) {
        out += ch;
        i += length;
        taken = true;
        break;
      }
    }
    if (!taken) {
      out += char16_t(kByteEscapeBase + static_cast<unsigned char>(bytes[i]));
      ++i;
    }
  }
  return QString::fromStdU16String(out);
}

QString DecodeMultiByte(const QByteArray& bytes, UConverter* cnv) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(cnv, EscapeBytesCallback, nullptr, nullptr, nullptr, &status);
  std::vector<char16_t> buffer(size_t(bytes.size()) + 16);
  status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(buffer.data()), int32_t(buffer.size()),
                                  bytes.constData(), int32_t(bytes.size()), &status);
  ucnv_reset(cnv);
  if (U_SUCCESS(status)) {
    QString text = QString::fromUtf16(buffer.data(), n);
    // Most texts are plain: accept the fast result when it gives back the bytes.
    if (EncodeMultiByte(text, cnv) == bytes) return text;
  }
  return DecodeMultiByteExact(bytes, cnv);
}

// What a code page is: single-byte ones carry their table. Built once per
// code page and never changed, so that converting many short texts (words,
// names) does not rebuild the table each time.
struct CodePageKind {
  std::unique_ptr<const ByteTable> singleByte;
};

const CodePageKind& KindOf(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<const CodePageKind>> kinds;
  const int effective = EffectiveCodePage(codePage);
  const std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<const CodePageKind>& kind = kinds[effective];
  if (!kind) {
    auto made = std::make_unique<CodePageKind>();
    Converter cnv = OpenConverter(effective);
    if (cnv && ucnv_getMaxCharSize(cnv.get()) == 1)
      made->singleByte = std::make_unique<const ByteTable>(BuildByteTable(cnv.get()));
    kind = std::move(made);
  }
  return *kind;
}

}  // namespace

int EffectiveCodePage(int codePage) { return ConverterName(codePage) ? codePage : 1252; }

QString DecodeCodePage(const QByteArray& bytes, int codePage) {
  const CodePageKind& kind = KindOf(codePage);
  if (kind.singleByte) return DecodeSingleByte(bytes, *kind.singleByte);
  Converter cnv = OpenConverter(codePage);
  if (!cnv) return QString::fromLatin1(bytes);  // ICU data missing: keep the bytes as Latin-1
  return DecodeMultiByte(bytes, cnv.get());
}

QByteArray EncodeCodePage(const QString& text, int codePage) {
  const CodePageKind& kind = KindOf(codePage);
  if (kind.singleByte) return EncodeSingleByte(text, *kind.singleByte);
  Converter cnv = OpenConverter(codePage);
  if (!cnv) return text.toLatin1();
  return EncodeMultiByte(text, cnv.get());
}
