#include "replay/loadReplayStart.h"

#include "match/Match.h"
#include "replay/Replay.h"
#include "replay/ReplayError.h"

void loadReplayStart(Match& match, const Replay& replay) {
    if (!replay.start)
        return;
    if (!match.fits(*replay.start))
        throw ReplayError("Cannot play back '" + replay.source +
                          "': the file is damaged (the match it starts from does not fit this "
                          "Vorrak's character data)");
    match.restore(*replay.start);
}
