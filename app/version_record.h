// The program's version record: name, version and legal notice, compiled
// into the program from the build's project version.
#pragma once

#include <QString>

struct VersionRecord {
  int Major = 0, Minor = 0, Patch = 0, Build = 0;  // the fixed part
  QString ProductName;
  QString ProductVersion;
  QString FileVersion;
  QString FileDescription;
  QString LegalCopyright;
};

// The record of this program.
VersionRecord ProgramVersionRecord();

struct AboutTexts {
  QString Version;  // "Version " + product version, at most 255 characters
  QString ProductName;
  QString Copyright;
};

// The About box's texts from a record; false (texts untouched) unless the
// record holds a product name, a product version and a legal notice.
bool AboutTextsFrom(const VersionRecord& record, AboutTexts& texts);
