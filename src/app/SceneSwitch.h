#pragma once

#include <functional>
#include <memory>
#include <string>

#include <OgreFrameListener.h>

#include "match/MatchDriver.h"

class Scene;

// Which scene the session shows, and the change from one to the next. To the logic clock it is
// the driver: each tick steps the scene in place. A scene whose driver ends is ended and
// destroyed between two pictures, after the frame that ended it, and the director names the
// one that follows; none ends the frame loop. Without a director (the plain program) the loop
// ends with the scene, as it always did. The sound heard by one scene is given to the next.
// Owned by the Session.
class SceneSwitch : public MatchDriver, public Ogre::FrameListener {
public:
    // How a scene ended: status 0 and no words, or the exit status and the failure in words
    // (already reported to the player by the guard).
    struct Ending {
        int status = 0;
        std::string failure;
    };
    // Runs the work, reports what it threw and says how it went.
    using Guard = std::function<Ending(const std::function<void()>&)>;
    // The scene after one that ended so, or none to end the program.
    using Director = std::function<std::unique_ptr<Scene>(const Ending&)>;

    // The scene to show first; owned when given as such. With a director every step and every
    // end of a scene runs under the guard, whose failure ends the scene, not the loop.
    void begin(Scene& first, Director director = {}, Guard guard = {});
    void begin(std::unique_ptr<Scene> first, Director director, Guard guard);
    // Told after each change, before the next scene's first step.
    void onSwitch(std::function<void()> told) { switched = std::move(told); }

    bool step(const StepInput& keyboard) override;
    bool pictureChanged() const override;
    void presentTo(StepPresenter& presenter) override;

    bool frameEnded(const Ogre::FrameEvent& evt) override;

    // After the loop, with a director: the scene in place ended and destroyed; how it ended.
    Ending endLast();

    // When the loop ended without its end: a scene of its own ended and destroyed, one lent
    // only forgotten (its owner ends it).
    void release();

    Scene* current() const { return scene; }

private:
    Ending guarded(const std::function<void()>& work);
    Ending endScene();

    Scene* scene = nullptr;
    std::unique_ptr<Scene> owned;
    Director director;
    Guard guard;
    std::function<void()> switched;
    // The scene's driver ended, or failed, in this pass: it takes no more steps.
    bool ended = false;
    Ending ending;
};
