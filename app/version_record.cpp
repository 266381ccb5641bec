#include "app/version_record.h"

#include "orvex_version.h"

VersionRecord ProgramVersionRecord() {
  VersionRecord record;
  record.major = ORVEX_VERSION_MAJOR;
  record.minor = ORVEX_VERSION_MINOR;
  record.patch = ORVEX_VERSION_PATCH;
  record.build = ORVEX_VERSION_BUILD;
  record.productName = QString::fromUtf8(ORVEX_PRODUCT_NAME);
  record.productVersion = QString::fromUtf8(ORVEX_PRODUCT_VERSION);
  record.fileVersion = QString::fromUtf8(ORVEX_FILE_VERSION);
  record.fileDescription = QString::fromUtf8(ORVEX_FILE_DESCRIPTION);
  record.legalCopyright = QString::fromUtf8(ORVEX_LEGAL_COPYRIGHT);
  return record;
}

bool AboutTextsFrom(const VersionRecord& record, AboutTexts& texts) {
  if (record.productName.isEmpty() || record.productVersion.isEmpty() || record.legalCopyright.isEmpty())
    return false;
  texts.version = (QStringLiteral("Version ") + record.productVersion).left(255);
  texts.productName = record.productName;
  texts.copyright = record.legalCopyright;
  return true;
}
