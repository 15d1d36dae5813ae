#pragma once

// The stage of a versus match: walls where the camera's view ends, and fighters whose bodies do
// not pass through each other. Plain arithmetic on where the bodies are; the match tick applies
// it to both fighters after they moved and before they turn, with the walls of the match's
// stage at -walls and +walls.
namespace Stage {

// The dojo's walls stand at x = -halfWidth and x = +halfWidth: where the camera's view of the
// fight line ends. A stage of another width draws the camera back or nearer in proportion, so
// that its walls stand where the view ends too (MatchView). The camera stands at (0, 80, 300) and
// looks at (0, 60, 0) with a vertical field of view of 45 degrees and the window's 4:3 shape;
// looking down a little, it sees x from -168.3 to +168.3 on the ground and from -164.6 to +164.6 at
// the top of a body box (y = 100), so a body between the walls is seen whole. A whole number, so a
// body stopped at a wall stands exactly on it.
constexpr float halfWidth = 164;

// Under the rules of fair fights each round starts with the fighters this far apart, mirror
// placed about the stage's centre (x = 0): as far apart as they always started, neither nearer
// its wall.
constexpr float startDistance = 130;
constexpr float startX(int side) {
    return side == 0 ? -startDistance / 2 : startDistance / 2;
}

// A fighter's body along the fight line: its position, and the x extent of its body boxes from
// it, mirrored already for a fighter facing left. Its edges in the world are x + left and
// x + right, summed as the hit test places boxes.
struct Body {
    float x;
    float left;
    float right;

    float worldLeft() const { return x + left; }
    float worldRight() const { return x + right; }
};

// Moves both bodies so that each is inside the walls and they no longer overlap: the step's
// movement is stopped at a wall; overlapping bodies are pushed apart along x by half the overlap
// each, and one that the push would take through a wall stops there while the other takes the
// rest. first is the first fighter, on the left when onTheLeft says so.
void keepApart(Body& first, Body& second, bool firstOnTheLeft, float walls);

// Moves the slider by distance along the fight line, but not through a wall: what the wall stops
// of it moves the other body away instead, so a fighter pushed back against a wall pushes back
// the one that pushed it.
void slideBack(Body& slider, Body& other, float distance, float walls);

} // namespace Stage
