#pragma once

class Match;
struct Replay;

// Puts the match where the replay's steps start: the saved match it starts from (a recording
// of a match watched from its middle), or the match as started. Throws ReplayError when the
// saved match does not fit this Vorrak's character data. For every way a replay is played:
// the playback, the lab and the video export.
void loadReplayStart(Match& match, const Replay& replay);
