#pragma once

#include <deque>

#include "app/FramePass.h"
#include "render/FrameFigures.h"

// The frame loop's passes of the last second, made into the timing overlay's figures. Nothing
// of it is match state. Owned by the Application, fed by the frame loop.
class FrameStats {
public:
    void add(const FramePass& pass);
    // Over the second before the last pass.
    FrameFigures figures() const;

private:
    std::deque<FramePass> recent;
};
