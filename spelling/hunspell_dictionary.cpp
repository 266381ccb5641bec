#include "spelling/hunspell_dictionary.h"

#include <QFile>
#include <QRegularExpression>
#include <hunspell.hxx>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

namespace {

// ICU's name for the encodings affix files name: "ISO8859-15" -> "ISO-8859-15",
// "microsoft-cp1251" -> "windows-1251", "TIS620-2533" -> "TIS-620".
QByteArray IcuEncodingName(const QString& set) {
  static const QRegularExpression iso(QStringLiteral("^ISO-?8859-?(\\d+)$"),
                                      QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression microsoft(QStringLiteral("^microsoft-cp(\\d+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
  if (const auto m = iso.match(set); m.hasMatch()) return "ISO-8859-" + m.captured(1).toLatin1();
  if (const auto m = microsoft.match(set); m.hasMatch()) return "windows-" + m.captured(1).toLatin1();
  if (set.startsWith(QLatin1String("TIS620"), Qt::CaseInsensitive)) return "TIS-620";
  return set.toLatin1();
}

// The encoding an affix file's SET line names; ISO8859-1 (Hunspell's own default) without one.
QString AffixEncoding(const QString& affixFile, QString* error) {
  QFile file(affixFile);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("Cannot open file %1: %2").arg(affixFile, file.errorString());
    return {};
  }
  while (!file.atEnd()) {
    const QByteArray line = file.readLine().trimmed();
    if (line.startsWith("SET ") || line.startsWith("SET\t"))
      return QString::fromLatin1(line.mid(4).trimmed());
  }
  return QStringLiteral("ISO8859-1");
}

}  // namespace

Result<std::unique_ptr<HunspellDictionary>> HunspellDictionary::Open(const QString& affixFile,
                                                                     const QString& wordsFile) {
  QString error;
  const QString encoding = AffixEncoding(affixFile, &error);
  if (!error.isEmpty()) return Fail(error);
  QFile words(wordsFile);
  if (!words.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("Cannot open file %1: %2").arg(wordsFile, words.errorString()));
  words.close();
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(IcuEncodingName(encoding).constData(), &status);
  if (U_FAILURE(status) || !converter) {
    if (converter) ucnv_close(converter);
    return Fail(QStringLiteral("The spelling dictionary %1 is in an encoding Orvex cannot read: %2")
                    .arg(affixFile, encoding));
  }
  // A character the encoding cannot hold stops the conversion: such a word is in no entry.
  ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  std::unique_ptr<HunspellDictionary> dictionary(new HunspellDictionary);
  dictionary->converter = converter;
  dictionary->encoding = encoding;
  dictionary->hunspell = std::make_unique<Hunspell>(QFile::encodeName(affixFile).constData(),
                                                    QFile::encodeName(wordsFile).constData());
  return dictionary;
}

HunspellDictionary::~HunspellDictionary() {
  if (converter) ucnv_close(converter);
}

bool HunspellDictionary::Encode(const QString& word, std::string* bytes) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter);
  const auto* source = reinterpret_cast<const UChar*>(word.utf16());
  const int32_t needed = ucnv_fromUChars(converter, nullptr, 0, source, int32_t(word.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
  bytes->assign(size_t(needed), '\0');
  status = U_ZERO_ERROR;
  ucnv_resetFromUnicode(converter);
  ucnv_fromUChars(converter, bytes->data(), needed, source, int32_t(word.size()), &status);
  return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

QString HunspellDictionary::Decode(const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_resetToUnicode(converter);
  QString text(qsizetype(bytes.size()) * 2 + 1, Qt::Uninitialized);
  const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()), int32_t(text.size()),
                                       bytes.data(), int32_t(bytes.size()), &status);
  if (U_FAILURE(status)) return {};
  text.truncate(length);
  return text;
}

bool HunspellDictionary::Spell(const QString& word) {
  std::string bytes;
  return Encode(word, &bytes) && hunspell->spell(bytes);
}

QStringList HunspellDictionary::Suggest(const QString& word) {
  std::string bytes;
  if (!Encode(word, &bytes)) return {};
  QStringList suggestions;
  for (const std::string& suggestion : hunspell->suggest(bytes)) {
    const QString text = Decode(suggestion);
    if (!text.isEmpty()) suggestions.append(text);
  }
  return suggestions;
}

void HunspellDictionary::Add(const QString& word) {
  std::string bytes;
  if (Encode(word, &bytes)) hunspell->add(bytes);
}
