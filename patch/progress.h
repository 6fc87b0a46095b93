#pragma once

#include <functional>

namespace vorlix {

// Where a long command reports its progress: the window forwards it to its
// progress bar, the command line and the tests ignore it. Either callback
// may be empty.
struct ProgressSink {
    std::function<void(int maximum)> setMaximum;
    std::function<void(int position)> setPosition;

    void Maximum(int maximum) const {
        if (setMaximum) setMaximum(maximum);
    }
    void Position(int position) const {
        if (setPosition) setPosition(position);
    }
};

}  // namespace vorlix
