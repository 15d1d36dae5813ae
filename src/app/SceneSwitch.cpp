#include "app/SceneSwitch.h"

#include "app/Scene.h"
#include "match/StepPresenter.h"

void SceneSwitch::begin(Scene& first, Director next, Guard reporting) {
    scene = &first;
    director = std::move(next);
    guard = std::move(reporting);
    ended = false;
    if (presenter)
        scene->driver().presentTo(*presenter);
}

void SceneSwitch::begin(std::unique_ptr<Scene> first, Director next, Guard reporting) {
    owned = std::move(first);
    begin(*owned, std::move(next), std::move(reporting));
}

bool SceneSwitch::step(const StepInput& keyboard) {
    if (ended)
        return true;
    bool goOn = true;
    ending = guarded([&] { goOn = scene->driver().step(keyboard); });
    if (!director)
        return goOn;
    ended = !goOn || ending.status != 0;
    return true;
}

bool SceneSwitch::pictureChanged() const { return !ended && scene->driver().pictureChanged(); }

void SceneSwitch::presentTo(StepPresenter& heard) {
    MatchDriver::presentTo(heard);
    if (scene)
        scene->driver().presentTo(heard);
}

// Between two pictures: the scene that ended goes, with what it loaded, before the next loads.
bool SceneSwitch::frameEnded(const Ogre::FrameEvent&) {
    if (!ended)
        return true;
    if (presenter)
        presenter->silence();
    const Ending last = endScene();
    std::unique_ptr<Scene> next = director(last);
    if (!next)
        return false;
    owned = std::move(next);
    scene = owned.get();
    ended = false;
    if (presenter)
        scene->driver().presentTo(*presenter);
    if (switched)
        switched();
    return true;
}

SceneSwitch::Ending SceneSwitch::endLast() {
    if (!scene)
        return {};
    return endScene();
}

void SceneSwitch::release() {
    if (owned)
        endScene();
    scene = nullptr;
}

// A failure of the scene's own comes first; one in its end is told only when nothing failed
// before it.
SceneSwitch::Ending SceneSwitch::endScene() {
    Ending last = ending;
    const Ending closing = guarded([this] { scene->end(); });
    if (closing.status && !last.status)
        last = closing;
    ending = {};
    scene = nullptr;
    owned.reset();
    return last;
}

SceneSwitch::Ending SceneSwitch::guarded(const std::function<void()>& work) {
    if (!guard) {
        work();
        return {};
    }
    return guard(work);
}
