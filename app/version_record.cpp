#include "app/version_record.h"

#include "orvex_version.h"

VersionRecord ProgramVersionRecord() {
  VersionRecord record;
  record.Major = ORVEX_VERSION_MAJOR;
  record.Minor = ORVEX_VERSION_MINOR;
  record.Patch = ORVEX_VERSION_PATCH;
  record.Build = ORVEX_VERSION_BUILD;
  record.ProductName = QString::fromUtf8(ORVEX_PRODUCT_NAME);
  record.ProductVersion = QString::fromUtf8(ORVEX_PRODUCT_VERSION);
  record.FileVersion = QString::fromUtf8(ORVEX_FILE_VERSION);
  record.FileDescription = QString::fromUtf8(ORVEX_FILE_DESCRIPTION);
  record.LegalCopyright = QString::fromUtf8(ORVEX_LEGAL_COPYRIGHT);
  return record;
}

bool AboutTextsFrom(const VersionRecord& record, AboutTexts& texts) {
  if (record.ProductName.isEmpty() || record.ProductVersion.isEmpty() || record.LegalCopyright.isEmpty())
    return false;
  texts.Version = (QStringLiteral("Version ") + record.ProductVersion).left(255);
  texts.ProductName = record.ProductName;
  texts.Copyright = record.LegalCopyright;
  return true;
}
