#include "platform/locale_info.h"

#include <unicode/uloc.h>

namespace {

constexpr int kEnglishUnitedStates = 0x0409;

QString IcuLocaleOf(int lcid) {
  if (lcid <= 0 || lcid > 0xFFFF) return QString();
  char name[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getLocaleForLCID(uint32_t(lcid), name, sizeof name, &status);
  if (U_FAILURE(status) || length <= 0 || status == U_STRING_NOT_TERMINATED_WARNING) return QString();
  return QString::fromLatin1(name, length);
}

// ANSI code pages by primary language (the low ten bits of an LCID).
// Languages missing here have Unicode-only Windows locales.
int CodePageOfPrimaryLanguage(int primary) {
  switch (primary) {
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1B:
    case 0x1C:
    case 0x24:
    case 0x42:
      return 1250;
    case 0x02:
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x28:
    case 0x2F:
    case 0x3F:
    case 0x40:
    case 0x44:
    case 0x6D:
    case 0x85:
      return 1251;
    case 0x08:
      return 1253;
    case 0x1F:
      return 1254;
    case 0x0D:
    case 0x3D:
      return 1255;
    case 0x01:
    case 0x20:
    case 0x29:
    case 0x80:
    case 0x8C:
    case 0x92:
      return 1256;
    case 0x25:
    case 0x26:
    case 0x27:
      return 1257;
    case 0x2A:
      return 1258;
    case 0x1E:
      return 874;
    case 0x11:
      return 932;
    case 0x12:
      return 949;
    case 0x03:
    case 0x06:
    case 0x07:
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0F:
    case 0x10:
    case 0x13:
    case 0x14:
    case 0x16:
    case 0x17:
    case 0x1D:
    case 0x21:
    case 0x2D:
    case 0x2E:
    case 0x32:
    case 0x34:
    case 0x35:
    case 0x36:
    case 0x38:
    case 0x3B:
    case 0x3C:
    case 0x3E:
    case 0x41:
    case 0x52:
    case 0x56:
    case 0x5D:
    case 0x62:
    case 0x64:
    case 0x68:
    case 0x6A:
    case 0x6B:
    case 0x6C:
    case 0x6E:
    case 0x6F:
    case 0x70:
    case 0x7A:
    case 0x7C:
    case 0x7E:
    case 0x82:
    case 0x83:
    case 0x84:
    case 0x86:
    case 0x87:
    case 0x88:
      return 1252;
    default:
      return 0;
  }
}

}  // namespace

QString LocaleNameOf(int lcid) { return IcuLocaleOf(lcid); }

bool IsValidLocale(int lcid) {
  // Neutral identifiers (no sublanguage) are not locales of their own.
  if (lcid < 0x0400) return false;
  const QString name = IcuLocaleOf(lcid);
  return !name.isEmpty() && uloc_getLCID(name.toLatin1().constData()) == uint32_t(lcid);
}

QString LocaleLanguageName(int lcid) {
  if (!IsValidLocale(lcid)) return QString();
  UChar buffer[256];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      uloc_getDisplayName(IcuLocaleOf(lcid).toLatin1().constData(), uloc_getDefault(), buffer, 256, &status);
  if (U_FAILURE(status) || length <= 0) return QString();
  return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), qMin(length, 255));
}

int LocaleAnsiCodePage(int lcid) {
  if (!IsValidLocale(lcid)) return -1;
  const int primary = lcid & 0x3FF;
  const int sub = lcid >> 10;
  switch (primary) {
    case 0x04:  // Chinese: simplified (PRC, Singapore) or traditional
      return (lcid == 0x0804 || lcid == 0x1004) ? 936 : 950;
    case 0x1A:  // Croatian, Bosnian, Serbian: Cyrillic forms use 1251
      return (lcid == 0x0C1A || lcid == 0x1C1A || lcid == 0x201A || lcid == 0x281A || lcid == 0x301A) ? 1251
                                                                                                      : 1250;
    case 0x2C:  // Azerbaijani: Latin, Cyrillic
    case 0x43:  // Uzbek: Latin, Cyrillic
      return sub == 2 ? 1251 : 1254;
    case 0x50:  // Mongolian: Cyrillic only
      return sub == 1 ? 1251 : 0;
    case 0x59:  // Sindhi in Arabic script
      return sub == 2 ? 1256 : 0;
    default:
      return CodePageOfPrimaryLanguage(primary);
  }
}

int LcidForLocaleName(const QString& localeName) {
  QString name = localeName;
  name = name.section(u'.', 0, 0).section(u'@', 0, 0);  // drop ".UTF-8" and "@euro"
  if (name.isEmpty() || name == u"C" || name == u"POSIX" || name.startsWith(u"en_US_POSIX"))
    return kEnglishUnitedStates;
  const QByteArray latin = name.toLatin1();
  const uint32_t lcid = uloc_getLCID(latin.constData());
  if (lcid >= 0x0400 && IsValidLocale(int(lcid))) return int(lcid);
  // A language alone ("de") or an unknown country: the language's main locale.
  char likely[ULOC_FULLNAME_CAPACITY];
  UErrorCode status = U_ZERO_ERROR;
  uloc_addLikelySubtags(latin.constData(), likely, sizeof likely, &status);
  if (U_SUCCESS(status)) {
    char language[ULOC_LANG_CAPACITY];
    char country[ULOC_COUNTRY_CAPACITY];
    UErrorCode s1 = U_ZERO_ERROR, s2 = U_ZERO_ERROR;
    uloc_getLanguage(likely, language, sizeof language, &s1);
    uloc_getCountry(likely, country, sizeof country, &s2);
    if (U_SUCCESS(s1) && U_SUCCESS(s2)) {
      const QByteArray plain = QByteArray(language) + '_' + QByteArray(country);
      const uint32_t guess = uloc_getLCID(plain.constData());
      if (guess >= 0x0400 && IsValidLocale(int(guess))) return int(guess);
    }
  }
  return kEnglishUnitedStates;
}

int SystemDefaultLcid() { return LcidForLocaleName(QString::fromLatin1(uloc_getDefault())); }

QString LcidText(int lcid) {
  return QStringLiteral("0x") + QString::number(lcid, 16).toUpper().rightJustified(4, u'0');
}

QStringList InstalledLanguageList() {
  QStringList items;
  for (int lcid = 1; lcid <= 0x4000; ++lcid) {
    if (!IsValidLocale(lcid)) continue;
    const QString name = LocaleLanguageName(lcid);
    if (!name.isEmpty()) items.append(LcidText(lcid) + u' ' + name);
  }
  return items;
}
