#include "render/comboCaption.h"

std::string comboCaption(const ComboState& combo) {
    if (combo.hits < 2)
        return "";
    return std::to_string(combo.hits) + " HITS " + std::to_string(combo.damage);
}
