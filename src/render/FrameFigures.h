#pragma once

// The frame loop's last second as the timing overlay shows it: the rate of its pictures, and
// the time of a logic step and of a picture (drawing and swap), mean and worst, in milliseconds.
struct FrameFigures {
    double picturesPerSecond = 0;
    double stepMeanMs = 0;
    double stepWorstMs = 0;
    double pictureMeanMs = 0;
    double pictureWorstMs = 0;
};
