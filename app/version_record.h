// The program's version record: name, version and legal notice, compiled
// into the program from the build's project version.
#pragma once

#include <QString>

struct VersionRecord {
  int major = 0, minor = 0, patch = 0, build = 0;  // the fixed part
  QString productName;
  QString productVersion;
  QString fileVersion;
  QString fileDescription;
  QString legalCopyright;
};

// The record of this program.
VersionRecord ProgramVersionRecord();

struct AboutTexts {
  QString version;  // "Version " + product version, at most 255 characters
  QString productName;
  QString copyright;
};

// The About box's texts from a record; false (texts untouched) unless the
// record holds a product name, a product version and a legal notice.
bool AboutTextsFrom(const VersionRecord& record, AboutTexts& texts);
