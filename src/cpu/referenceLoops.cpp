#include "cpu/referenceLoops.h"

const std::vector<NamedLoop>& referenceLoops() {
    static const std::vector<NamedLoop> loops = {
        // The spinning kick's motion pressed twice, the second press 3 steps after the first.
        {"spin9", "2 2 1 1 4* 5 5 5* 5"},
        // The spinning kick's motion and nothing else.
        {"kicks", "2 1 4*"},
    };
    return loops;
}

std::optional<InputLoop> referenceLoop(const std::string& name) {
    for (const NamedLoop& loop : referenceLoops())
        if (name == loop.name)
            return InputLoop::parse(loop.text);
    return std::nullopt;
}
