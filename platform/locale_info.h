// Windows locale identifiers (LCIDs) answered from ICU: which ones exist,
// their language names and their ANSI code pages.
#pragma once

#include <QString>
#include <QStringList>

// True for a specific locale (language and country) that ICU knows by this LCID.
bool IsValidLocale(int lcid);

// "English (United States)" for 0x0409, in the language of the system's
// default locale; empty for an invalid LCID.
QString LocaleLanguageName(int lcid);

// ICU's name of the locale: "en_US" for 0x0409, "sr_Latn_RS" for 0x081A;
// empty for an LCID ICU does not know.
QString LocaleNameOf(int lcid);

// The locale's default ANSI code page: 1252 for 0x0409, 1251 for 0x0419,
// 932 for 0x0411 ...; 0 for a language whose Windows locale is Unicode-only
// (Hindi, Georgian, Armenian ...); -1 for an invalid LCID (no answer).
int LocaleAnsiCodePage(int lcid);

// The LCID of an ICU or POSIX locale name ("de_DE.UTF-8", "ru_RU", "C");
// 0x0409 for C, POSIX and names without an LCID.
int LcidForLocaleName(const QString& localeName);

// The LCID of the environment's locale (0x0409 for C/POSIX).
int SystemDefaultLcid();

// Every valid LCID from 1 to 0x4000 as "0x0409 English (United States)":
// "0x", at least four upper-case hex digits, a blank and the name.
QStringList InstalledLanguageList();

// "0x" + at least four upper-case hex digits of lcid.
QString LcidText(int lcid);
