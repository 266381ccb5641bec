// Where the HTML Help Workshop lives: the key "InstallDir" of the section
// "[HTML Help Workshop]" in the per-user registry file of ours. Read only.
#pragma once

#include <QString>

// $XDG_CONFIG_HOME/orvex/registry.ini (default ~/.config/orvex/registry.ini).
QString RegistryFilePath();

// The folder with a trailing separator appended when missing; empty when the
// file, the section or the value is missing or empty.
QString WorkshopDirFromRegistry(const QString& registryFile);
