#pragma once

namespace Ogre {
class Overlay;
} // namespace Ogre

// "CPU 5" under the health of the fighter the computer plays, below the round wins, on an
// overlay of its own. Owned by the driver that lets the computer play.
class CpuLabel {
public:
    // side 0 is the first player's fighter.
    CpuLabel(int side, int level);
    ~CpuLabel();

    CpuLabel(const CpuLabel&) = delete;
    CpuLabel& operator=(const CpuLabel&) = delete;

private:
    Ogre::Overlay* overlay = nullptr;
};
