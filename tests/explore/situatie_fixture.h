#pragma once

// What the Situatie's tests share: the design yard (tests/support/design_site.h) as the
// Situatie's state.

#include "design_site.h"
#include "situatie_tab.h"

#include <QTest>

namespace situatie_test {

using design_site::designStorage;
using design_site::yard;

inline explore::SituatieState yardState()
{
    explore::SituatieState state;
    state.hasSite = true;
    state.site = yard();
    return state;
}

} // namespace situatie_test
