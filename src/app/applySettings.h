#pragma once

struct Options;
struct Settings;

// The kept settings as the options' defaults, before the command line is read: an option given
// there wins for that run. The replay limit is no option; the replays folder takes it.
void applySettings(const Settings& settings, Options& options);
