#include "app/CpuDriver.h"

#include <string>

#include <OgreLogManager.h>

#include "app/CpuSettings.h"
#include "cpu/CpuPlayer.h"
#include "match/Match.h"
#include "render/CpuLabel.h"
#include "training/TrainingPlay.h"

CpuDriver::CpuDriver(std::unique_ptr<MatchDriver> wrapped, Match& match, const CpuSettings& options)
    : inner(std::move(wrapped)), match(match), side(options.player - 1),
      player(std::make_unique<CpuPlayer>(match, side, CpuLevel::of(options.level), options.seed)),
      label(std::make_unique<CpuLabel>(side, options.level)) {
    auto* training = dynamic_cast<TrainingPlay*>(inner.get());
    lab = training != nullptr;
    if (lab)
        training->letComputerPlay(player.get());
    Ogre::LogManager::getSingleton().logMessage(
        "Computer opponent: level " + std::to_string(options.level) + " plays fighter " +
        std::to_string(options.player) + ", seed " + std::to_string(options.seed));
}

CpuDriver::~CpuDriver() = default;

bool CpuDriver::step(const StepInput& keyboard) {
    if (lab)
        return inner->step(keyboard);
    StepInput input = keyboard;
    input.players[side] = player->next(match.save());
    return inner->step(input);
}
