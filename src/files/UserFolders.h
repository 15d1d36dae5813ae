#pragma once

#include <string>

// The game's folders among the user's, by the XDG base directory rules: settings and keys in
// $XDG_CONFIG_HOME/vorrak (~/.config/vorrak), recordings in $XDG_DATA_HOME/vorrak
// (~/.local/share/vorrak), the installed game's log in $XDG_STATE_HOME/vorrak
// (~/.local/state/vorrak). A relative variable is ignored, as the rules say. Each is empty when
// neither its variable nor HOME names a folder.
namespace UserFolders {

std::string config();
std::string data();
std::string state();

// Makes the folder and any missing above it, new ones readable by the user alone. Returns
// what went wrong, in words, or an empty string.
std::string make(const std::string& folder);

} // namespace UserFolders
