#pragma once

#include <vector>

#include "anim/FrameAnimSegment.h"
#include "anim/TrackPosition.h"

// A sequence of timed values played one logic step at a time. It has no clock of its own: time
// is the number of advance() calls. A plain value: a copy continues from the same frame.
template <typename T> class FrameAnimTrack {
public:
    // Appends a segment; the cursors stay where they are.
    void addSegment(int duration, T value) {
        segments.emplace_back(duration, value);
        totalFrames += duration;
    }

    void setLoop(bool loop) { this->loop = loop; }

    // Moves on by one frame. True when a new segment became current, which includes wrapping
    // back to the first segment of a looping track. A non-looping track stepped on its last frame
    // becomes finished and keeps showing that frame.
    bool advance() {
        if (currentFrame == totalFrames - 1) {
            if (!loop) {
                finished = true;
                return false;
            }
            currentFrame = 0;
            segmentIndex = 0;
            segmentFrame = 0;
            return true;
        }
        ++currentFrame;
        if (segmentFrame == segments[segmentIndex].duration - 1) {
            segmentFrame = 0;
            ++segmentIndex;
            return true;
        }
        ++segmentFrame;
        return false;
    }

    // Only valid on a non-empty track.
    T& current() { return segments[segmentIndex].value; }
    const T& current() const { return segments[segmentIndex].value; }

    bool isFinished() const { return finished; }
    bool isEmpty() const { return segments.empty(); }
    bool loopsSingleSegment() const { return loop && segments.size() == 1; }

    TrackPosition position() const { return {currentFrame, segmentIndex, segmentFrame, finished}; }
    // A position from elsewhere (the network, a file) is refused before seek unless stepping
    // this track from its start reaches it: a frame of one of its segments, counted from the
    // start as the segments add up, and finished only on the last frame of a track that does
    // not loop. Anything else would step the track past its segments.
    bool fits(const TrackPosition& position) const {
        if (segments.empty())
            return position.currentFrame == 0 && position.segmentIndex == 0 &&
                   position.segmentFrame == 0 && !position.finished;
        if (position.segmentIndex < 0 ||
            position.segmentIndex >= static_cast<int>(segments.size()) ||
            position.segmentFrame < 0 ||
            position.segmentFrame >=
                segments[static_cast<std::size_t>(position.segmentIndex)].duration)
            return false;
        int frame = position.segmentFrame;
        for (int segment = 0; segment < position.segmentIndex; ++segment)
            frame += segments[static_cast<std::size_t>(segment)].duration;
        return position.currentFrame == frame &&
               (!position.finished || (!loop && frame == totalFrames - 1));
    }
    // Only a position taken from a track with the same segments.
    void seek(const TrackPosition& position) {
        currentFrame = position.currentFrame;
        segmentIndex = position.segmentIndex;
        segmentFrame = position.segmentFrame;
        finished = position.finished;
    }

    std::vector<FrameAnimSegment<T>> segments;
    int totalFrames = 0;
    int currentFrame = 0;
    bool loop = true;
    bool finished = false;
    int segmentIndex = 0;
    int segmentFrame = 0;
};
