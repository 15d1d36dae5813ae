#include "cpu/referenceLoops.h"

const std::vector<NamedLoop>& referenceLoops() {
    static const std::vector<NamedLoop> loops = {
        // The spinning kick's motion pressed twice, the second press 3 steps after the first.
        {"spin9", "2 2 1 1 4* 5 5 5* 5"},
        // The spinning kick's motion and nothing else.
        {"kicks", "2 1 4*"},
        // The hunt's best against levels 8, 7, 6 and 5 (Sora against Sora on the dojo).
        {"hunt8", "2 2 1 4* 2 2 1 4* 4+ 2 1 4* 2 2 1 1 2 2 1 1 4* 2 2 2 2 5"},
        {"hunt7", "2 2 1 4* 1 4* 2 1 4* 1 1 1 1"},
        {"hunt6", "2 2 1 1 4* 2 1+ 6 6 6 2 2 1 1 4* 2 2 1 4* 1 1 1 2 2 1 2 1 1 4* 1 4* 2 2 1 4*"},
        {"hunt5", "4 4 4 4 1 2 1 1 4* 2 6 6 6 6 1 4* 2"},
    };
    return loops;
}

std::optional<InputLoop> referenceLoop(const std::string& name) {
    for (const NamedLoop& loop : referenceLoops())
        if (name == loop.name)
            return InputLoop::parse(loop.text);
    return std::nullopt;
}
