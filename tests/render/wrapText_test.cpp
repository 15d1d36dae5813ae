#include <gtest/gtest.h>

#include "render/wrapText.h"

// Lines break at spaces, a name longer than a line inside it, and what goes beyond the last
// line allowed ends in "...".
TEST(WrapText, BreaksAtSpacesThenInsideLongWordsAndCutsShortWithAnEllipsis) {
    const struct {
        const char* text;
        std::size_t columns, maxLines;
        const char* wrapped;
    } cases[] = {
        {"fits as it is", 13, 2, "fits as it is"},
        {"The match plays on.", 10, 3, "The match\nplays on."},
        {"into '/tmp/a/very/long/name.vrp' failed", 12, 5, "into\n'/tmp/a/very\n/long/name.v\nrp' failed"},
        {"one two three four five", 7, 2, "one two\nthre..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wrapText(c.text, c.columns, c.maxLines), c.wrapped) << c.text;
}
