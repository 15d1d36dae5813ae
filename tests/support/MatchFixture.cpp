#include "support/MatchFixture.h"

#include "support/EngineEnvironment.h"

void MatchFixture::SetUp() {
    Application& app = EngineEnvironment::app();
    spriteManager = std::make_unique<SpriteManager>(app.getResourceDir() + "/sprites.cfg");
    game = std::make_unique<Game>();
    game->createPlayers(app.getSceneManager());
    reader1 = std::make_unique<PlayerInputReader>(&p1().history, &keyboard, false);
    reader2 = std::make_unique<PlayerInputReader>(&p2().history, &keyboard, true);
    matchTick = std::make_unique<MatchTick>();
}

void MatchFixture::TearDown() {
    matchTick.reset();
    game.reset();
    spriteManager.reset();
}

void MatchFixture::step(int n) {
    for (int i = 0; i < n; ++i) {
        reader1->update();
        reader2->update();
        matchTick->tick();
    }
}

void MatchFixture::tap(OIS::KeyCode key) {
    keyboard.press(key);
    step();
    keyboard.release(key);
}

void MatchFixture::place(float x1, float x2) {
    p1().state.position.x = x1;
    p2().state.position.x = x2;
    step();
}
