#include "support/MatchFixture.h"

#include "support/EngineEnvironment.h"

MatchFixture::MatchFixture()
    : match(EngineEnvironment::app()), keyboard(match.keyboard), game(match.game.get()) {}

void MatchFixture::step(int n) {
    for (int i = 0; i < n; ++i)
        match.step();
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
