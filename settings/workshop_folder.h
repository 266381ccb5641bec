// Where an installed HTML Help Workshop lives: the key "InstallDir" of the
// section "[HTML Help Workshop]" in a settings file of ours, workshop.ini.
// Read only: the user writes it.
#pragma once

#include <QString>

// $XDG_CONFIG_HOME/orvex/workshop.ini (default ~/.config/orvex/workshop.ini).
// Older versions called it registry.ini: when only that file is there, it is
// renamed once to the new name; when it cannot be renamed, its path is
// given, so that it is still read.
QString WorkshopSettingsFile();

// The folder with a trailing separator appended when missing; empty when the
// file, the section or the value is missing or empty.
QString ReadWorkshopFolder(const QString& settingsFile);
