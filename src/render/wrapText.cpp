#include "render/wrapText.h"

#include <algorithm>
#include <vector>

namespace {

const std::string ellipsis = "...";

} // namespace

std::string wrapText(const std::string& text, std::size_t columns, std::size_t maxLines) {
    // Room for the ellipsis and one character, whatever the caller asks.
    columns = std::max(columns, ellipsis.size() + 1);
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size() && lines.size() <= maxLines) {
        const std::size_t end = at + columns;
        if (end >= text.size()) {
            lines.push_back(text.substr(at));
            break;
        }
        const std::size_t space = text.rfind(' ', end);
        if (space != std::string::npos && space > at) {
            lines.push_back(text.substr(at, space - at));
            at = space + 1;
        } else {
            lines.push_back(text.substr(at, columns));
            at = end;
        }
    }
    if (lines.size() > maxLines) {
        lines.resize(std::max<std::size_t>(maxLines, 1));
        std::string& last = lines.back();
        last.resize(std::min(last.size(), columns - ellipsis.size()));
        last += ellipsis;
    }
    std::string wrapped;
    for (std::size_t i = 0; i < lines.size(); ++i)
        wrapped += (i > 0 ? "\n" : "") + lines[i];
    return wrapped;
}
