// The double-click guard refuses exactly the first expansion or collapse after a double-click.
#include "view/DoubleClickGuard.h"

#include <gtest/gtest.h>

#include <string>

using namespace vivu;

TEST(DoubleClickGuard, RefusesOnceAfterEachDoubleClick) {
    // d: a double-click; h: the control has finished with it; e: an expansion or collapse,
    // answered allowed (+) or refused (-).
    const struct {
        const char* events;
        const char* answers;
    } cases[] = {
        {"eee", "+++"},   {"dee", "-+"}, {"ddee", "-+"}, {"dedede", "---"},
        {"edeed", "+-+"}, {"dhe", "+"},  {"dehe", "-+"}, {"dhde", "-"},
    };
    for (const auto& c : cases) {
        DoubleClickGuard guard;
        std::string answers;
        for (const char* e = c.events; *e; ++e) {
            if (*e == 'd') guard.DoubleClicked();
            if (*e == 'h') guard.DoubleClickHandled();
            if (*e == 'e') answers += guard.AllowExpansion() ? '+' : '-';
        }
        EXPECT_EQ(answers, c.answers) << c.events;
    }
}
