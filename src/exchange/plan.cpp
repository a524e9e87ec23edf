#include "plan.h"

int Plan::actionCount() const {
    int n = 0;
    for (const Major& m : majors)
        n += static_cast<int>(m.actions.size());
    return n;
}
