// The database settings file beside the launcher, and the connection string
// built from it.
#pragma once
#include <string>

#include "platform/Profile.h"

namespace launcher {

constexpr char kSettingsFileName[] = "main.ini";
constexpr char kSettingsSection[] = "database";

// The launcher's folder: the executable's path cut after its last separator.
std::string LauncherFolder();

// Joins the six keys of the "database" section, each behind its keyword, with no
// separator of the launcher's own: each value but the last carries its own ";".
// Missing file, section or keys give empty values, never an error.
std::string BuildConnectionString(const platform::ProfileFile& settings);

}  // namespace launcher
